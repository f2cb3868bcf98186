// The product's editor as a host drives it through the module's effect
// record on the headless window system: its size, the knob showing the
// parameter, the composed picture, turning the knob, and host changes
// reaching the knob without being reported back.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "controls/DIBContainer.h"
#include "controls/DIBDial.h"
#include "dib/DIBImageLink.h"
#include "dib/DIBImageList.h"
#include "dib/DIBImages.h"
#include "dib/DIBImagesItem.h"
#include "dib/DIBSettings.h"
#include "dib/PictureSource.h"
#include "effect/FmZelk.h"
#include "effect/LibraryStart.h"
#include "effect/ZelkModule.h"
#include "platform/headless/HeadlessWindows.h"
#include "runtime/Application.h"
#include "tests/support/AllocationCounting.h"
#include "tests/support/RecordingHost.h"

namespace zelk::tests {
namespace {

constexpr int32_t kWidth = 245;
constexpr int32_t kHeight = 269;
constexpr int32_t kPointerRadius = 10;  // the knob's, as its resource sets it

// A committed picture of the product, decoded.
TLoadedPicture CommittedPicture(const std::string& name) {
  const auto root = std::filesystem::path(ZELK_SOURCE_DIR);
  return LoadPicture((root / "resources" / "pictures" / name).string());
}

class ProductEditor : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    StartLibrary();
  }
  void SetUp() override {
    module.reset(New<TZelkVSTModule>(&Application()));
    module->HostCallback = TRecordingHost::Callback();
    host = windows.CreateForeignWindow({200, 200, 800, 800});
  }
  void TearDown() override {
    module.reset();
    windows.DestroyWindow(host);
  }

  AEffect* Effect() { return &module->Effect; }
  intptr_t Dispatch(int32_t opcode, void* ptr = nullptr) { return Effect()->dispatcher(Effect(), opcode, 0, 0, ptr, 0.0f); }
  void SetParameter(float value) { Effect()->setParameter(Effect(), 0, value); }
  float GetParameter() { return Effect()->getParameter(Effect(), 0); }
  // The open editor; the test stops when it does not open.
  TFmZelk& Open() {
    if (Dispatch(effEditOpen, reinterpret_cast<void*>(host)) != 1) throw std::runtime_error("the editor did not open");
    windows.Pump();
    return *static_cast<TFmZelk*>(module->EditorForm());
  }
  std::vector<THostCall> Automations() const { return recorder.CallsOf(audioMasterAutomate); }
  // The window the user sees the editor in: the container filling the form.
  TNativeWindow EditorWindow(TFmZelk& form) { return form.Background->Handle(); }

  platform::THeadlessWindowSystem& windows = platform::HeadlessWindows();
  TRecordingHost recorder;
  std::unique_ptr<TZelkVSTModule, TFreeObject> module;
  TNativeWindow host = 0;
};

TEST_F(ProductEditor, OpensAsTheResourceDescribesWithTheKnobAtTheParameter) {
  ERect* rect = nullptr;
  EXPECT_EQ(Dispatch(effEditGetRect, &rect), 0);
  SetParameter(0.5f);
  recorder.Calls.clear();
  TFmZelk& form = Open();
  EXPECT_EQ(Dispatch(effEditGetRect, &rect), 1);
  EXPECT_EQ((std::vector<int>{rect->top, rect->left, rect->bottom, rect->right}),
            (std::vector<int>{0, 0, 269, 245}));
  EXPECT_EQ(form.Module, module.get());
  EXPECT_EQ(windows.ParentOf(form.Handle()), host);
  EXPECT_EQ(windows.BoundsOf(EditorWindow(form)), (TRect{0, 0, kWidth, kHeight}));
  EXPECT_EQ(form.Zelk->BoundsRect(), (TRect{0, 0, kWidth, kHeight}));  // client alignment over auto-size
  EXPECT_EQ(form.Zelk->Position(), 180);
  // Opening ran the parameter handler: the coefficients are those of 180 degrees.
  EXPECT_EQ(module->CosAngle.load(), -1.0f);
  EXPECT_NEAR(module->SinAngle.load(), 0.0f, 1e-7f);
  // Nothing was written or reported.
  EXPECT_TRUE(Automations().empty());
  EXPECT_EQ(GetParameter(), 0.5f);
}

TEST_F(ProductEditor, TheFormIsReadWithTheSettingsOfItsResource) {
  TFmZelk& form = Open();
  EXPECT_EQ(form.Caption(), "FmZelk");
  EXPECT_EQ(form.PixelsPerInch(), 96);
  EXPECT_EQ(form.TextHeight(), 13);
  ASSERT_NE(form.Background, nullptr);
  EXPECT_EQ(form.Background->Parent(), &form);
  EXPECT_EQ(form.Background->Align(), TAlign::alClient);
  EXPECT_EQ(form.Background->TileMethod(), TTileMethod::tmCenter);
  EXPECT_EQ(form.Background->BorderDrawPosition(), TBorderDrawPosition::bdOverControls);
  EXPECT_EQ(form.Background->IndexImage()->DIBIndex(), -1);
  TDIBDial& knob = *form.Zelk;
  EXPECT_EQ(knob.Parent(), form.Background);
  EXPECT_EQ(knob.Align(), TAlign::alClient);
  EXPECT_EQ((std::vector<int32_t>{knob.Min(), knob.Max(), knob.PointerRadius()}), (std::vector<int32_t>{0, 359, 10}));
  EXPECT_TRUE(knob.PointerRotate());
  EXPECT_EQ(knob.PointerAngles()->Range(), 359);
  EXPECT_EQ(knob.PointerAngles()->Resolution(), 359.0L);
  EXPECT_EQ(knob.PointerOpacities()->Active(), 180);
  EXPECT_EQ(knob.IndexMain()->DIBImageList(), form.DIBImageList);
  EXPECT_EQ(knob.IndexMain()->DIBIndex(), 1);
  EXPECT_EQ(knob.IndexPointer()->DIBImageList(), form.DIBImageList);
  EXPECT_EQ(knob.IndexPointer()->DIBIndex(), 0);
  EXPECT_EQ(knob.OnChange.Target(), &form);
  const TDIBImages& images = *form.DIBImageList->DIBImages();
  ASSERT_EQ(images.Count(), 2);
  EXPECT_EQ(images.Item(0)->DisplayName(), "Zelk1");
  EXPECT_EQ(images.Item(1)->DisplayName(), "ZVBack");
  EXPECT_EQ(form.DIBSettings->DIBCompressor(), "{CABA9056-7349-43A4-B010-3764FBFAC230}");
}

TEST_F(ProductEditor, TheKnobShowsTheParameterRoundedAndNeverAt360) {
  const struct {
    float Normalized;
    int32_t Position;
  } cases[] = {{0.0f, 0}, {0.25f, 90}, {90.5f / 360.0f, 90}, {91.5f / 360.0f, 92}, {1.0f, 359}};
  for (const auto& c : cases) {
    SetParameter(c.Normalized);
    recorder.Calls.clear();  // the host's own change was reported; the editor reports nothing
    TFmZelk& form = Open();
    EXPECT_EQ(form.Zelk->Position(), c.Position) << c.Normalized;
    Dispatch(effEditClose);
  }
  EXPECT_TRUE(Automations().empty());
}

// --- the editor composed pixel by pixel, without the bitmap engine ---

// The pointer picture's box at an angle: the turned picture's extent,
// rounded up and then to an even number.
int32_t TurnedExtent(long double along, long double across, int angle, bool width) {
  const long double turn = -angle * M_PI / 180.0;
  const long double cos = std::fabs(std::cos(turn)), sin = std::fabs(std::sin(turn));
  auto extent = static_cast<int32_t>(std::ceil(width ? cos * along + sin * across : sin * along + cos * across));
  return extent + extent % 2;
}

// Whole-angle steps of the turn in 1/256 pixel, rounded halves to even.
int32_t Step(double value) { return static_cast<int32_t>(std::nearbyint(value * 256.0)); }

// Where the cap's pixel at (column, row of its box, rows counted upward
// from the bottom as pictures lie in memory) comes from: at angle 0 the
// cap itself, untouched; otherwise the cap turned clockwise about its
// centre pixel, each pixel taking the source pixel its offset turned back
// lands on, cut toward zero. False: none.
bool CapSource(const TLoadedPicture& cap, int angle, int32_t column, int32_t row, int32_t boxWidth,
               int32_t boxHeight, int32_t& capX, int32_t& capY) {
  if (angle == 0) {
    capX = column;
    capY = boxHeight - 1 - row;
    return capX < cap.width && capY < cap.height;
  }
  const double radians = angle * M_PI / 180.0;
  const int32_t dx = column - boxWidth / 2, dy = row - boxHeight / 2;
  const int32_t sourceColumn = (Step(std::cos(radians)) * dx + Step(std::cos(radians + M_PI / 2)) * dy) / 256;
  const int32_t sourceRow = (Step(std::sin(radians)) * dx + Step(std::sin(radians + M_PI / 2)) * dy) / 256;
  if (std::abs(sourceColumn) >= cap.width / 2 || std::abs(sourceRow) >= cap.height / 2) return false;
  capX = cap.width / 2 + sourceColumn;
  capY = cap.height - 1 - (cap.height / 2 + sourceRow);
  return true;
}

// The background's middle, and over it the cap at the angle with its black
// keyed out, its box centred kPointerRadius pixels from the editor's centre
// towards the angle.
std::vector<uint32_t> ComposedByHand(const TLoadedPicture& back, const TLoadedPicture& cap, int angle) {
  std::vector<uint32_t> frame(static_cast<size_t>(kWidth) * kHeight);
  const int32_t left = back.width / 2 - kWidth / 2, top = back.height / 2 - kHeight / 2;
  for (int32_t y = 0; y < kHeight; ++y) {
    for (int32_t x = 0; x < kWidth; ++x) {
      frame[static_cast<size_t>(y) * kWidth + x] = back.pixels[static_cast<size_t>(y + top) * back.width + x + left];
    }
  }
  const int32_t boxWidth = TurnedExtent(cap.width, cap.height, angle, true);
  const int32_t boxHeight = TurnedExtent(cap.width, cap.height, angle, false);
  const double toCircle = (angle - 90) * M_PI / 180.0;
  const auto centreX = static_cast<int32_t>(std::nearbyint(kWidth / 2 + kPointerRadius * std::cos(toCircle)));
  const auto centreY = static_cast<int32_t>(std::nearbyint(kHeight / 2 + kPointerRadius * std::sin(toCircle)));
  const int32_t boxLeft = centreX - boxWidth / 2, boxTop = centreY - boxHeight / 2;
  for (int32_t row = 0; row < boxHeight; ++row) {
    for (int32_t column = 0; column < boxWidth; ++column) {
      int32_t capX = 0, capY = 0;
      if (!CapSource(cap, angle, column, row, boxWidth, boxHeight, capX, capY)) continue;
      const uint32_t pixel = cap.pixels[static_cast<size_t>(capY) * cap.width + capX];
      const int32_t x = boxLeft + column, y = boxTop + boxHeight - 1 - row;
      if ((pixel & 0xFFFFFFu) == 0 || x < 0 || y < 0 || x >= kWidth || y >= kHeight) continue;
      frame[static_cast<size_t>(y) * kWidth + x] = pixel;
    }
  }
  return frame;
}

// The presented editor against the two committed pictures composed by hand.
TEST_F(ProductEditor, TheComposedEditorShowsBackgroundAndKnobAtTheAngle) {
  const TLoadedPicture back = CommittedPicture("ZVBack.png"), cap = CommittedPicture("Zelk1.png");
  for (int angle : {0, 90, 181, 213, 300}) {
    SCOPED_TRACE(angle);
    SetParameter(static_cast<float>(angle) / 360.0f);
    TFmZelk& form = Open();
    // The knob's 360 positions spread over 359 degrees.
    const int32_t pointerAngle = form.Zelk->GetPointerAngle();
    EXPECT_EQ(pointerAngle, angle * 360 / 359 * 359 / 360);
    const std::vector<uint32_t> expected = ComposedByHand(back, cap, pointerAngle);
    int differing = 0;
    for (int32_t y = 0; y < kHeight; ++y) {
      for (int32_t x = 0; x < kWidth; ++x) {
        const uint32_t shown = windows.PixelAt(EditorWindow(form), x, y) | 0xFF000000u;
        if (shown != (expected[static_cast<size_t>(y) * kWidth + x] | 0xFF000000u)) ++differing;
      }
    }
    EXPECT_EQ(differing, 0);
    Dispatch(effEditClose);
  }
}

// The user turns the knob: every mouse step sets the parameter, reports
// position/360 to the host and turns the sound.
TEST_F(ProductEditor, DraggingTheKnobAutomatesTheAngle) {
  TFmZelk& form = Open();
  const TNativeWindow window = EditorWindow(form);
  const TPoint centre{kWidth / 2, kHeight / 2};
  windows.PressMouse(window, {centre.X, centre.Y - 40});  // on the cap: a drag
  recorder.Calls.clear();
  const struct {
    TPoint Offset;
    int32_t Position;
  } steps[] = {{{60, 0}, 90}, {{0, 60}, 180}, {{-60, 0}, 270}, {{60, -60}, 45}};
  std::vector<float> expected;
  for (const auto& step : steps) {
    windows.MoveMouse(window, {centre.X + step.Offset.X, centre.Y + step.Offset.Y});
    EXPECT_EQ(form.Zelk->Position(), step.Position);
    EXPECT_EQ(GetParameter(), static_cast<float>(step.Position) / 360.0f);
    expected.push_back(static_cast<float>(step.Position) / 360.0f);
  }
  windows.ReleaseMouse(window, {centre.X + 60, centre.Y - 60});
  std::vector<float> reported;
  for (const auto& call : Automations()) {
    EXPECT_EQ(call.Index, 0);
    reported.push_back(call.Opt);
  }
  EXPECT_EQ(reported, expected);
  // 45 degrees: theta = -5/8 pi.
  EXPECT_NEAR(module->CosAngle.load(), std::cos(-0.625 * M_PI), 1e-6);
  EXPECT_NEAR(module->SinAngle.load(), std::sin(-0.625 * M_PI), 1e-6);
}

// A host's content scale chooses the editor at the next opening: up to 1
// the usual one, from 2 the one of twice the size, in between the latter
// reduced; the host gets its rectangle. Values that are no scale withdraw it.
TEST_F(ProductEditor, TheHostsContentScaleChoosesTheEditorsSize) {
  const struct {
    float Scale;
    int32_t Width, Height, PointerRadius;
  } cases[] = {{2.0f, 490, 538, 20}, {1.0f, 245, 269, 10}, {1.25f, 306, 336, 13}, {1.75f, 429, 471, 18},
               {3.0f, 490, 538, 20}, {0.5f, 245, 269, 10},  {0.0f, 245, 269, 10}, {-2.0f, 245, 269, 10},
               {NAN, 245, 269, 10}};
  for (const auto& scaleCase : cases) {
    SCOPED_TRACE(scaleCase.Scale);
    EXPECT_EQ(Effect()->dispatcher(Effect(), effVendorSpecific, kContentScaleIndex, kContentScaleValue, nullptr,
                                   scaleCase.Scale),
              1);
    TFmZelk& form = Open();
    ERect* rect = nullptr;
    Dispatch(effEditGetRect, &rect);
    EXPECT_EQ((std::vector<int>{rect->bottom, rect->right}), (std::vector<int>{scaleCase.Height, scaleCase.Width}));
    EXPECT_EQ(windows.BoundsOf(EditorWindow(form)), (TRect{0, 0, scaleCase.Width, scaleCase.Height}));
    EXPECT_EQ(form.Zelk->BoundsRect(), (TRect{0, 0, scaleCase.Width, scaleCase.Height}));
    EXPECT_EQ(form.Zelk->PointerRadius(), scaleCase.PointerRadius);
    EXPECT_EQ(form.DIBImageList->DIBImages()->Count(), 2);
    Dispatch(effEditClose);
    // Other vendor calls still reach the module's handler, which has none.
    EXPECT_EQ(Effect()->dispatcher(Effect(), effVendorSpecific, kContentScaleIndex, 0, nullptr, 2.0f), 0);
  }
}

// At twice the size the composition is the 2x pictures', and the knob turns
// by the same angles for the same movements measured in usual pixels.
TEST_F(ProductEditor, AtTwiceTheSizeTheKnobTurnsAsAtTheUsualSize) {
  Effect()->dispatcher(Effect(), effVendorSpecific, kContentScaleIndex, kContentScaleValue, nullptr, 2.0f);
  TFmZelk& form = Open();
  const TNativeWindow window = EditorWindow(form);
  const TLoadedPicture back = CommittedPicture("ZVBack@2x.png");
  // The background's middle fills the window (the knob's cap is keyed black
  // away from its indicator, which points up at 0 degrees).
  const int32_t left = back.width / 2 - 490 / 2, top = back.height / 2 - 538 / 2;
  for (const TPoint point : {TPoint{3, 3}, TPoint{480, 530}, TPoint{100, 400}}) {
    EXPECT_EQ(windows.PixelAt(window, point.X, point.Y) & 0xFFFFFFu,
              back.pixels[static_cast<size_t>(top + point.Y) * back.width + left + point.X] & 0xFFFFFFu);
  }
  const TPoint centre{490 / 2, 538 / 2};
  windows.PressMouse(window, {centre.X, centre.Y - 80});
  windows.MoveMouse(window, {centre.X + 120, centre.Y});
  EXPECT_EQ(form.Zelk->Position(), 90);
  windows.MoveMouse(window, {centre.X + 120, centre.Y + 120});
  EXPECT_EQ(form.Zelk->Position(), 135);
  windows.ReleaseMouse(window, {centre.X + 120, centre.Y + 120});
}

TEST_F(ProductEditor, TheKnobFollowsTheHostAtTheNextIdleWithoutReportingIt) {
  TFmZelk& form = Open();
  SetParameter(0.25f);
  recorder.Calls.clear();
  EXPECT_EQ(form.Zelk->Position(), 0);  // the host's thread touches no window
  windows.ResetCounters();
  Dispatch(effEditIdle);
  EXPECT_EQ(form.Zelk->Position(), 90);
  EXPECT_GT(windows.PresentedPixels(), 0u);  // painted within the same idle call
  EXPECT_TRUE(recorder.Calls.empty());
  EXPECT_EQ(GetParameter(), 0.25f);
}

// Hosts call effEditIdle between the steps of a drag. The step paints what
// the knob changed; the idle call after it composes nothing, since the
// knob's own change is not shown back to it.
TEST_F(ProductEditor, TheIdleCallsBetweenDragStepsComposeNothing) {
  TFmZelk& form = Open();
  const TNativeWindow window = EditorWindow(form);
  const TPoint centre{kWidth / 2, kHeight / 2};
  windows.PressMouse(window, {centre.X, centre.Y - 40});  // on the cap: a drag
  Dispatch(effEditIdle);
  for (const TPoint offset : {TPoint{60, 0}, TPoint{0, 60}, TPoint{-60, 0}, TPoint{60, -60}}) {
    windows.ResetCounters();
    windows.MoveMouse(window, {centre.X + offset.X, centre.Y + offset.Y});
    windows.Pump();
    EXPECT_GT(windows.PresentedPixels(), 0u);
    windows.ResetCounters();
    Dispatch(effEditIdle);
    EXPECT_EQ(windows.PresentedPixels(), 0u);
  }
  windows.ReleaseMouse(window, {centre.X + 60, centre.Y - 60});
  EXPECT_EQ(form.Zelk->Position(), 45);
}

TEST_F(ProductEditor, AnIdleCallWithNothingChangedComposesNothing) {
  Open();
  Dispatch(effEditIdle);
  windows.Pump();
  windows.ResetCounters();
  for (int call = 0; call < 100; ++call) {
    Dispatch(effEditIdle);
    windows.Pump();
  }
  EXPECT_EQ(windows.PaintsDelivered(), 0u);
  EXPECT_EQ(windows.PresentedPixels(), 0u);
}

TEST_F(ProductEditor, ASecondOpenAndFreeingTheModuleLeaveNoWindow) {
  const size_t windowsBefore = windows.WindowCount();
  Open();
  const size_t windowsOfOneEditor = windows.WindowCount() - windowsBefore;
  Open();
  EXPECT_EQ(windows.WindowCount(), windowsBefore + windowsOfOneEditor);
  module.reset();
  EXPECT_EQ(windows.WindowCount(), windowsBefore);
}

TEST_F(ProductEditor, OpenCloseCyclesLeaveNoWindowTimerOrAllocation) {
  const auto cycle = [this] {
    // Every cycle alike: the press steps the knob, so the angle is set
    // again (else a later press lands on the pointer and drags).
    SetParameter(0.25f);
    TFmZelk& form = Open();
    // A press beside the cap starts the knob's repeat timer; the editor
    // closes while it runs.
    windows.PressMouse(EditorWindow(form), {2, 2});
    Dispatch(effEditIdle);
    Dispatch(effEditClose);
    windows.SetCapture(0);
    recorder.Calls = {};
  };
  // What lives as long as the process (among it the buffer of turned
  // drawing, which only a knob off zero needs) is in place after one cycle.
  cycle();
  const size_t windowsBefore = windows.WindowCount();
  const size_t timersBefore = windows.TimerCount();
  const int64_t blocksBefore = LiveAllocations();
  for (int count = 0; count < 50; ++count) cycle();
  EXPECT_EQ(windows.WindowCount(), windowsBefore);
  EXPECT_EQ(windows.TimerCount(), timersBefore);
  EXPECT_EQ(LiveAllocations(), blocksBefore);
}

}  // namespace
}  // namespace zelk::tests
