// Pictures inside component streams: a memory bitmap held by a component is
// written as "DIB.*" properties with its pixels in "DIB.Data", and reading
// the stream back gives the same pixels bit for bit, raw or RLE-compressed,
// and the same extended Scale.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "DIBStoreTestSupport.h"
#include "dib/DIBCompressorRegistry.h"
#include "dib/MemoryDIB.h"
#include "dib/RLEDIBCompressor.h"
#include "resources/Reader.h"
#include "resources/Writer.h"
#include "runtime/ClassBuilder.h"

namespace zelk::tests {
namespace {

class TPictureHolder : public TComponent {
  ZELK_CLASS(TPictureHolder, TComponent)

  explicit TPictureHolder(TComponent* owner) : TComponent(owner), dib_(New<TMemoryDIB>()) {}
  TMemoryDIB* DIB() const { return dib_.get(); }

 private:
  std::unique_ptr<TMemoryDIB, TFreeObject> dib_;
};

const TClassInfo& TPictureHolder::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TPictureHolder>("TPictureHolder").ReadOnly("DIB", &TPictureHolder::DIB).Build();
  return info;
}

using THolderPtr = std::unique_ptr<TPictureHolder, TFreeObject>;

THolderPtr MakeHolder(uint16_t width, uint16_t height) {
  THolderPtr holder(New<TPictureHolder>(nullptr));
  holder->SetName("Pictures");
  holder->DIB()->SetSize(width, height);
  const std::vector<uint8_t> pixels = tests::PictureLikePixels(width, height, 11);
  std::memcpy(holder->DIB()->Bits(), pixels.data(), pixels.size());
  holder->DIB()->SetOpacity(180);
  holder->DIB()->SetScale(100.0L / 3.0L);  // extended: no double holds it
  holder->DIB()->SetImageFilename("background.bmp");
  return holder;
}

std::vector<uint8_t> WriteStream(TPictureHolder& holder) {
  TMemoryStream stream;
  TWriter(stream).WriteRootComponent(holder);
  return stream.ToVector();
}

THolderPtr ReadStream(const std::vector<uint8_t>& bytes) {
  THolderPtr holder(New<TPictureHolder>(nullptr));
  TMemoryStream stream{std::span<const uint8_t>(bytes)};
  TReader(stream).ReadRootComponent(*holder);
  return holder;
}

bool Contains(const std::vector<uint8_t>& bytes, std::string_view text) {
  return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

class ComponentStream : public ::testing::Test {
 protected:
  void TearDown() override { SetCurrentDIBCompressor(nullptr); }
};

TEST_F(ComponentStream, PicturesRoundTripRawAndCompressedBitForBit) {
  const THolderPtr source = MakeHolder(390, 444);
  for (bool compressed : {false, true}) {
    SetCurrentDIBCompressor(compressed ? FindDIBCompressor(kRLECompressorGUIDText) : nullptr);
    const std::vector<uint8_t> bytes = WriteStream(*source);
    EXPECT_TRUE(Contains(bytes, "DIB.Data"));
    EXPECT_EQ(Contains(bytes, "DIBCMP"), compressed);
    EXPECT_TRUE(Contains(bytes, "ImageFilename"));
    EXPECT_FALSE(Contains(bytes, "MaskFilename"));

    SetCurrentDIBCompressor(nullptr);
    const THolderPtr target = ReadStream(bytes);
    TMemoryDIB& dib = *target->DIB();
    ASSERT_EQ(dib.Width(), 390);
    ASSERT_EQ(dib.Height(), 444);
    EXPECT_EQ(std::memcmp(dib.Bits(), source->DIB()->Bits(), source->DIB()->PixelByteCount()), 0);
    EXPECT_EQ(dib.Opacity(), 180);
    EXPECT_EQ(dib.Scale(), source->DIB()->Scale());
    EXPECT_EQ(dib.ImageFilename(), "background.bmp");
  }
}

// The reader names the object and the property around the stored form's error.
TEST_F(ComponentStream, AnUnknownCompressorFailsTheReadWithItsMessage) {
  const THolderPtr source = MakeHolder(64, 64);
  SetCurrentDIBCompressor(FindDIBCompressor(kRLECompressorGUIDText));
  std::vector<uint8_t> bytes = WriteStream(*source);
  const std::string_view magic = "DIBCMP";
  const auto at = std::search(bytes.begin(), bytes.end(), magic.begin(), magic.end());
  ASSERT_NE(at, bytes.end());
  at[6] ^= 0xFF;  // first GUID byte
  try {
    ReadStream(bytes);
    FAIL() << "no error";
  } catch (const EReadError& error) {
    EXPECT_NE(error.Message().find("Could not find a suitable decompressor."), std::string::npos) << error.Message();
    EXPECT_NE(error.Message().find("DIB.Data"), std::string::npos) << error.Message();
  }
}

}  // namespace
}  // namespace zelk::tests
