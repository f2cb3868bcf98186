// The rotary dial on the headless backend: property checks and OnChange,
// the mouse through real message delivery (circular and linear dragging,
// steps and their 50 ms repeat), the composed pixels, auto-size, image-list
// changes, template properties and reading from a component stream.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/ControlsLibrary.h"
#include "controls/DIBContainer.h"
#include "controls/DIBDial.h"
#include "controls/DIBStandardFeatures.h"
#include "dib/DIBImageLink.h"
#include "dib/DIBImageList.h"
#include "dib/DIBImages.h"
#include "dib/DIBImagesItem.h"
#include "dib/DIBLibrary.h"
#include "dib/MemoryDIB.h"
#include "platform/headless/HeadlessWindows.h"
#include "resources/ComponentResources.h"
#include "resources/TextFormCompiler.h"
#include "resources/TextFormPrinter.h"
#include "resources/Writer.h"
#include "runtime/ClassBuilder.h"
#include "runtime/ClassRegistry.h"
#include "runtime/Stream.h"
#include "tests/support/ErrorMessage.h"
#include "toolkit/Form.h"
#include "toolkit/Toolkit.h"

namespace zelk::tests {

// A form with an image container, a dial and its image list, read from a
// component stream.
class TDialForm : public TForm {
  ZELK_CLASS(TDialForm, TForm)

  using TForm::TForm;
  TDIBImageContainer* Background = nullptr;
  TDIBDial* Knob = nullptr;
  int changes = 0;
  void KnobChange(TObject*) { ++changes; }
};

const TClassInfo& TDialForm::StaticClass() {
  static const TClassInfo info = TClassBuilder<TDialForm>("TDialForm")
                                     .Field("Background", &TDialForm::Background)
                                     .Field("Knob", &TDialForm::Knob)
                                     .Method<&TDialForm::KnobChange>("KnobChange")
                                     .Build();
  return info;
}

namespace {

constexpr TPixel kGrey = 0xFF404040;
constexpr TPixel kRed = 0xFFFF0000;
constexpr TPixel kWhite = 0xFFFFFF;

// Counts OnChange and records the position each call sees.
class TChangeLog : public TObject {
 public:
  void Changed(TObject* sender) { Positions.push_back(static_cast<TDIBDial*>(sender)->Position()); }
  std::vector<int32_t> Positions;
};

template <class T>
using TPtr = std::unique_ptr<T, TFreeObject>;

void AddPicture(TDIBImageList& list, uint16_t width, uint16_t height, TPixel pixel) {
  TAbstractSuperDIB* dib = list.DIBImages()->Add()->DIB();
  dib->SetSize(width, height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) dib->SetPixel(x, y, pixel);
  }
}

// A shown 200 x 200 form filled by an image container holding a dial with a
// grey 100 x 100 main picture (image 1) and a red 20 x 20 pointer (image 0)
// at radius 30: on 0..100 the pointer at position 0 covers (40, 10)-(59, 29).
class DialTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitializeToolkit();
    InitializeDIBLibrary();
    InitializeControlsLibrary();
    form.reset(New<TForm>(nullptr));
    form->SetColor(0xFFFFFF);
    form->SetBounds(0, 0, 200, 200);
    container = New<TDIBImageContainer>(form.get());
    container->SetParent(form.get());
    container->SetColor(0xFFFFFF);
    container->SetAlign(TAlign::alClient);
    list = New<TDIBImageList>(form.get());
    AddPicture(*list, 20, 20, kRed);
    AddPicture(*list, 100, 100, kGrey);
    dial = New<TDIBDial>(form.get());
    dial->SetParent(container);
    dial->SetPointerRadius(30);
    dial->SetDIBImageList(list);
    dial->IndexMain()->SetDIBIndex(1);
    dial->IndexPointer()->SetDIBIndex(0);
    dial->OnChange = TNotifyEvent::Bind<&TChangeLog::Changed>(&changes);
    form->Show();
    windows.Pump();
    changes.Positions.clear();
  }
  void TearDown() override {
    form.reset();
    windows.SetCapture(0);
    windows.SetFocus(0);
  }
  TNativeWindow Window() { return container->Handle(); }
  uint32_t Pixel(int32_t x, int32_t y) { return windows.PixelAt(Window(), x, y) & 0xFFFFFF; }

  platform::THeadlessWindowSystem& windows = platform::HeadlessWindows();
  TPtr<TForm> form;
  TDIBImageContainer* container = nullptr;
  TDIBImageList* list = nullptr;
  TDIBDial* dial = nullptr;
  TChangeLog changes;
};

TEST_F(DialTest, RefusedSettingsRaiseTheirMessageAndKeepTheOldValue) {
  struct Case {
    std::function<void()> Write;
    const char* Message;
  };
  const Case cases[] = {
      {[&] { dial->SetMax(0); }, "Max must be greater than min"},
      {[&] { dial->SetMin(100); }, "Min must be less than max"},
      {[&] { dial->SetPageSize(-1); }, "PageSize cannot be less than 0"},
      {[&] { dial->SetSmallChange(-1); }, "SmallChange cannot be less than 0"},
      {[&] { dial->SetPointerNumGlyphs(0); }, "PointerNumGlyphs must be at least 1"},
      {[&] { dial->SetHorizontalPixelsPerPosition(0); }, "HorizontalPixelsPerPosition must be greater than zero"},
      {[&] { dial->SetVerticalPixelsPerPosition(-1); }, "VerticalPixelsPerPosition must be greater than zero"},
      {[&] { dial->PointerAngles()->SetStart(360); }, "Start must be 0..359"},
      {[&] { dial->PointerAngles()->SetRange(0); }, "Range must be 1..360"},
      {[&] { dial->PointerAngles()->SetResolution(400); }, "Resolution must be above 0 and less than 361"},
  };
  for (const Case& c : cases) EXPECT_EQ(MessageOf<EDIBDialError>(c.Write), c.Message);
  EXPECT_EQ(dial->Min(), 0);
  EXPECT_EQ(dial->Max(), 100);
  EXPECT_EQ(dial->PageSize(), 1);
  EXPECT_EQ(dial->SmallChange(), 1);
  EXPECT_EQ(dial->PointerNumGlyphs(), 1);
  EXPECT_EQ(dial->HorizontalPixelsPerPosition(), 1.0L);
  EXPECT_EQ(dial->VerticalPixelsPerPosition(), 1.0L);
  EXPECT_TRUE(changes.Positions.empty());
}

TEST_F(DialTest, EveryPositionWriteFiresOnChangeWithTheClampedValue) {
  dial->SetPosition(0);     // unchanged: still fires
  dial->SetMax(359);
  dial->SetPosition(500);   // clamped to Max
  dial->SetPosition(80);
  dial->SetMax(50);         // drags Position down and fires
  dial->SetMin(-10);
  dial->SetPosition(-20);
  EXPECT_EQ(changes.Positions, (std::vector<int32_t>{0, 359, 80, 50, -10}));
  EXPECT_EQ(dial->Position(), -10);
}

TEST_F(DialTest, SetPositionWithoutChangeMovesAndRepaintsSilently) {
  dial->SetPositionWithoutChange(25);
  EXPECT_EQ(dial->Position(), 25);
  EXPECT_TRUE(changes.Positions.empty());
  EXPECT_NE(windows.PendingPaint(Window()), TRect{});
  dial->SetPositionWithoutChange(1000);
  EXPECT_EQ(dial->Position(), 100);
  EXPECT_TRUE(changes.Positions.empty());
}

TEST_F(DialTest, AutoSizeTakesTheMainPictureAndFollowsImageListChanges) {
  EXPECT_EQ(dial->Width(), 100);
  EXPECT_EQ(dial->Height(), 100);
  dial->SetPointerRadius(70);  // 70 + 20 div 2 = 80 fits in 100: no growth
  TPtr<TMemoryDIB> wide(New<TMemoryDIB>());
  wide->SetSize(120, 60);
  list->DIBImages()->Item(1)->SetDIB(wide.get());
  EXPECT_EQ(dial->Width(), 120);
  EXPECT_EQ(dial->Height(), 80);
  dial->IndexMain()->SetDIBIndex(-1);  // no main picture: the size stays
  EXPECT_EQ(dial->Width(), 120);
  EXPECT_EQ(dial->Height(), 80);
}

TEST_F(DialTest, TheComposedFrameShowsTheMainPictureAndThePointerAtItsAngle) {
  EXPECT_EQ(Pixel(50, 50), kGrey & 0xFFFFFF);
  EXPECT_EQ(Pixel(150, 150), kWhite);
  EXPECT_EQ(Pixel(50, 20), kRed & 0xFFFFFF);  // position 0 points up
  EXPECT_EQ(dial->PointerRect(), (TRect{40, 10, 59, 29}));
  dial->SetPosition(25);  // 90 degrees: the pointer moves right
  windows.Pump();
  EXPECT_EQ(dial->PointerRect(), (TRect{70, 40, 89, 59}));
  EXPECT_EQ(Pixel(80, 50), kRed & 0xFFFFFF);
  EXPECT_EQ(Pixel(50, 20), kGrey & 0xFFFFFF);
}

// Outside a composition the dial draws the whole of itself, whatever the
// container repainted last: the shape a feature takes covers its main picture.
TEST_F(DialTest, DrawingOutsideACompositionIsNotCutToTheLastRepaint) {
  TDIBFeatureItem* item = dial->DIBFeatures()->Add();
  item->SetFeatureClassName("TShapeableDIB");
  auto& shape = *static_cast<TShapeableDIB*>(item->Feature());
  shape.MaskLevel = 100;
  container->InvalidateRect({0, 0, 5, 5});
  windows.Pump();
  EXPECT_TRUE(shape.HitTest({50, 50}));
  EXPECT_TRUE(shape.HitTest({2, 2}));
}

TEST_F(DialTest, DeletedPicturesAreSimplyNotDrawn) {
  list->DIBImages()->Delete(0);  // the pointer; the main picture moves to 0
  EXPECT_EQ(dial->IndexPointer()->DIBIndex(), -1);
  EXPECT_EQ(dial->IndexMain()->DIBIndex(), 0);
  EXPECT_EQ(dial->PointerRect(), TRect{});
  windows.Pump();
  EXPECT_EQ(Pixel(50, 20), kGrey & 0xFFFFFF);
  list->DIBImages()->Delete(0);
  windows.Pump();
  EXPECT_EQ(Pixel(50, 50), kWhite);
  EXPECT_EQ(dial->Width(), 100);  // auto-size refused: the size stays
  windows.PressMouse(Window(), {50, 20});
  EXPECT_FALSE(dial->Dragging());  // no pointer to grab: a step
  windows.ReleaseMouse(Window(), {50, 20});
}

TEST_F(DialTest, AnIdleDialComposesNothing) {
  windows.ResetCounters();
  windows.Pump();
  windows.AdvanceClock(500);
  windows.Pump();
  EXPECT_EQ(windows.PaintsDelivered(), 0u);
  dial->SetPosition(25);
  windows.Pump();
  windows.Pump();
  EXPECT_EQ(windows.PaintsDelivered(), 1u);
}

TEST_F(DialTest, DraggingThePointerTurnsTheDialAtTheActiveOpacity) {
  dial->PointerOpacities()->SetActive(0);
  windows.PressMouse(Window(), {50, 20});
  EXPECT_TRUE(dial->Dragging());
  windows.Pump();
  EXPECT_EQ(Pixel(50, 20), kGrey & 0xFFFFFF);  // the held pointer is invisible
  windows.MoveMouse(Window(), {90, 50});        // straight right: 90 * 101 div 360
  windows.MoveMouse(Window(), {90, 50});        // an unchanged move writes again
  windows.MoveMouse(Window(), {50, 90});        // straight below
  EXPECT_EQ(changes.Positions, (std::vector<int32_t>{25, 25, 50}));
  windows.ReleaseMouse(Window(), {50, 90});
  EXPECT_FALSE(dial->Dragging());
  windows.MoveMouse(Window(), {10, 50});
  EXPECT_EQ(dial->Position(), 50);
  windows.Pump();
  EXPECT_EQ(Pixel(50, 80), kRed & 0xFFFFFF);
}

TEST_F(DialTest, APressAwayFromThePointerStepsAndRepeatsEvery50Milliseconds) {
  dial->SetPageSize(10);
  dial->SetSmallChange(2);
  changes.Positions.clear();
  // Straight right: position 25 is at the threshold, a small step.
  windows.PressMouse(Window(), {90, 50});
  EXPECT_EQ(dial->Position(), 2);
  windows.AdvanceClock(49);
  EXPECT_EQ(dial->Position(), 2);
  windows.AdvanceClock(1);
  EXPECT_EQ(dial->Position(), 4);
  windows.AdvanceClock(100);
  EXPECT_EQ(dial->Position(), 8);
  // 30 pixels below the centre (50) from 8: page steps while more than 25
  // away, then small ones, until the pointer comes to lie under the mouse
  // (at 46) and the held press becomes a drag.
  windows.MoveMouse(Window(), {50, 80});
  windows.AdvanceClock(50);
  EXPECT_EQ(dial->Position(), 18);
  windows.AdvanceClock(100);
  EXPECT_EQ(dial->Position(), 30);
  windows.AdvanceClock(1000);
  EXPECT_TRUE(dial->Dragging());
  EXPECT_FALSE(dial->IsRepeating());
  EXPECT_EQ(dial->Position(), 46);
  windows.ReleaseMouse(Window(), {50, 80});
  EXPECT_FALSE(dial->Dragging());
}

TEST_F(DialTest, LinearStyleDragsFromAnyPressByPixelsPerPosition) {
  dial->SetMouseControlStyle(TDIBDialMouseControlStyle::mcsLinear);
  dial->SetHorizontalPixelsPerPosition(2.0L);
  dial->SetVerticalPixelsPerPosition(2.0L);
  dial->SetPosition(40);
  changes.Positions.clear();
  windows.PressMouse(Window(), {10, 90});
  EXPECT_TRUE(dial->Dragging());
  windows.MoveMouse(Window(), {13, 86});  // 1.5 + 2.0: three positions up
  windows.MoveMouse(Window(), {10, 0});   // 45 up: clamped to Max
  windows.ReleaseMouse(Window(), {10, 0});
  EXPECT_EQ(changes.Positions, (std::vector<int32_t>{43, 85}));
  windows.AdvanceClock(200);
  EXPECT_EQ(dial->Position(), 85);
}

// Shift takes effect from where the pointer was when it changed, both ways.
TEST_F(DialTest, ShiftSlowsALinearDragToAQuarterFromWhereItChanged) {
  dial->SetMouseControlStyle(TDIBDialMouseControlStyle::mcsLinear);
  dial->SetPosition(40);
  changes.Positions.clear();
  windows.PressMouse(Window(), {10, 90});
  windows.MoveMouse(Window(), {10, 82});                        // 8 up: 48
  windows.MoveMouse(Window(), {10, 74}, platform::mfShift);  // 8 more at a quarter: 50
  windows.MoveMouse(Window(), {10, 72}, platform::mfShift);  // 2 more: 50.5, shown as 50
  windows.MoveMouse(Window(), {10, 70});                        // full speed again: 2 up from 50
  EXPECT_EQ(changes.Positions, (std::vector<int32_t>{48, 50, 50, 52}));
}

TEST_F(DialTest, TemplatePropertiesFollowTheBaseInOrder) {
  EXPECT_EQ(dial->TemplateProperties(),
            (std::vector<std::string>{"Width", "Height", "AutoSize", "Max", "Min", "Opacity", "PageSize",
                                      "PointerAngles", "PointerOpacities", "PointerNumGlyphs", "PointerRadius",
                                      "PointerRotate", "Position", "SmallChange", "HorizontalPixelsPerPosition",
                                      "VerticalPixelsPerPosition", "MouseControlStyle", "MouseLinearSensitivity"}));
  EXPECT_TRUE(dial->AutoSize());
  EXPECT_TRUE(dial->RepeatEnabled());
  EXPECT_EQ(dial->RepeatInterval(), 50u);
}

TEST_F(DialTest, ATemplateCarriesTheDialsSettingsToAnotherDial) {
  dial->SetMax(359);
  dial->SetMin(10);
  dial->SetPageSize(30);
  dial->SetSmallChange(3);
  dial->PointerAngles()->SetRange(270);
  dial->PointerAngles()->SetStart(225);
  dial->PointerOpacities()->SetActive(180);
  dial->PointerOpacities()->SetNormal(200);
  dial->SetPointerRotate(true);
  dial->SetPosition(200);
  dial->SetHorizontalPixelsPerPosition(2.5L);
  dial->SetVerticalPixelsPerPosition(0.5L);
  dial->SetMouseControlStyle(TDIBDialMouseControlStyle::mcsLinear);
  dial->SetMouseLinearSensitivity(TDIBDialMouseLinearSensitivity::mlsVertical);
  dial->SetOpacity(128);
  TMemoryStream stream;
  dial->SaveTemplate(stream);
  stream.SetPosition(0);
  auto* copy = New<TDIBDial>(form.get());
  copy->SetParent(container);
  copy->SetDIBImageList(list);
  copy->LoadTemplate(stream);
  EXPECT_EQ(copy->Max(), 359);
  EXPECT_EQ(copy->Min(), 10);
  EXPECT_EQ(copy->PageSize(), 30);
  EXPECT_EQ(copy->SmallChange(), 3);
  EXPECT_EQ(copy->PointerAngles()->Range(), 270);
  EXPECT_EQ(copy->PointerAngles()->Start(), 225);
  EXPECT_EQ(copy->PointerOpacities()->Active(), 180);
  EXPECT_EQ(copy->PointerOpacities()->Normal(), 200);
  EXPECT_EQ(copy->PointerRadius(), 30);
  EXPECT_TRUE(copy->PointerRotate());
  EXPECT_EQ(copy->Position(), 200);
  EXPECT_EQ(copy->HorizontalPixelsPerPosition(), 2.5L);
  EXPECT_EQ(copy->VerticalPixelsPerPosition(), 0.5L);
  EXPECT_EQ(copy->MouseControlStyle(), TDIBDialMouseControlStyle::mcsLinear);
  EXPECT_EQ(copy->MouseLinearSensitivity(), TDIBDialMouseLinearSensitivity::mlsVertical);
  EXPECT_EQ(copy->Opacity(), 128);
}

TEST(DialClass, PublishesTheDialsSettingsAndEvents) {
  const TClassInfo& info = TDIBDial::StaticClass();
  for (const char* name :
       {"Accelerator", "Align", "AutoSize", "DIBImageList", "Enabled", "Hint", "HorizontalPixelsPerPosition",
        "IndexMain", "IndexPointer", "Max", "Min", "MouseControlStyle", "MouseLinearSensitivity", "Opacity",
        "PageSize", "PointerAngles", "PointerOpacities", "PointerNumGlyphs", "PointerRadius", "PointerRotate",
        "PopupMenu", "Position", "SmallChange", "DIBTabOrder", "Tag", "VerticalPixelsPerPosition", "Visible",
        "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnChange", "OnMouseDown", "OnMouseEnter",
        "OnMouseLeave", "OnMouseMove", "OnMouseUp"}) {
    EXPECT_NE(info.FindProperty(name), nullptr) << name;
  }
  const TClassInfo& angles = TDIBDialPointerAngles::StaticClass();
  for (const char* name : {"Start", "Range", "Resolution"}) EXPECT_NE(angles.FindProperty(name), nullptr) << name;
  const TClassInfo& opacities = TDIBDialPointerOpacities::StaticClass();
  for (const char* name : {"Active", "Normal"}) EXPECT_NE(opacities.FindProperty(name), nullptr) << name;
}

constexpr const char* kDialFormText = R"(
object DialForm: TDialForm
  BorderStyle = bsNone
  ClientHeight = 100
  ClientWidth = 100
  object Background: TDIBImageContainer
    Left = 0
    Top = 0
    Width = 100
    Height = 100
    Align = alClient
    object Knob: TDIBDial
      Left = 0
      Top = 0
      Width = 100
      Height = 100
      Max = 0
      Position = 30
      PointerAngles.Range = 359
      PointerAngles.Resolution = 359.000000000000000000
      PointerOpacities.Active = 180
      PointerRadius = 10
      PointerRotate = True
      HorizontalPixelsPerPosition = 1.000000000000000000
      OnChange = KnobChange
    end
  end
end
)";

TEST(DialStream, LoadingSkipsOnChangeAndTheRangeChecksAndADialWithoutSpanPaints) {
  InitializeToolkit();
  InitializeDIBLibrary();
  InitializeControlsLibrary();
  RegisterClasses({&TDIBImageContainer::StaticClass()});
  RegisterDIBDialClass();
  static const std::vector<uint8_t> resource = CompileComponentText(kDialFormText);
  RegisterComponentResource("TDialForm", resource);
  TPtr<TDialForm> form(New<TDialForm>(nullptr));
  UnregisterComponentResource("TDialForm");
  TDIBDial& knob = *form->Knob;
  EXPECT_EQ(form->changes, 0);
  EXPECT_EQ(knob.Max(), 0);
  EXPECT_EQ(knob.Position(), 0);
  EXPECT_EQ(knob.PointerAngles()->Range(), 359);
  EXPECT_EQ(knob.PointerAngles()->Resolution(), 359.0L);
  EXPECT_EQ(knob.PointerOpacities()->Active(), 180);
  EXPECT_EQ(knob.PointerRadius(), 10);
  EXPECT_TRUE(knob.PointerRotate());
  EXPECT_EQ(knob.GetPointerAngle(), 0);

  TPtr<TDIBImageList> list(New<TDIBImageList>(nullptr));
  AddPicture(*list, 20, 20, kRed);
  AddPicture(*list, 100, 100, kGrey);
  knob.SetDIBImageList(list.get());
  knob.IndexMain()->SetDIBIndex(1);
  knob.IndexPointer()->SetDIBIndex(0);
  form->Show();
  platform::HeadlessWindows().Pump();
  EXPECT_EQ(platform::HeadlessWindows().PixelAt(form->Background->Handle(), 50, 38) & 0xFFFFFF, kRed & 0xFFFFFF);
  knob.SetPosition(5);
  EXPECT_EQ(form->changes, 1);
  knob.SetDIBImageList(nullptr);

  // A dial sizes itself by default, so turning that off must be stored.
  ASSERT_TRUE(knob.AutoSize());
  knob.SetAutoSize(false);
  TMemoryStream stream;
  TWriter(stream).WriteRootComponent(*form);
  EXPECT_NE(PrintComponentStream(stream.ToVector()).find("AutoSize = False"), std::string::npos);
}

}  // namespace
}  // namespace zelk::tests
