// Render8Bit into a Windows device context: the picture goes through the
// palette's lookup table into an 8-bit DIB section in a memory context and
// GDI copies it into the target, clipped at its edges; a context that is
// not 8-bit is refused. Runs under Wine in the Windows stage.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "dib/AbstractSuperDIB.h"
#include "dib/DIBTypes.h"
#include "dib/DIBRenderPalette.h"
#include "dib/MemoryDIB.h"
#include "platform/win32/DibSectionSurface.h"
#include "platform/win32/HostWindows.h"

namespace zelk::tests {
namespace {

namespace host = platform::host;

std::array<platform::TColorEntry, 256> GreyColors() {
  std::array<platform::TColorEntry, 256> colors;
  for (size_t index = 0; index < colors.size(); ++index) {
    const auto grey = static_cast<uint8_t>(index);
    colors[index] = {grey, grey, grey, 0};
  }
  return colors;
}

// Index = red >> 6: four greys for the four red quarters.
class TRedQuarters : public TRenderPalette {
 public:
  TRedQuarters() : lookup_(kLookupTableSize), colors_(GreyColors()) {
    for (size_t index = 0; index < lookup_.size(); ++index) lookup_[index] = static_cast<uint8_t>((index >> 12) >> 4);
  }
  bool HasLookupTable() const override { return true; }
  std::span<const uint8_t> LookupTable() const override { return lookup_; }
  std::span<const platform::TColorEntry> Colors() const override { return colors_; }

 private:
  std::vector<uint8_t> lookup_;
  std::array<platform::TColorEntry, 256> colors_;
};

TEST(GdiRender8Bit, DrawsThroughAnEightBitSectionIntoAnEightBitContextAndRefusesDeeperOnes) {
  std::unique_ptr<TMemoryDIB, TFreeObject> dib(TAbstractSuperDIB::CreateSize<TMemoryDIB>(3, 2));
  for (int32_t x = 0; x < 3; ++x) {
    dib->SetPixel(x, 0, TPixel(64 * x) << 16);       // red 0, 64, 128
    dib->SetPixel(x, 1, TPixel(64 * x + 64) << 16);  // red 64, 128, 192
  }
  const TRedQuarters palette;
  const uintptr_t context = host::CreateEightBitContext(4, 3, GreyColors());
  ASSERT_NE(context, 0u);
  dib->Render8Bit(context, 1, 1, 10, 10, 0, 0, palette);
  EXPECT_EQ(host::IndexOfEightBitContext(context, 0, 0), 0);  // outside: untouched
  EXPECT_EQ(host::IndexOfEightBitContext(context, 2, 1), 1);
  EXPECT_EQ(host::IndexOfEightBitContext(context, 3, 1), 2);
  EXPECT_EQ(host::IndexOfEightBitContext(context, 3, 2), 3);
  dib->Render8Bit(context, -1, -1, 3, 2, 1, 0, palette);  // clipped at the top-left
  EXPECT_EQ(host::IndexOfEightBitContext(context, 0, 0), 3);
  host::DeleteEightBitContext(context);

  auto deep = platform::DibSectionSurfaceFactory().CreateSurface(4, 4);
  try {
    dib->Render8Bit(deep->Handle(), 0, 0, 2, 2, 0, 0, palette);
    FAIL();
  } catch (const EDIBError& error) {
    EXPECT_STREQ(error.what(), "Render8Bit can only be used to blit to an 8 bit DC");
  }
}

}  // namespace
}  // namespace zelk::tests
