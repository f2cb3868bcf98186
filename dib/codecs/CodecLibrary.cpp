#include "dib/codecs/CodecLibrary.h"

namespace zelk {

TCodecLibrary::TCodecLibrary(const char* fileName) : library_(new platform::TDynamicLibrary) {
  if (!library_->Open(fileName)) error_ = library_->ErrorText();
}

}  // namespace zelk
