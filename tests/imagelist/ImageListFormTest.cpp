// A form gets its pictures, its compressor choice and its controls' image
// links from its component resource alone: stored pictures decode bit for
// bit, links named before the list attach once everything is read, files
// load only after the whole form is read, and writing the form back keeps
// all of it without touching a picture file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "ImageListTestSupport.h"
#include "dib/DIBCompressorRegistry.h"
#include "dib/RLEDIBCompressor.h"
#include "resources/Writer.h"
#include "runtime/Stream.h"

namespace zelk::tests {
namespace {

constexpr char kTemplateKey[] = "0:{0C1D2E3F-4A5B-6C7D-8E9F-A0B1C2D3E4F5}";

size_t CountOf(const std::vector<uint8_t>& bytes, std::string_view text) {
  size_t count = 0;
  for (auto at = bytes.begin(); (at = std::search(at, bytes.end(), text.begin(), text.end())) != bytes.end(); ++at) {
    ++count;
  }
  return count;
}

// The knob control comes first and names the list declared after it.
std::string FormText() {
  return R"(
object ImageListForm: TImageListForm
  object Knob: TPictureControl
    IndexMain.DIBImageList = DIBImageList
    IndexMain.DIBIndex = 1
    IndexBack.DIBImageList = DIBImageList
  end
  object DIBImageList: TDIBImageList
    DIBImages = <
      item
        DIB.Height = 2
        DIB.Width = 3
        DIB.Data = { )" + StoredPictureHex(3, 2, "") + R"( }
        DisplayName = 'Zelk1'
      end
      item
        DIB.Opacity = 200
        DIB.Data = { )" + StoredPictureHex(64, 48, kRLECompressorGUIDText) + R"( }
        DisplayName = 'ZVBack'
        TemplateFilename = ')" + kTemplateKey + R"('
      end
      item
        ImageRetrieval = irLoadOnStart
        DIB.ImageFilename = 'E:\Old\start.bmp'
        DIB.MaskFilename = 'E:\Old\start-mask.bmp'
        DisplayName = 'Start'
        OnTranslateImagePath = TranslatePath
      end
      item
        ImageRetrieval = irLoadOnDemand
        DIB.ImageFilename = 'demand.bmp'
        DisplayName = 'Demand'
      end>
    Left = 8
    Top = 8
  end
  object DIBSettings: TDIBSettings
    DIBCompressor = ')" + kRLECompressorGUIDText + R"('
  end
end
)";
}

class ImageListForm : public ::testing::Test {
 protected:
  void SetUp() override { TPictureControl::NewControlsLog = &events; }
  void TearDown() override {
    TPictureControl::NewControlsLog = nullptr;
    SetCurrentDIBCompressor(nullptr);
  }

  static void ExpectPattern(TMemoryDIB& dib, uint16_t width, uint16_t height) {
    ASSERT_EQ(dib.Width(), width);
    ASSERT_EQ(dib.Height(), height);
    const std::vector<uint8_t> pixels = PatternPixels(width, height);
    EXPECT_EQ(std::memcmp(dib.Bits(), pixels.data(), pixels.size()), 0);
  }

  TEventLog events;
  TFakePictures pictures;
};

// Links are attached once the names are resolved; loading on start waits
// for the end of the read, when the handler named after the file names is
// bound; loading on demand waits for use.
TEST_F(ImageListForm, EverythingComesFromTheResourceInItsOrder) {
  ASSERT_EQ(StoredPictureHex(64, 48, kRLECompressorGUIDText).rfind("444942434D50", 0), 0u);  // "DIBCMP"
  TFormPtr form = LoadForm(FormText());
  TDIBImages& images = *form->DIBImageList->DIBImages();
  ASSERT_EQ(images.Count(), 4);
  ExpectPattern(*images.Item(0)->DIB(), 3, 2);
  ExpectPattern(*images.Item(1)->DIB(), 64, 48);  // from an RLE block
  EXPECT_EQ(images.Item(1)->DIB()->Opacity(), 200);
  EXPECT_EQ(images.Item(1)->DisplayName(), "ZVBack");
  EXPECT_EQ(images.Item(1)->TemplateFilename(), kTemplateKey);
  EXPECT_EQ(form->DIBSettings->DIBCompressor(), kRLECompressorGUIDText);

  EXPECT_EQ(events, (TEventLog{"Knob.IndexMain 1 changed, DIBIndex 1", "Knob.IndexMain 1 changed, DIBIndex 1"}));
  EXPECT_EQ(form->Knob->IndexBack()->DIBImageList(), form->DIBImageList);

  EXPECT_EQ(pictures.Requests(), (std::vector<std::string>{"D:\\Pictures\\start.bmp", "D:\\Pictures\\start-mask.bmp"}));
  EXPECT_FALSE(images.Item(3)->ImageLoaded());
  TAbstractSuperDIB* dib = nullptr;
  ASSERT_TRUE(form->DIBImageList->GetImage(3, dib));
  EXPECT_EQ(pictures.Requests().back(), "demand.bmp");
}

TEST_F(ImageListForm, WritingTheFormBackKeepsPicturesKeysAndLinksAndLoadsNoFile) {
  TFormPtr form = LoadForm(FormText());
  const size_t requestsBefore = pictures.Requests().size();
  TMemoryStream stream;
  TWriter(stream).WriteRootComponent(*form);
  const std::vector<uint8_t> bytes = stream.ToVector();
  EXPECT_EQ(pictures.Requests().size(), requestsBefore);
  EXPECT_FALSE(form->DIBImageList->DIBImages()->Item(3)->ImageLoaded());

  EXPECT_EQ(CountOf(bytes, "TemplateFilename"), 1u);
  EXPECT_EQ(CountOf(bytes, "DIBCMP"), 2u);  // the internal pictures, with RLE; the others keep file names
  EXPECT_EQ(CountOf(bytes, "demand.bmp"), 1u);

  TFormPtr copy = LoadForm(bytes);
  TDIBImages& images = *copy->DIBImageList->DIBImages();
  ASSERT_EQ(images.Count(), 4);
  ExpectPattern(*images.Item(0)->DIB(), 3, 2);
  ExpectPattern(*images.Item(1)->DIB(), 64, 48);
  EXPECT_EQ(images.Item(1)->TemplateFilename(), kTemplateKey);
  EXPECT_EQ(copy->Knob->IndexMain()->DIBImageList(), copy->DIBImageList);
}

}  // namespace
}  // namespace zelk::tests
