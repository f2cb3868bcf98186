// The framework's editor hosting as a host drives it through the effect
// record: the rectangle, the form embedded in the host's window, idle
// repaints, closing, re-opening and freeing with the module, on the
// headless window system.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "editorhost/FormEditor.h"
#include "platform/headless/HeadlessWindows.h"
#include "tests/support/AllocationCounting.h"
#include "tests/support/TestModule.h"
#include "toolkit/Form.h"
#include "toolkit/Panel.h"
#include "toolkit/Toolkit.h"

namespace zelk::tests {
namespace {

constexpr uint32_t kTimerId = 7;

// A form that records the parameters each idle call tells it of.
class TViewForm : public TForm, public TParameterView {
 public:
  using TForm::TForm;
  std::vector<std::vector<int32_t>> Heard;
  void ParametersChanged(const TParameterSet& changed) override {
    Heard.emplace_back();
    changed.ForEach([this](int32_t index) { Heard.back().push_back(index); });
  }
};

// The module's editor handlers: a plain form of 245 x 269 with a panel, and
// a log of what the framework called.
class TEditorHandlers : public TObject {
 public:
  std::vector<std::string> Log;
  TViewForm* LastForm = nullptr;
  TPanel* LastPanel = nullptr;

  void Open(TObject*, TComponent*& gui) {
    auto* form = New<TViewForm>(nullptr);
    form->SetBounds(40, 50, 245, 269);
    form->SetBorderStyle(TFormBorderStyle::bsSizeable);
    LastPanel = New<TPanel>(form);
    LastPanel->SetBounds(10, 10, 50, 50);
    LastPanel->SetParent(form);
    LastForm = form;
    gui = form;
    Log.push_back("open");
  }
  void Close(TObject*) { Log.push_back("close"); }
  void Idle(TObject*) { Log.push_back("idle"); }
  void ParameterChange(TObject*, int32_t index, float value) {
    Log.push_back("change " + std::to_string(index) + " " + std::to_string(static_cast<int>(value)));
  }
};

class EditorHosting : public ::testing::Test {
 protected:
  void SetUp() override {
    InitializeToolkit();
    RegisterFormEditor();
    module = MakeTestModule();
    AddParameter(*module, 0.0f, 360.0f);
    AddParameter(*module, 0.0f, 10.0f);
    module->SetFlags({pfHasEditor});
    module->OnEditOpen = TGetEditorEvent::Bind<&TEditorHandlers::Open>(&handlers);
    module->OnEditClose = TNotifyEvent::Bind<&TEditorHandlers::Close>(&handlers);
    module->OnEditIdle = TNotifyEvent::Bind<&TEditorHandlers::Idle>(&handlers);
    host = windows.CreateForeignWindow({100, 100, 600, 600});
  }
  void TearDown() override {
    module.reset();
    windows.DestroyWindow(host);
  }

  intptr_t Dispatch(int32_t opcode, void* ptr = nullptr) {
    return module->Effect.dispatcher(&module->Effect, opcode, 0, 0, ptr, 0.0f);
  }
  intptr_t Open() { return Dispatch(effEditOpen, reinterpret_cast<void*>(host)); }

  platform::THeadlessWindowSystem& windows = platform::HeadlessWindows();
  TEditorHandlers handlers;
  TTestModulePtr module;
  TNativeWindow host = 0;
};

TEST_F(EditorHosting, TheRectangleIsTheOpenFormsClientSize) {
  ERect* rect = nullptr;
  EXPECT_EQ(Dispatch(effEditGetRect, &rect), 0);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ((std::vector<int>{rect->top, rect->left, rect->bottom, rect->right}), (std::vector<int>{0, 0, 0, 0}));
  ASSERT_EQ(Open(), 1);
  ERect* openRect = nullptr;
  EXPECT_EQ(Dispatch(effEditGetRect, &openRect), 1);
  EXPECT_EQ(openRect, rect);  // hosts keep the address
  EXPECT_EQ((std::vector<int>{rect->top, rect->left, rect->bottom, rect->right}),
            (std::vector<int>{0, 0, 269, 245}));
  Dispatch(effEditClose);
  EXPECT_EQ(Dispatch(effEditGetRect, &rect), 0);
  EXPECT_EQ(rect->bottom, 269);  // the last size stays
}

TEST_F(EditorHosting, OpeningEmbedsTheFormBorderlessAndShownAtTheOrigin) {
  module->SetParameterAutomated(0, 90.0f);
  module->OnParameterChange = TParameterChangeEvent::Bind<&TEditorHandlers::ParameterChange>(&handlers);
  ASSERT_EQ(Open(), 1);
  TForm* form = handlers.LastForm;
  EXPECT_EQ(module->EditorForm(), form);
  ASSERT_TRUE(form->HandleAllocated());
  EXPECT_EQ(windows.ParentOf(form->Handle()), host);
  EXPECT_EQ(windows.BoundsOf(form->Handle()), (TRect{0, 0, 245, 269}));
  EXPECT_EQ(form->BorderStyle(), TFormBorderStyle::bsNone);
  EXPECT_TRUE(windows.IsShowing(handlers.LastPanel->Handle()));
  // Each parameter once, in order, with its current value.
  EXPECT_EQ(handlers.Log, (std::vector<std::string>{"open", "change 0 90", "change 1 0"}));
}

TEST_F(EditorHosting, WithoutAFormNothingOpens) {
  module->OnEditOpen = {};
  EXPECT_EQ(Open(), 0);
  EXPECT_EQ(module->EditorForm(), nullptr);
}

TEST_F(EditorHosting, ASecondOpenClosesTheFirstForm) {
  ASSERT_EQ(Open(), 1);
  const TNativeWindow first = handlers.LastForm->Handle();
  ASSERT_EQ(Open(), 1);
  EXPECT_FALSE(windows.Exists(first));
  EXPECT_EQ(handlers.Log, (std::vector<std::string>{"open", "close", "open"}));
  EXPECT_EQ(windows.ParentOf(handlers.LastForm->Handle()), host);
}

TEST_F(EditorHosting, IdleAndCloseWithoutAnEditorChangeNothing) {
  module->SetParameterAutomated(0, 10.0f);
  EXPECT_EQ(Dispatch(effEditIdle), 0);
  EXPECT_EQ(Dispatch(effEditClose), 0);
  EXPECT_EQ(handlers.Log, (std::vector<std::string>{"close"}));
  EXPECT_EQ(module->EditorForm(), nullptr);
}

TEST_F(EditorHosting, IdleRepaintsTheWholeFormOnlyAfterAChange) {
  ASSERT_EQ(Open(), 1);
  TForm* form = handlers.LastForm;
  Dispatch(effEditIdle);  // the change made by opening is not pending
  windows.Pump();
  handlers.Log.clear();
  Dispatch(effEditIdle);
  EXPECT_TRUE(handlers.Log.empty());
  EXPECT_TRUE(windows.PendingPaint(form->Handle()).IsEmpty());

  module->Effect.setParameter(&module->Effect, 0, 0.5f);  // the host, any thread: only a flag
  EXPECT_TRUE(windows.PendingPaint(form->Handle()).IsEmpty());
  windows.ResetCounters();
  Dispatch(effEditIdle);  // invalidates, and the window system paints within the same call
  EXPECT_EQ(handlers.Log, std::vector<std::string>{"idle"});
  EXPECT_EQ(windows.PaintsDelivered(), 2u);  // the form and its panel
  EXPECT_EQ(windows.PresentedPixels(), 245u * 269u + 50u * 50u);
  Dispatch(effEditIdle);
  EXPECT_EQ(handlers.Log.size(), 1u);
}

// What the idle call after a change shows the editor: every parameter that
// others changed, never one that holds what the editor itself set through
// the parameter port; the whole form repaints unless the editor's own sets
// are all that changed.
TEST_F(EditorHosting, IdleShowsTheEditorTheChangesOfOthersOnly) {
  TParameterPort& port = *module;
  const auto hostSets = [this](int32_t index, float normalized) {
    module->Effect.setParameter(&module->Effect, index, normalized);
  };
  const struct {
    const char* Name;
    std::function<void()> Change;
    std::vector<std::vector<int32_t>> Heard;
    bool Repaints;
  } cases[] = {
      {"the editor's set", [&] { port.SetParameterFromEditor(0, 90.0f); }, {}, false},
      {"the host's set", [&] { hostSets(1, 0.5f); }, {{1}}, true},
      {"both", [&] { port.SetParameterFromEditor(0, 45.0f); hostSets(1, 0.25f); }, {{1}}, true},
      {"the host's set after the editor's", [&] { port.SetParameterFromEditor(0, 30.0f); hostSets(0, 0.5f); },
       {{0}}, true},
      {"a repaint asked for", [&] { module->RequestEditorUpdate(); }, {{0, 1}}, true},
  };
  ASSERT_EQ(Open(), 1);
  for (const auto& change : cases) {
    SCOPED_TRACE(change.Name);
    Dispatch(effEditIdle);
    windows.Pump();
    handlers.LastForm->Heard.clear();
    handlers.Log.clear();
    change.Change();
    windows.ResetCounters();
    Dispatch(effEditIdle);
    EXPECT_EQ(handlers.Log, std::vector<std::string>{"idle"});
    EXPECT_EQ(handlers.LastForm->Heard, change.Heard);
    EXPECT_EQ(windows.PresentedPixels() > 0, change.Repaints);
  }
}

// Hosts call effEditIdle many times a second; with nothing changed it must
// cost no painting at all.
TEST_F(EditorHosting, AnIdleCallWithNothingChangedComposesNothing) {
  ASSERT_EQ(Open(), 1);
  windows.Pump();
  windows.ResetCounters();
  for (int call = 0; call < 100; ++call) {
    Dispatch(effEditIdle);
    windows.Pump();
  }
  EXPECT_EQ(windows.PaintsDelivered(), 0u);
  EXPECT_EQ(windows.PresentedPixels(), 0u);
}

TEST_F(EditorHosting, FreeingTheModuleFreesAnOpenEditor) {
  ASSERT_EQ(Open(), 1);
  const TNativeWindow window = handlers.LastForm->Handle();
  module.reset();
  EXPECT_FALSE(windows.Exists(window));
  EXPECT_TRUE(windows.Exists(host));
}

TEST_F(EditorHosting, OpenCloseCyclesLeaveNoWindowTimerOrAllocation) {
  const auto cycle = [this] {
    ASSERT_EQ(Open(), 1);
    ASSERT_TRUE(handlers.LastPanel->SetTimer(kTimerId, 50));  // as a repeating knob would
    Dispatch(effEditIdle);
    windows.Pump();
    Dispatch(effEditClose);
    handlers.Log = {};
  };
  // One cycle first, so that what lives as long as the process (class
  // tables, the toolkit's state, the surface table) is in place before counting.
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
