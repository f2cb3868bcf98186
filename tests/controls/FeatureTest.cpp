// Features: found by class name in any letter case, stored with the control
// and rebuilt when it finishes loading, and seeing the control's messages
// first: moving with snap and margin, highlighting while hovered, and a
// painted shape that lets presses outside it through.
#include <algorithm>

#include "controls/ControlsLibrary.h"
#include "controls/DIBStandardFeatures.h"
#include "platform/KeyCodes.h"
#include "platform/Region.h"
#include "resources/ComponentResources.h"
#include "resources/TextFormCompiler.h"
#include "runtime/ClassRegistry.h"
#include "runtime/DataModule.h"
#include "tests/controls/DIBControlTestSupport.h"

namespace zelk::tests {
namespace {

using Strings = std::vector<std::string>;

class DIBFeatureTest : public DIBControlTest {
 protected:
  void SetUp() override {
    DIBControlTest::SetUp();
    InitializeControlsLibrary();
  }
  template <class T>
  T* Attach(TSwatch* swatch) {
    TDIBFeatureItem* item = swatch->DIBFeatures()->Add();
    item->SetFeatureClassName(std::string(T::StaticClass().Name()));
    return static_cast<T*>(item->Feature());
  }
};

TEST_F(DIBFeatureTest, FeatureClassesAreFoundInAnyLetterCase) {
  TSwatch* swatch = AddSwatch({0, 0, 20, 20});
  TDIBFeatureItem* item = swatch->DIBFeatures()->Add();
  EXPECT_EQ(item->DisplayName(), "DIB feature");
  item->SetFeatureClassName("tmoveabledib");
  ASSERT_NE(item->Feature(), nullptr);
  EXPECT_TRUE(item->Feature()->Is<TMoveableDIB>());
  EXPECT_EQ(item->Feature()->Control(), swatch);
  EXPECT_EQ(item->Feature()->GetOwner(), swatch);
  EXPECT_EQ(item->DisplayName(), "Moveable DIB");
  try {
    item->SetFeatureClassName("TNoSuchFeature");
    FAIL();
  } catch (const EFeatureError& error) {
    EXPECT_STREQ(error.what(), "TNoSuchFeature has not been registered");
  }
  EXPECT_TRUE(item->Feature()->Is<TMoveableDIB>()) << "a refused name changes nothing";
  item->SetFeatureClassName("");
  EXPECT_EQ(item->Feature(), nullptr);
  EXPECT_EQ(FindDIBFeature("THIGHLIGHTDIB"), &THighlightDIB::StaticClass());
  EXPECT_EQ(FindDIBFeature("TDIBFeature"), nullptr);
}

// Press at (20, 20) in the container: 7 pixels do not move, 8 move 8.
TEST_F(DIBFeatureTest, DraggingMovesInWholeSnapSteps) {
  TSwatch* swatch = AddSwatch({10, 10, 50, 50});
  auto* moveable = Attach<TMoveableDIB>(swatch);
  moveable->SnapSize = 8;
  windows.MoveMouse(Window(), {20, 20});
  windows.PressMouse(Window(), {20, 20});
  ASSERT_TRUE(moveable->Moving());
  windows.MoveMouse(Window(), {27, 26});
  EXPECT_EQ(swatch->BoundsRect(), (TRect{10, 10, 50, 50}));
  windows.MoveMouse(Window(), {28, 26});
  EXPECT_EQ(swatch->BoundsRect(), (TRect{18, 10, 58, 50}));
  windows.MoveMouse(Window(), {12, 37});  // the pressed point stays under the pointer
  EXPECT_EQ(swatch->BoundsRect(), (TRect{2, 26, 42, 66}));
  windows.ReleaseMouse(Window(), {12, 37});
  EXPECT_FALSE(moveable->Moving());
  windows.MoveMouse(Window(), {40, 50});
  EXPECT_EQ(swatch->BoundsRect(), (TRect{2, 26, 42, 66}));
}

TEST_F(DIBFeatureTest, APressInsideTheBorderMarginOrWithAnotherButtonDoesNotMove) {
  TSwatch* swatch = AddSwatch({10, 10, 50, 50});
  auto* moveable = Attach<TMoveableDIB>(swatch);
  moveable->BorderSize = 4;
  for (TPoint inMargin : {TPoint{13, 30}, TPoint{30, 13}, TPoint{46, 30}, TPoint{30, 46}}) {
    windows.PressMouse(Window(), inMargin);
    EXPECT_FALSE(moveable->Moving()) << inMargin.X << "," << inMargin.Y;
    windows.ReleaseMouse(Window(), inMargin);
  }
  windows.PressMouse(Window(), {14, 14});
  EXPECT_TRUE(moveable->Moving()) << "just inside the margin";
  windows.ReleaseMouse(Window(), {14, 14});
  windows.PressMouse(Window(), {30, 30}, platform::TMouseButton::mbRight);
  EXPECT_FALSE(moveable->Moving());
  windows.ReleaseMouse(Window(), {30, 30}, platform::TMouseButton::mbRight);
}

TEST_F(DIBFeatureTest, ArrowKeysMoveBySnapSizeAlongTheAllowedAxes) {
  TSwatch* swatch = AddSwatch({10, 10, 30, 30});
  auto* moveable = Attach<TMoveableDIB>(swatch);
  moveable->SnapSize = 5;
  moveable->AllowVertical = false;
  for (uint16_t key : {vkRight, vkRight, vkLeft, vkDown, vkUp}) swatch->Perform(wmKeyDown, key);
  EXPECT_EQ(swatch->BoundsRect(), (TRect{15, 10, 35, 30}));
}

TEST_F(DIBFeatureTest, HoveringHighlightsAndLeavingRestoresTheOpacity) {
  TSwatch* swatch = AddSwatch({10, 10, 30, 30});
  swatch->SetOpacity(90);
  Attach<THighlightDIB>(swatch)->HighlightOpacity = 230;
  windows.MoveMouse(Window(), {20, 20});
  EXPECT_EQ(swatch->Opacity(), 230);
  windows.MoveMouse(Window(), {25, 22});
  EXPECT_EQ(swatch->Opacity(), 230);
  windows.MoveMouse(Window(), {60, 40});
  EXPECT_EQ(swatch->Opacity(), 90);
}

// The swatch paints its left half in the colour of its bottom-left pixel:
// that half is empty space, and a press there reaches the container.
TEST_F(DIBFeatureTest, AShapeableControlLetsPressesOutsideItsShapeThrough) {
  TSwatch* swatch = AddSwatch({10, 10, 50, 30});
  auto picture = MakePattern(40, 20, 1);
  for (int32_t y = 0; y < 20; ++y) {
    for (int32_t x = 0; x < 20; ++x) picture->SetPixel(x, y, 0xFF102030);
  }
  swatch->Picture = picture.get();
  auto* shapeable = Attach<TShapeableDIB>(swatch);
  Strings containerLog;
  struct TLogger : TObject {
    Strings* log;
    void Down(TObject*, TMouseButton, TShiftState, int32_t x, int32_t y) {
      log->push_back("container down " + std::to_string(x) + "," + std::to_string(y));
    }
  } logger;
  logger.log = &containerLog;
  container->OnMouseDown = TMouseEvent::Bind<&TLogger::Down>(&logger);

  windows.PressMouse(Window(), {15, 15});
  windows.ReleaseMouse(Window(), {15, 15});
  EXPECT_EQ(containerLog, Strings{"container down 15,15"});
  swatch->TakeLog();
  windows.PressMouse(Window(), {35, 15});
  windows.ReleaseMouse(Window(), {35, 15});
  EXPECT_EQ(containerLog.size(), 1u);
  const Strings log = swatch->TakeLog();
  EXPECT_NE(std::find(log.begin(), log.end(), "down 25,5"), log.end());
  ASSERT_NE(shapeable->Region(), nullptr);
  EXPECT_FALSE(shapeable->Region()->Contains(19, 10));
  EXPECT_TRUE(shapeable->Region()->Contains(20, 10));
}

// A control that painted nothing above the mask level has no region and
// takes every point.
TEST_F(DIBFeatureTest, TheShapeIsRebuiltOnlyWhenTheControlChanged) {
  TSwatch* swatch = AddSwatch({10, 10, 50, 30});
  auto* shapeable = Attach<TShapeableDIB>(swatch);
  shapeable->MaskLevel = 100;
  swatch->FillAlpha = 200;
  EXPECT_TRUE(shapeable->HitTest({5, 5}));
  const int paints = swatch->Paints;
  swatch->FillAlpha = 50;
  swatch->SetLeft(12);  // a pure move changes nothing
  EXPECT_TRUE(shapeable->HitTest({6, 5}));
  EXPECT_NE(shapeable->Region(), nullptr);
  EXPECT_EQ(swatch->Paints, paints);
  windows.AdvanceClock(10);
  swatch->Invalidate();
  EXPECT_TRUE(shapeable->HitTest({6, 5})) << "every pixel at or below the mask level: no region";
  EXPECT_EQ(shapeable->Region(), nullptr);
  EXPECT_EQ(swatch->Paints, paints + 1);
  EXPECT_EQ(swatch->ControlDIB(), nullptr) << "the borrowed scratch image is given back";
}

TEST_F(DIBFeatureTest, DisabledItemsSeeNoMessages) {
  TSwatch* swatch = AddSwatch({10, 10, 30, 30});
  Attach<TMoveableDIB>(swatch);
  swatch->DIBFeatures()->Item(0)->SetEnabled(false);
  swatch->Perform(wmKeyDown, vkRight);
  EXPECT_EQ(swatch->Left(), 10);
}

// --- stored features ---

class TFeatureForm : public TDataModule {
  ZELK_CLASS(TFeatureForm, TDataModule)
  explicit TFeatureForm(TComponent* owner) : TDataModule(owner) {}
  void InitializeComponent() override {
    ReadRootResources(*this, TDataModule::StaticClass(), messages::kFormResourceNotFound);
  }
  TSwatch* Knob = nullptr;
};

const TClassInfo& TFeatureForm::StaticClass() {
  static const TClassInfo info = TClassBuilder<TFeatureForm>("TFeatureForm").Field("Knob", &TFeatureForm::Knob).Build();
  return info;
}

std::string Hex(const std::vector<uint8_t>& bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (uint8_t byte : bytes) hex += {kDigits[byte >> 4], kDigits[byte & 15]};
  return hex;
}

std::vector<uint8_t> MoveableBlock(uint8_t snap) {
  std::unique_ptr<TMoveableDIB, TFreeObject> moveable(New<TMoveableDIB>(nullptr));
  moveable->SnapSize = snap;
  moveable->AllowVertical = false;
  return WriteFeatureBlock(*moveable);
}

std::unique_ptr<TFeatureForm, TFreeObject> LoadFeatureForm(const std::vector<uint8_t>& block) {
  const std::vector<uint8_t> resource = CompileComponentText(R"(
object FeatureForm: TFeatureForm
  object Box: TDIBImageContainer
    object Knob: TSwatch
      DIBFeatures = <
        item
          FeatureClassName = 'TMoveableDIB'
          FeatureParameters = 'kept as it is'
          DIBFeatureParameters = { )" + Hex(block) + R"( }
        end>
    end
  end
end
)");
  RegisterComponentResource("TFeatureForm", resource);
  struct TUnregister {
    ~TUnregister() { UnregisterComponentResource("TFeatureForm"); }
  } unregister;
  return std::unique_ptr<TFeatureForm, TFreeObject>(New<TFeatureForm>(nullptr));
}

TEST_F(DIBFeatureTest, AStoredFeatureIsRebuiltWhenTheControlFinishesLoading) {
  static const bool registered = (RegisterClasses({&TFeatureForm::StaticClass()}), true);
  (void)registered;
  auto loaded = LoadFeatureForm(MoveableBlock(8));
  TDIBFeatureItem& item = *loaded->Knob->DIBFeatures()->Item(0);
  ASSERT_NE(item.Feature(), nullptr);
  auto& moveable = static_cast<TMoveableDIB&>(*item.Feature());
  EXPECT_EQ(moveable.SnapSize, 8);
  EXPECT_FALSE(moveable.AllowVertical);
  EXPECT_EQ(moveable.Control(), loaded->Knob);
  EXPECT_TRUE(item.StoredParameters().empty());
  EXPECT_EQ(item.FeatureParameters(), "kept as it is");

  // Copying a control's features copies the settings.
  TSwatch* swatch = AddSwatch({0, 0, 10, 10});
  swatch->SetDIBFeatures(loaded->Knob->DIBFeatures());
  ASSERT_NE(swatch->DIBFeatures()->Item(0)->Feature(), nullptr);
  EXPECT_EQ(static_cast<TMoveableDIB*>(swatch->DIBFeatures()->Item(0)->Feature())->SnapSize, 8);
  EXPECT_EQ(swatch->DIBFeatures()->Item(0)->Feature()->Control(), swatch);
}

// A block that ends early, at any byte, is refused with an error; so is
// a class that is no feature.
TEST_F(DIBFeatureTest, TruncatedOrForeignBlocksAreRefused) {
  const std::vector<uint8_t> block = MoveableBlock(3);
  for (size_t length = 0; length < block.size(); ++length) {
    EXPECT_THROW(ReadFeatureBlock(std::span(block).first(length), nullptr), Exception) << length;
  }
  EXPECT_NE(ReadFeatureBlock(block, nullptr), nullptr);
  std::vector<uint8_t> foreign = block;
  const std::string name = "TMoveableDIB";
  const auto at = std::search(foreign.begin(), foreign.end(), name.begin(), name.end());
  std::copy_n("TDIBTimerXYZ", name.size(), at);
  try {
    ReadFeatureBlock(foreign, nullptr);
    FAIL();
  } catch (const EFeatureError& error) {
    EXPECT_STREQ(error.what(), "TDIBTimerXYZ has not been registered");
  }
}

}  // namespace
}  // namespace zelk::tests
