// Keys go to the focused window. Tab and Shift+Tab move the focus through
// the tab order (skipping controls that cannot take it) unless the focused
// control's dialog code claims them; the form may preview keys; Alt with a
// character is offered to every control as an accelerator.
#include "tests/toolkit/ToolkitTestSupport.h"

#include "platform/KeyCodes.h"
#include "runtime/Exceptions.h"
#include "toolkit/Panel.h"

namespace zelk::tests {
namespace {

using Strings = std::vector<std::string>;

class Keyboard : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    first = AddKeyProbe({0, 0, 10, 10});
    second = AddKeyProbe({20, 0, 30, 10});
    third = AddKeyProbe({40, 0, 50, 10});
  }
  TWinControl* Focused() const { return FocusedWinControl(); }
  TKeyProbe* first = nullptr;
  TKeyProbe* second = nullptr;
  TKeyProbe* third = nullptr;
};

TEST_F(Keyboard, TabAndShiftTabFollowTheTabOrderSkippingWhatCannotTakeTheFocus) {
  third->SetTabOrder(0);  // order: third, first, second
  EXPECT_EQ(first->TabOrder(), 1);
  auto* panel = New<TPanel>(form.get());
  panel->SetBounds(0, 50, 100, 40);
  panel->SetParent(form.get());
  TKeyProbe* inner = AddKeyProbe({0, 0, 10, 10}, panel);  // after second, inside the panel
  AddKeyProbe({60, 0, 70, 10})->SetEnabled(false);
  AddKeyProbe({80, 0, 90, 10})->SetTabStop(false);

  third->SetFocus();
  std::vector<TWinControl*> visited;
  for (int step = 0; step < 5; ++step) {
    windows.PressKey(vkTab);
    visited.push_back(Focused());
  }
  EXPECT_EQ(visited, (std::vector<TWinControl*>{first, second, inner, third, first}));
  windows.PressKey(vkTab, platform::mfShift);
  EXPECT_EQ(Focused(), third);
  windows.PressKey(vkTab, platform::mfShift);
  EXPECT_EQ(Focused(), inner);
  EXPECT_EQ(form->ActiveControl(), inner);
  EXPECT_EQ(form->FindNextControl(nullptr, true, true, false), third);
  EXPECT_EQ(form->LastTabStop(), inner);
}

TEST_F(Keyboard, FocusChangesTellTheControlsLeftAndEntered) {
  first->SetFocus();
  second->SetFocus();
  EXPECT_EQ(first->Log, (Strings{"enter", "exit"}));
  EXPECT_EQ(second->Log, (Strings{"enter"}));
  EXPECT_TRUE(second->Focused());
  EXPECT_FALSE(first->Focused());
  second->Hide();
  EXPECT_FALSE(second->CanFocus());
  EXPECT_THROW(second->SetFocus(), EInvalidOperation);
}

TEST_F(Keyboard, KeysReachTheFocusedWindow) {
  second->SetFocus();
  windows.PressKey('A');
  windows.TypeChar(u'a');
  windows.ReleaseKey('A');
  EXPECT_EQ(second->Log, (Strings{"enter", "keydown 65", "char a", "keyup 65"}));
  EXPECT_TRUE(first->Log.empty());
}

// The dialog code is asked with the key message; a control that wants Tab
// or the arrows gets them as keys instead of the focus moving.
TEST_F(Keyboard, DialogCodesDecideWhetherTabAndArrowsMoveTheFocus) {
  second->SetFocus();
  second->DialogCode = dlgcWantTab;
  windows.PressKey(vkTab);
  EXPECT_EQ(Focused(), second);
  windows.PressKey(vkRight);  // arrows are not wanted: the focus moves to the next sibling
  EXPECT_EQ(Focused(), third);
  third->DialogCode = dlgcWantAllKeys;
  windows.PressKey(vkLeft);
  windows.PressKey('B');  // no dialog key: the code is not asked
  EXPECT_EQ(Focused(), third);
  EXPECT_EQ(second->Log, (Strings{"enter", "keydown 9", "exit"}));
  EXPECT_EQ(third->Log, (Strings{"enter", "keydown 37", "keydown 66"}));
  EXPECT_EQ(third->DialogCodeQueries, 1);
}

// Sees every key down of the form; swallows X.
class TKeyRecorder : public TObject {
 public:
  void KeyDown(TObject*, uint16_t& key, TShiftState) {
    seen.push_back(key);
    if (key == 'X') key = 0;
  }
  std::vector<uint16_t> seen;
};

TEST_F(Keyboard, AFormWithKeyPreviewSeesKeysFirstAndMaySwallowThem) {
  TKeyRecorder preview;
  form->OnKeyDown = TKeyEvent::Bind<&TKeyRecorder::KeyDown>(&preview);
  first->SetFocus();
  windows.PressKey('Y');
  form->SetKeyPreview(true);
  windows.PressKey('Y');
  windows.PressKey('X');
  EXPECT_EQ(preview.seen, (std::vector<uint16_t>{'Y', 'X'}));
  EXPECT_EQ(first->Log, (Strings{"enter", "keydown 89", "keydown 89"}));
}

TEST_F(Keyboard, ParentsMayTakeAKeyBeforeTheFocusedControl) {
  class TTakingPanel : public TPanel {
   public:
    using TPanel::TPanel;
    void WndProc(TMessage& message) override {
      if (message.Msg == cmChildKey && message.WParam == vkEscape) {
        message.Result = 1;
        return;
      }
      TPanel::WndProc(message);
    }
  };
  auto* panel = New<TTakingPanel>(form.get());
  panel->SetParent(form.get());
  TKeyProbe* inner = AddKeyProbe({0, 0, 10, 10}, panel);
  inner->SetFocus();
  windows.PressKey(vkEscape);
  windows.PressKey(vkSpace);
  EXPECT_EQ(inner->Log, (Strings{"enter", "keydown 32"}));
}

// Alt with a character is offered to every control; the one that takes it
// as its accelerator answers and the character goes no further.
TEST_F(Keyboard, AltCharactersAreOfferedAsAccelerators) {
  class TAccelerated : public TProbe {
   public:
    using TProbe::TProbe;
    void WndProc(TMessage& message) override {
      if (message.Msg == cmDialogChar && message.WParam == 'k') {
        Log.push_back("accelerator");
        message.Result = 1;
        return;
      }
      TProbe::WndProc(message);
    }
  };
  auto* accelerated = New<TAccelerated>(form.get());
  accelerated->SetParent(form.get());
  first->SetFocus();
  windows.TypeChar(u'k', platform::mfAlt);
  windows.TypeChar(u'q', platform::mfAlt);
  windows.TypeChar(u'k');
  EXPECT_EQ(accelerated->Log, (Strings{"accelerator"}));
  EXPECT_EQ(first->Log, (Strings{"enter", "char q", "char k"}));
}

}  // namespace
}  // namespace zelk::tests
