// A key press is offered as a shortcut before anything else: to the popup
// menus from the focused control up through its parents, then to the form,
// then to the application; a menu runs the enabled item with that shortcut.
#include "tests/toolkit/ToolkitTestSupport.h"

#include "platform/KeyCodes.h"
#include "toolkit/Menus.h"
#include "toolkit/Panel.h"

namespace zelk::tests {
namespace {

class TClicks : public TObject {
 public:
  void Clicked(TObject* sender) { clicked.push_back(static_cast<TMenuItem*>(sender)->Caption()); }
  void ApplicationKey(TMessage& message, bool& handled) {
    handled = message.WParam == vkF1;
    if (handled) clicked.push_back("application");
  }
  std::vector<std::string> clicked;
};

TMenuItem* AddItem(TMenuItem* parent, const std::string& caption, TShortCut shortCut, TClicks& clicks) {
  auto* item = New<TMenuItem>(nullptr);  // freed with its parent item
  item->SetCaption(caption);
  item->SetShortCut(shortCut);
  item->OnClick = TNotifyEvent::Bind<&TClicks::Clicked>(&clicks);
  parent->Add(item);
  return item;
}

TEST(ShortCuts, AreTheKeyWithItsShiftState) {
  EXPECT_EQ(ShortCut('S', {TShiftFlag::ssCtrl}), 'S' | scCtrl);
  EXPECT_EQ(ShortCut(vkF1, {TShiftFlag::ssShift, TShiftFlag::ssAlt}), vkF1 | scShift | scAlt);
}

using Menus = ToolkitTest;

TEST_F(Menus, APopupMenuShortcutOfAParentRunsItsItemAndTheKeyGoesNoFurther) {
  TClicks clicks;
  auto* menu = New<TPopupMenu>(form.get());
  TMenuItem* save = AddItem(menu->Items(), "Save", 'S' | scCtrl, clicks);
  TMenuItem* more = AddItem(menu->Items(), "More", scNone, clicks);
  AddItem(more, "Deep", vkF1 + 1, clicks);
  auto* panel = New<TPanel>(form.get());
  panel->SetParent(form.get());
  panel->SetPopupMenu(menu);
  TKeyProbe* inner = AddKeyProbe({0, 0, 10, 10}, panel);
  inner->SetFocus();

  windows.PressKey('S', platform::mfControl);
  windows.PressKey('S');  // without Ctrl: an ordinary key
  windows.PressKey(vkF1 + 1);
  save->SetEnabled(false);
  windows.PressKey('S', platform::mfControl);
  EXPECT_EQ(clicks.clicked, (std::vector<std::string>{"Save", "Deep"}));
  EXPECT_EQ(inner->Log, (std::vector<std::string>{"enter", "keydown 83", "keydown 83"}));
}

TEST_F(Menus, TheFormAndThenTheApplicationCheckShortcutsLast) {
  TClicks clicks;
  TKeyProbe* probe = AddKeyProbe({0, 0, 10, 10});
  probe->SetFocus();
  SetApplicationShortCut(TShortCutEvent::Bind<&TClicks::ApplicationKey>(&clicks));
  windows.PressKey(vkF1);
  SetApplicationShortCut({});
  windows.PressKey(vkF1);
  EXPECT_EQ(clicks.clicked, (std::vector<std::string>{"application"}));
  EXPECT_EQ(probe->Log, (std::vector<std::string>{"enter", "keydown 112"}));
}

// Menu items read from a stream are children of their menu, and go with it.
TEST_F(Menus, ItemsBelongToTheMenuTree) {
  auto* menu = New<TPopupMenu>(form.get());
  auto* item = New<TMenuItem>(form.get());
  item->SetParentComponent(menu);
  EXPECT_EQ(menu->Items()->Count(), 1);
  EXPECT_EQ(item->GetParentComponent(), menu);
  EXPECT_EQ(menu->GetChildren(form.get()), (std::vector<TComponent*>{item}));
  TObject::Free(menu);
  EXPECT_EQ(form->ComponentCount(), 0);  // the item went with its menu
}

}  // namespace
}  // namespace zelk::tests
