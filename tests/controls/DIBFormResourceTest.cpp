// A form with an image container, a control, a border and an image list,
// written in the text form and compiled by zelk-resc like the product's
// editor, reads back and composes the frame the reference routines expect.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "controls/ControlsLibrary.h"
#include "controls/DIBBorder.h"
#include "dib/DIBImageLink.h"
#include "dib/DIBLibrary.h"
#include "dib/WinDIB.h"
#include "resources/ComponentResources.h"
#include "runtime/ClassBuilder.h"
#include "runtime/ClassRegistry.h"
#include "tests/controls/DIBControlTestSupport.h"
#include "toolkit/Toolkit.h"

namespace zelk::tests {
namespace {

class TComposedForm : public TForm {
  ZELK_CLASS(TComposedForm, TForm)
  using TForm::TForm;
  TDIBImageContainer* Container = nullptr;
  TSwatch* Swatch = nullptr;
  TDIBImageList* Images = nullptr;
  TDIBBorder* Border = nullptr;
};

std::string FormText(const std::string& pictures) {
  return R"(object ComposedForm: TComposedForm
  BorderStyle = bsNone
  ClientHeight = 300
  ClientWidth = 500
  object Container: TDIBImageContainer
    Left = 0
    Top = 0
    Width = 500
    Height = 300
    Color = 3368601
    DIBBorder = Border
    DIBImageList = Images
    IndexImage.DIBIndex = 1
    TileMethod = tmCenter
    BorderDrawPosition = bdOverControls
    object Swatch: TSwatch
      Left = 300
      Top = 20
      Width = 60
      Height = 40
      Opacity = 128
      DIBTabOrder = 0
    end
  end
  object Images: TDIBImageList
    DIBImages = <
      item
        DIB.Data = picture(')" + pictures + R"(/Zelk1.png')
        DisplayName = 'Zelk1'
      end
      item
        DIB.Data = picture(')" + pictures + R"(/ZVBack.png')
        DisplayName = 'ZVBack'
      end>
  end
  object Border: TDIBBorder
    DIBImageList = Images
    BorderLeft.ImageMiddle.DIBIndex = 0
  end
end
)";
}

std::vector<uint8_t> CompileWithResc(const std::string& text) {
  const auto directory = std::filesystem::temp_directory_path() / ("zelk-controls-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  std::filesystem::create_directories(directory);
  const auto source = directory / "ComposedForm.zres";
  const auto stream = directory / "ComposedForm.bin";
  std::ofstream(source) << text;
  const std::string command = "\"" ZELK_RESC_PATH "\" compile \"" + source.string() + "\" -o \"" + stream.string() + "\"";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  std::ifstream input(stream, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(input)), std::istreambuf_iterator<char>());
  std::filesystem::remove_all(directory);
  return bytes;
}

}  // namespace

const TClassInfo& TComposedForm::StaticClass() {
  static const TClassInfo info = TClassBuilder<TComposedForm>("TComposedForm")
                                     .Field("Container", &TComposedForm::Container)
                                     .Field("Swatch", &TComposedForm::Swatch)
                                     .Field("Images", &TComposedForm::Images)
                                     .Field("Border", &TComposedForm::Border)
                                     .Build();
  return info;
}

namespace {

TEST(DIBFormResource, AFormCompiledByZelkRescComposesTheExpectedFrame) {
  InitializeToolkit();
  InitializeDIBLibrary();
  InitializeControlsLibrary();
  RegisterClasses({&TSwatch::StaticClass()});
  static const std::vector<uint8_t> resource = CompileWithResc(FormText(ZELK_SOURCE_DIR "/resources/pictures"));
  ASSERT_FALSE(resource.empty());
  RegisterComponentResource("TComposedForm", resource);

  std::unique_ptr<TComposedForm, TFreeObject> form(New<TComposedForm>(nullptr));
  ASSERT_NE(form->Container, nullptr);
  ASSERT_NE(form->Swatch, nullptr);
  EXPECT_EQ(form->Swatch->Parent(), form->Container);
  EXPECT_EQ(form->Container->DIBBorder(), form->Border);
  EXPECT_EQ(form->Container->DIBTabList(), (std::vector<TCustomDIBControl*>{form->Swatch}));
  TAbstractSuperDIB* knob = nullptr;
  TAbstractSuperDIB* back = nullptr;
  ASSERT_TRUE(form->Images->GetImage(0, knob));
  auto knobCopy = MakePattern(1, 1, 0);
  knobCopy->CopyPixelsFrom(*knob);
  ASSERT_TRUE(form->Images->GetImage(1, back));
  auto backCopy = MakePattern(1, 1, 0);
  backCopy->CopyPixelsFrom(*back);
  ASSERT_EQ(knobCopy->Width(), 195);
  ASSERT_EQ(backCopy->Width(), 390);

  form->Show();
  platform::HeadlessWindows().Pump();

  const TRect whole{0, 0, 500, 300};
  TFrame expected(500, 300, ColorPixel(0x00336699));
  CopyInto(expected, *backCopy, 250 - 195, 150 - 222, whole);
  BlendInto(expected, 0xFFFF0000, 128, form->Swatch->BoundsRect(), whole);
  for (int32_t top = 0; top < 300; top += 222) CopyInto(expected, *knobCopy, 0, top, whole);
  EXPECT_EQ(Differences(expected, FrameOf(*form->Container->Buffer()), whole), "");
  UnregisterComponentResource("TComposedForm");
}

}  // namespace
}  // namespace zelk::tests
