// Streams and templates from elsewhere may name any published property of
// the dial and of the image container: such a form loads, and writes back
// the very bytes it was read from; a template carrying every property a
// template can carry loads into another dial and saves the same block.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "controls/ControlsLibrary.h"
#include "controls/DIBBorder.h"
#include "controls/DIBContainer.h"
#include "controls/DIBDial.h"
#include "dib/DIBImageList.h"
#include "dib/DIBLibrary.h"
#include "resources/ComponentResources.h"
#include "resources/TextFormCompiler.h"
#include "resources/TextFormPrinter.h"
#include "resources/Writer.h"
#include "runtime/ClassBuilder.h"
#include "runtime/Stream.h"
#include "toolkit/Toolkit.h"

namespace zelk::tests {
namespace {

// Holds one handler of every event signature the two classes publish.
class TEveryPropertyForm : public TForm {
  ZELK_CLASS(TEveryPropertyForm, TForm)
  using TForm::TForm;
  TDIBImageContainer* Container = nullptr;
  TDIBDial* Knob = nullptr;
  TDIBImageList* Images = nullptr;
  TDIBBorder* Border = nullptr;
  TPopupMenu* Menu = nullptr;

  void Notify(TObject*) {}
  void Key(TObject*, uint16_t&, TShiftState) {}
  void KeyPress(TObject*, char&) {}
  void Mouse(TObject*, TMouseButton, TShiftState, int32_t, int32_t) {}
  void MouseMove(TObject*, TShiftState, int32_t, int32_t) {}
  void Paint(TObject*, const TAbstractSuperDIB*) {}
  void ContextPopup(TObject*, TPoint, bool&) {}
  void DragDrop(TObject*, TObject*, int32_t, int32_t) {}
  void DragOver(TObject*, TObject*, int32_t, int32_t, TDragState, bool&) {}
  void EndDrag(TObject*, TObject*, int32_t, int32_t) {}
  void StartDock(TObject*, TDragDockObject*&) {}
  void StartDrag(TObject*, TDragObject*&) {}
  void CanResize(TObject*, int32_t&, int32_t&, bool&) {}
  void ConstrainedResize(TObject*, int32_t&, int32_t&, int32_t&, int32_t&) {}
  void DockDrop(TObject*, TDragDockObject*, int32_t, int32_t) {}
  void DockOver(TObject*, TDragDockObject*, int32_t, int32_t, TDragState, bool&) {}
  void GetSiteInfo(TObject*, TControl*, TRect&, TPoint, bool&) {}
  void UnDock(TObject*, TControl*, TWinControl*, bool&) {}
};

// Every published property with a value other than its default, in the
// order the classes write them.
std::string EveryPropertyText() {
  std::ifstream input(ZELK_SOURCE_DIR "/tests/controls/EveryProperty.zres");
  return {std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> Written(TComponent& root) {
  TMemoryStream stream;
  TWriter(stream).WriteRootComponent(root);
  const uint8_t* bytes = stream.Memory();
  return {bytes, bytes + stream.Size()};
}

class PublishedPropertiesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitializeToolkit();
    InitializeDIBLibrary();
    InitializeControlsLibrary();
    const std::string text = EveryPropertyText();
    ASSERT_FALSE(text.empty());
    stream_ = CompileComponentText(text);
    RegisterComponentResource("TEveryPropertyForm", stream_);
    form_.reset(New<TEveryPropertyForm>(nullptr));
  }
  void TearDown() override {
    form_.reset();
    UnregisterComponentResource("TEveryPropertyForm");
  }

  std::vector<uint8_t> stream_;
  std::unique_ptr<TEveryPropertyForm, TFreeObject> form_;
};

TEST_F(PublishedPropertiesTest, AStreamNamingEveryPropertyLoadsAndWritesBackByteForByte) {
  ASSERT_NE(form_->Knob, nullptr);
  const std::vector<uint8_t> written = Written(*form_);
  EXPECT_EQ(PrintComponentStream(written), PrintComponentStream(stream_));
  EXPECT_EQ(written, stream_);
}

// The template carries every published property of a kind a template can
// hold; the dial that loads it saves the same images, links and values.
class TEveryPropertyDial : public TDIBDial {
  ZELK_CLASS(TEveryPropertyDial, TDIBDial)

  explicit TEveryPropertyDial(TComponent* owner) : TDIBDial(owner) {
    for (const TPropInfo* property : StaticClass().Properties()) {
      if (property->Name == "Name" || IsTemplated(property->Name)) continue;
      try {
        AddTemplateProperty(property->Name);
      } catch (const EDIBControlError&) {
        // Events, references and empty objects are no template values.
      }
    }
  }

 private:
  bool IsTemplated(const std::string& name) const {
    for (const std::string& known : TemplateProperties()) {
      if (known == name) return true;
    }
    return false;
  }
};

TEST_F(PublishedPropertiesTest, ATemplateOfEveryTemplatablePropertyLoadsAndSavesTheSameBlock) {
  const auto save = [](TEveryPropertyDial& dial) {
    TMemoryStream stream;
    dial.SaveTemplate(stream);
    const uint8_t* bytes = stream.Memory();
    // The identity is new with every template.
    return std::vector<uint8_t>(bytes + 16, bytes + stream.Size());
  };
  auto* source = New<TEveryPropertyDial>(form_->Container);
  auto* target = New<TEveryPropertyDial>(form_->Container);
  ASSERT_GT(source->TemplateProperties().size(), 30u);
  // The source takes the loaded knob's values.
  for (const std::string& name : source->TemplateProperties()) {
    const TPropInfo* property = TDIBDial::StaticClass().FindProperty(name);
    property->Set(*source, property->Get(*form_->Knob));
  }
  source->SetDIBImageList(form_->Images);
  target->SetDIBImageList(form_->Images);
  TMemoryStream block;
  source->SaveTemplate(block);
  block.SetPosition(0);
  target->LoadTemplate(block);
  EXPECT_EQ(save(*target), save(*source));
}

}  // namespace

const TClassInfo& TEveryPropertyForm::StaticClass() {
  using T = TEveryPropertyForm;
  static const TClassInfo info = TClassBuilder<T>("TEveryPropertyForm")
                                     .Field("Container", &T::Container)
                                     .Field("Knob", &T::Knob)
                                     .Field("Images", &T::Images)
                                     .Field("Border", &T::Border)
                                     .Field("Menu", &T::Menu)
                                     .Method<&T::Notify>("Notify")
                                     .Method<&T::Key>("Key")
                                     .Method<&T::KeyPress>("KeyPress")
                                     .Method<&T::Mouse>("Mouse")
                                     .Method<&T::MouseMove>("MouseMove")
                                     .Method<&T::Paint>("Paint")
                                     .Method<&T::ContextPopup>("ContextPopup")
                                     .Method<&T::DragDrop>("DragDrop")
                                     .Method<&T::DragOver>("DragOver")
                                     .Method<&T::EndDrag>("EndDrag")
                                     .Method<&T::StartDock>("StartDock")
                                     .Method<&T::StartDrag>("StartDrag")
                                     .Method<&T::CanResize>("CanResize")
                                     .Method<&T::ConstrainedResize>("ConstrainedResize")
                                     .Method<&T::DockDrop>("DockDrop")
                                     .Method<&T::DockOver>("DockOver")
                                     .Method<&T::GetSiteInfo>("GetSiteInfo")
                                     .Method<&T::UnDock>("UnDock")
                                     .Build();
  return info;
}

const TClassInfo& TEveryPropertyDial::StaticClass() {
  static const TClassInfo info = TClassBuilder<TEveryPropertyDial>("TEveryPropertyDial").Build();
  return info;
}

}  // namespace zelk::tests
