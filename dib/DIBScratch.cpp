#include "dib/DIBScratch.h"

#include "runtime/ClassBuilder.h"

namespace zelk {

const TClassInfo& TScratchDIB::StaticClass() {
  static const TClassInfo info = TClassBuilder<TScratchDIB>("TScratchDIB").Build();
  return info;
}

TScratchDIB::~TScratchDIB() { ReleaseBits(); }

void TScratchDIB::AllocateBits() {
  pixels_.reset(new uint8_t[PixelBufferSize()]());
  SetBitsPointer(pixels_.get());
}

void TScratchDIB::FreeBits() {
  SetBitsPointer(nullptr);
  pixels_.reset();
}

}  // namespace zelk
