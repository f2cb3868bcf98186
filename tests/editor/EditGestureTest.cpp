// Every gesture on the product's knob reaches the host as BeginEdit, the
// automation of each change, EndEdit, once each, also when cut short; the
// wheel, fine drag, double click and keys with their exact values.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "controls/DIBContainer.h"
#include "controls/DIBDial.h"
#include "effect/FmZelk.h"
#include "effect/LibraryStart.h"
#include "effect/ZelkModule.h"
#include "platform/KeyCodes.h"
#include "platform/headless/HeadlessWindows.h"
#include "runtime/Application.h"
#include "tests/support/RecordingHost.h"
#include "toolkit/HintWindow.h"

namespace zelk::tests {
namespace {

constexpr TPoint kCentre{245 / 2, 269 / 2};
constexpr TPoint kOnCap{kCentre.X, kCentre.Y - 40};  // the knob at 0: a press here drags
constexpr TPoint kBesideCap{2, 2};                   // a press here steps and repeats
constexpr uint32_t kShift = platform::mfShift;

class EditGestures : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { StartLibrary(); }
  void SetUp() override {
    module.reset(New<TZelkVSTModule>(&Application()));
    module->HostCallback = TRecordingHost::Callback();
    host = windows.CreateForeignWindow({200, 200, 800, 800});
    other = windows.CreateForeignWindow({0, 0, 10, 10});
    if (Dispatch(effEditOpen, reinterpret_cast<void*>(host)) != 1) throw std::runtime_error("no editor");
    windows.Pump();
    form = static_cast<TFmZelk*>(module->EditorForm());
    recorder.Calls.clear();
  }
  void TearDown() override {
    module.reset();
    windows.SetCapture(0);
    if (windows.Exists(host)) windows.DestroyWindow(host);
    windows.DestroyWindow(other);
  }

  intptr_t Dispatch(int32_t opcode, void* ptr = nullptr) {
    return module->Effect.dispatcher(&module->Effect, opcode, 0, 0, ptr, 0.0f);
  }
  TNativeWindow Window() { return form->Background->Handle(); }
  // The host's view: "begin", "end" and each automated value in degrees
  // ("a90" for 90/360).
  std::vector<std::string> Trace() const {
    std::vector<std::string> trace;
    char text[32];
    for (const THostCall& call : recorder.Calls) {
      std::snprintf(text, sizeof text, "a%g", static_cast<double>(call.Opt) * 360.0);
      if (call.Opcode == audioMasterBeginEdit || call.Opcode == audioMasterEndEdit) {
        trace.push_back(call.Opcode == audioMasterBeginEdit ? "begin" : "end");
      } else if (call.Opcode == audioMasterAutomate) {
        trace.push_back(text);
      }
    }
    return trace;
  }

  platform::THeadlessWindowSystem& windows = platform::HeadlessWindows();
  TRecordingHost recorder;
  std::unique_ptr<TZelkVSTModule, TFreeObject> module;
  TFmZelk* form = nullptr;
  TNativeWindow host = 0;
  TNativeWindow other = 0;
};

using TTrace = std::vector<std::string>;

TEST_F(EditGestures, ADragIsOneGestureFromPressToReleaseShowingTheAngleAsAHint) {
  windows.SetFocus(host);
  windows.PressMouse(Window(), kOnCap);
  EXPECT_EQ(Trace(), (TTrace{"begin"}));  // hosts show the touched parameter from the press on
  windows.MoveMouse(Window(), {kCentre.X + 60, kCentre.Y});
  EXPECT_TRUE(form->Zelk->ValueHintShown());
  EXPECT_EQ(form->Zelk->Hint(), "90.0 \u00B0");
  EXPECT_TRUE(ApplicationHintWindow().Active());
  EXPECT_EQ(ApplicationHintWindow().Caption(), "90.0 \u00B0");
  windows.ReleaseMouse(Window(), {kCentre.X, kCentre.Y + 60});
  EXPECT_EQ(Trace(), (TTrace{"begin", "a90", "end"}));  // the release is no move
  EXPECT_EQ(windows.FocusWindow(), host);  // the keys stay with the host
  EXPECT_FALSE(form->Zelk->ValueHintShown());
  EXPECT_FALSE(ApplicationHintWindow().Active());
  EXPECT_EQ(form->Zelk->Hint(), "90.0 \u00B0");  // for the hover
}

TEST_F(EditGestures, AHeldStepIsOneGestureOverItsRepeats) {
  windows.PressMouse(Window(), kBesideCap);
  windows.AdvanceClock(100);  // two repeats of 50 ms
  windows.ReleaseMouse(Window(), kBesideCap);
  windows.AdvanceClock(100);
  // Beside the cap (about 315 degrees, over a quarter away): page steps of one up.
  EXPECT_EQ(Trace(), (TTrace{"begin", "a1", "a2", "a3", "end"}));
}

TEST_F(EditGestures, EachWheelNotchKeyAndResetIsAGestureOfItsOwn) {
  windows.TurnWheel(Window(), kCentre, 120);        // one notch away: one degree up
  windows.TurnWheel(Window(), kCentre, 240);        // two notches
  windows.TurnWheel(Window(), kCentre, -120);       // toward the user: down
  windows.TurnWheel(Window(), kCentre, 120, kShift);  // Shift: a tenth
  EXPECT_EQ(Trace(), (TTrace{"begin", "a1", "end", "begin", "a3", "end", "begin", "a2", "end", "begin", "a2.1", "end"}));
  EXPECT_EQ(form->Zelk->Position(), 2);  // the knob shows whole degrees
  recorder.Calls.clear();
  windows.SetFocus(Window());  // the focus arrives by Tab: the knob is active
  const struct { uint16_t Key; const char* Value; } keys[] = {
      {vkRight, "a3.1"}, {vkUp, "a4.1"}, {vkDown, "a3.1"}, {vkLeft, "a2.1"}, {vkPrior, "a17.1"},
      {vkNext, "a2.1"},  {vkEnd, "a359"}, {vkNext, "a344"}, {vkHome, "a0"}};
  TTrace expected;
  for (const auto& key : keys) {
    windows.PressKey(key.Key);
    windows.ReleaseKey(key.Key);
    expected.insert(expected.end(), {"begin", key.Value, "end"});
  }
  EXPECT_EQ(Trace(), expected);
  // A double click anywhere on the knob resets it to the parameter's default.
  windows.TurnWheel(Window(), kCentre, 1200);
  recorder.Calls.clear();
  for (int click = 0; click < 2; ++click) {
    windows.PressMouse(Window(), kOnCap);
    windows.ReleaseMouse(Window(), kOnCap);
  }
  EXPECT_EQ(Trace(), (TTrace{"begin", "end", "begin", "a0", "end"}));
}

TEST_F(EditGestures, ShiftSlowsADragToAQuarterOfThePointersTurn) {
  windows.PressMouse(Window(), kOnCap);
  windows.MoveMouse(Window(), {kCentre.X + 60, kCentre.Y}, kShift);  // a quarter turn, in the 359-degree sweep
  EXPECT_NEAR(form->Zelk->ExactPosition(), 22.5 * 360.0 / 359.0, 1e-9);
  EXPECT_EQ(form->Zelk->Position(), 23);
  windows.MoveMouse(Window(), {kCentre.X, kCentre.Y - 60}, kShift);  // back to the top
  windows.MoveMouse(Window(), {kCentre.X + 60, kCentre.Y});  // without Shift the knob follows the pointer again
  EXPECT_EQ(Trace().back(), "a90");
}

// However a gesture is cut short, the host hears its end exactly once.
TEST_F(EditGestures, AGestureCutShortStillEndsOnce) {
  const struct { const char* Name; std::function<void()> Cut; } cuts[] = {
      {"capture lost", [this] { windows.SetCapture(other); }},
      {"editor closed", [this] { Dispatch(effEditClose); }},
      {"host window destroyed", [this] { windows.DestroyWindow(host); }},
      {"module closed", [this] { module.reset(); }},
  };
  for (const auto& cut : cuts) {
    SCOPED_TRACE(cut.Name);
    TearDown();
    SetUp();
    windows.PressMouse(Window(), kOnCap);
    windows.MoveMouse(Window(), {kCentre.X + 60, kCentre.Y});
    cut.Cut();
    if (module) {
      Dispatch(effEditClose);  // the host goes on as usual
      module.reset();
    }
    windows.ReleaseMouse(other, {0, 0});
    windows.AdvanceClock(200);
    EXPECT_EQ(Trace(), (TTrace{"begin", "a90", "end"}));
  }
}

}  // namespace
}  // namespace zelk::tests
