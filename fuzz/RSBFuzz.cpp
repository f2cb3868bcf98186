// Feeds arbitrary bytes to the RSB reader. Reading may fail with an exception
// but must never crash, read past the input, allocate more than the input
// backs, or change the bitmap when it fails. A picture that loads must have
// the header's size, end its progress at 100, and come back from a save and a
// second load with the same stored bytes (the first save already quantised it).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "dib/DIBRSBFormat.h"
#include "dib/MemoryDIB.h"
#include "runtime/Stream.h"

namespace {

using zelk::TMemoryDIB;
using TDIBPtr = std::unique_ptr<TMemoryDIB, zelk::TFreeObject>;

constexpr uint8_t kBefore = 0x5A;

class TLastProgress : public zelk::TObject {
 public:
  void Progress(zelk::TObject*, int32_t percent) {
    if (percent < 0 || percent > 100 || percent < last) std::abort();
    last = percent;
  }
  int32_t last = -1;
};

uint32_t HeaderField(const uint8_t* data, int index) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | data[index * 4 + i];
  return value;
}

std::vector<uint8_t> Save(TMemoryDIB& dib) {
  zelk::TDIBRSBFormat format;
  format.SetDIB(&dib);
  zelk::TMemoryStream stream;
  format.SaveToStream(stream);
  return stream.ToVector();
}

void CheckUnchanged(const TMemoryDIB& dib) {
  if (dib.Width() != 3 || dib.Height() != 2) std::abort();
  for (uint64_t i = 0; i < dib.PixelByteCount(); ++i) {
    if (dib.Bits()[i] != kBefore) std::abort();
  }
}

void CheckLoaded(TMemoryDIB& dib, const uint8_t* data, int32_t lastProgress) {
  if (dib.Width() != HeaderField(data, 1) || dib.Height() != HeaderField(data, 2)) std::abort();
  if (lastProgress != 100) std::abort();
  const std::vector<uint8_t> saved = Save(dib);
  TDIBPtr again(zelk::New<TMemoryDIB>());
  zelk::TDIBRSBFormat format;
  format.SetDIB(again.get());
  zelk::TReadOnlyMemoryStream stream(saved);
  format.LoadFromStream(stream);
  if (Save(*again) != saved) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TDIBPtr dib(zelk::New<TMemoryDIB>());
  dib->SetSize(3, 2);
  std::memset(dib->Bits(), kBefore, dib->PixelByteCount());
  TLastProgress progress;
  zelk::TDIBRSBFormat format;
  format.SetDIB(dib.get());
  format.OnProgress = zelk::TDIBProgressEvent::Bind<&TLastProgress::Progress>(&progress);
  // A copy of exactly the input, so that any read past its end is caught.
  const std::vector<uint8_t> input(data, data + size);
  zelk::TReadOnlyMemoryStream stream(input);
  try {
    format.LoadFromStream(stream);
  } catch (const zelk::Exception&) {
    CheckUnchanged(*dib);
    return 0;
  }
  CheckLoaded(*dib, input.data(), progress.last);
  return 0;
}
