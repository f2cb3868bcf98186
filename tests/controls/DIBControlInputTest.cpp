// Image-drawn controls take mouse, timer and key input through their
// container's window: enter and leave survive the mouse capture, a held
// button repeats its press, the DIB focus moves through the DIB tab list and
// out of the container, accelerators click, and attached controls follow
// their control.
#include "controls/ControlList.h"
#include "platform/KeyCodes.h"
#include "resources/TextFormPrinter.h"
#include "resources/Writer.h"
#include "tests/controls/DIBControlTestSupport.h"
#include "toolkit/Panel.h"

namespace zelk::tests {
namespace {

using Strings = std::vector<std::string>;

class DIBControlInput : public DIBControlTest {
 protected:
  TSwatch* AddFocusable(const TRect& bounds, TTabOrder order) {
    TSwatch* swatch = AddSwatch(bounds);
    swatch->SetDIBTabOrder(order);
    return swatch;
  }
};

TEST_F(DIBControlInput, ConstructionNeedsAnOwnerThatIsOrHoldsAContainer) {
  try {
    New<TSwatch>(nullptr);
    FAIL();
  } catch (const Exception& error) {
    EXPECT_STREQ(error.what(), "Owner cannot be nil");
  }
  std::unique_ptr<TForm, TFreeObject> bare(New<TForm>(nullptr));
  try {
    New<TSwatch>(bare.get());
    FAIL();
  } catch (const Exception& error) {
    EXPECT_STREQ(error.what(), "Parent must be a TDIBContainer");
  }
  TSwatch* swatch = AddSwatch({0, 0, 10, 10});
  EXPECT_THROW(swatch->SetParent(bare.get()), Exception);
  EXPECT_EQ(swatch->Parent(), container);
  swatch->SetParent(form.get());  // a form owning a container stands for it
  EXPECT_EQ(swatch->Parent(), container);
}

TEST_F(DIBControlInput, ReleasingOutsideACapturingControlLeavesOnceAtTheRelease) {
  TSwatch* swatch = AddSwatch({10, 10, 50, 50});
  windows.MoveMouse(Window(), {20, 20});
  windows.PressMouse(Window(), {20, 20});
  windows.MoveMouse(Window(), {80, 55});
  windows.MoveMouse(Window(), {90, 55});
  EXPECT_EQ(swatch->TakeLog(), (Strings{"enter", "down 10,10"}));
  EXPECT_TRUE(swatch->MouseInside());
  windows.ReleaseMouse(Window(), {90, 55});
  EXPECT_EQ(swatch->TakeLog(), (Strings{"up 80,45", "leave"}));
  EXPECT_FALSE(swatch->MouseInside());
  windows.MoveMouse(Window(), {95, 56});
  EXPECT_EQ(swatch->TakeLog(), Strings{});
}

TEST_F(DIBControlInput, ReleasingOverAnotherControlEntersIt) {
  TSwatch* pressed = AddSwatch({10, 10, 30, 30});
  TSwatch* other = AddSwatch({50, 10, 70, 30});
  windows.MoveMouse(Window(), {20, 20});
  windows.PressMouse(Window(), {20, 20});
  windows.MoveMouse(Window(), {60, 20});
  EXPECT_EQ(other->TakeLog(), Strings{});
  windows.ReleaseMouse(Window(), {60, 20});
  EXPECT_EQ(pressed->TakeLog(), (Strings{"enter", "down 10,10", "up 50,10", "leave"}));
  EXPECT_EQ(other->TakeLog(), (Strings{"enter"}));
}

TEST_F(DIBControlInput, ComingBackDuringTheCaptureReportsNoSecondEnter) {
  TSwatch* swatch = AddSwatch({10, 10, 50, 50});
  windows.MoveMouse(Window(), {20, 20});
  windows.PressMouse(Window(), {20, 20});
  windows.MoveMouse(Window(), {80, 55});
  windows.MoveMouse(Window(), {30, 30});
  windows.ReleaseMouse(Window(), {30, 30});
  EXPECT_EQ(swatch->TakeLog(), (Strings{"enter", "down 10,10", "click", "up 20,20"}));
  EXPECT_TRUE(swatch->MouseInside());
}

TEST_F(DIBControlInput, AHeldButtonRepeatsThePressAtTheLatestPosition) {
  TSwatch* swatch = AddSwatch({10, 10, 50, 50});
  swatch->SetRepeatEnabled(true);
  windows.MoveMouse(Window(), {15, 15});
  windows.PressMouse(Window(), {15, 15});
  windows.AdvanceClock(249);
  EXPECT_EQ(swatch->TakeLog(), (Strings{"enter", "down 5,5"}));
  windows.AdvanceClock(1);
  windows.MoveMouse(Window(), {18, 29});
  windows.AdvanceClock(250);
  EXPECT_EQ(swatch->TakeLog(), (Strings{"down 5,5", "down 8,19"}));
  EXPECT_TRUE(swatch->IsRepeating());

  windows.MoveMouse(Window(), {80, 55});  // leaving stops the repeat
  windows.AdvanceClock(1000);
  EXPECT_FALSE(swatch->IsRepeating());
  windows.MoveMouse(Window(), {20, 21});  // coming back resumes it
  windows.AdvanceClock(250);
  EXPECT_EQ(swatch->TakeLog(), (Strings{"down 10,11"}));

  swatch->StopRepeat();  // honoured at the next tick
  windows.AdvanceClock(250);
  windows.AdvanceClock(1000);
  EXPECT_EQ(swatch->TakeLog(), Strings{});
  EXPECT_FALSE(swatch->IsRepeating());
}

TEST_F(DIBControlInput, ReleasingTheButtonEndsTheRepeat) {
  TSwatch* swatch = AddSwatch({10, 10, 50, 50});
  swatch->SetRepeatEnabled(true);
  swatch->SetRepeatInterval(100);
  windows.PressMouse(Window(), {15, 15});
  windows.AdvanceClock(200);
  windows.ReleaseMouse(Window(), {15, 15});
  windows.AdvanceClock(1000);
  EXPECT_EQ(swatch->TakeLog(), (Strings{"enter", "down 5,5", "down 5,5", "down 5,5", "click", "up 5,5"}));
}

TEST_F(DIBControlInput, TheTabListAppendsPlacesAndDrops) {
  TSwatch* first = AddFocusable({0, 0, 5, 5}, 0);
  TSwatch* second = AddFocusable({0, 0, 5, 5}, 1);
  TSwatch* third = AddFocusable({0, 0, 5, 5}, 2);
  TSwatch* late = AddFocusable({0, 0, 5, 5}, 10);
  EXPECT_EQ(late->DIBTabOrder(), 3);
  EXPECT_EQ(late->StoredDIBTabOrder(), 3);
  late->SetDIBTabOrder(0);
  EXPECT_EQ(container->DIBTabList(), (std::vector<TCustomDIBControl*>{late, first, second, third}));
  EXPECT_TRUE(container->TabStop());
  for (TSwatch* swatch : {late, first, second, third}) swatch->SetDIBTabOrder(-1);
  EXPECT_TRUE(container->DIBTabList().empty());
  EXPECT_FALSE(container->TabStop());
  TObject::Free(AddFocusable({0, 0, 5, 5}, 0));
  EXPECT_TRUE(container->DIBTabList().empty());
}

// The published DIBTabOrder is the control's place in the list as it stands,
// read and written, after other controls changed the list.
TEST_F(DIBControlInput, ThePublishedTabOrderIsThePlaceInTheListAsItStands) {
  TSwatch* first = AddFocusable({0, 0, 5, 5}, 0);
  TSwatch* second = AddFocusable({0, 0, 5, 5}, 1);
  first->SetDIBTabOrder(-1);
  const TPropInfo& property = *TSwatch::StaticClass().FindProperty("DIBTabOrder");
  EXPECT_EQ(std::get<int64_t>(property.Get(*second)), 0);
  TMemoryStream stream;
  TWriter(stream).WriteRootComponent(*second);
  EXPECT_NE(PrintComponentStream(stream.ToVector()).find("DIBTabOrder = 0"), std::string::npos);
}

TEST_F(DIBControlInput, RebuildingTheTabListFollowsTheStoredOrders) {
  // Stored while parentless, as a stream reads them.
  auto make = [&](TTabOrder order) {
    auto* swatch = New<TSwatch>(form.get());
    swatch->SetDIBTabOrder(order);
    return swatch;
  };
  TSwatch* a = make(2);
  TSwatch* b = make(0);
  TSwatch* c = make(-1);
  for (TSwatch* swatch : {a, b, c}) container->InsertControl(swatch);
  container->RebuildTabList();
  EXPECT_EQ(container->DIBTabList(), (std::vector<TCustomDIBControl*>{b, a}));
}

// A child leaves the tab list and the DIB focus with its container, whoever
// owns it: freed, moved to another container or left without a parent.
TEST_F(DIBControlInput, AChildLeavingItsContainerLeavesItsListsWhoeverOwnsIt) {
  std::unique_ptr<TForm, TFreeObject> other(New<TForm>(nullptr));
  auto* otherContainer = New<TDIBImageContainer>(other.get());
  otherContainer->SetParent(other.get());
  TSwatch* first = AddFocusable({0, 0, 5, 5}, 0);
  auto* foreign = New<TSwatch>(other.get());
  foreign->SetParent(container);
  foreign->SetDIBTabOrder(1);
  container->SetFocus();
  container->SetActiveControl(foreign);
  TObject::Free(foreign);
  ASSERT_EQ(container->DIBTabList(), (std::vector<TCustomDIBControl*>{first}));
  ASSERT_EQ(container->ActiveControl(), nullptr);
  windows.PressKey(vkTab);
  windows.ReleaseKey(vkTab);
  EXPECT_EQ(container->ActiveControl(), first);

  TSwatch* moved = AddFocusable({0, 0, 5, 5}, 1);
  container->SetActiveControl(moved);
  first->TakeLog();
  moved->TakeLog();
  moved->SetParent(otherContainer);
  EXPECT_EQ(container->DIBTabList(), (std::vector<TCustomDIBControl*>{first}));
  EXPECT_EQ(container->ActiveControl(), nullptr);
  EXPECT_EQ(moved->TakeLog(), Strings{"unfocus"});
  EXPECT_EQ(otherContainer->DIBTabList(), (std::vector<TCustomDIBControl*>{moved}));
  moved->SetParent(nullptr);
  EXPECT_TRUE(otherContainer->DIBTabList().empty());
  EXPECT_FALSE(otherContainer->TabStop());
  TObject::Free(moved);
}

TEST_F(DIBControlInput, AClickTakesTheDIBFocusOnlyForControlsInTheTabList) {
  TSwatch* outside = AddSwatch({0, 0, 20, 20});
  TSwatch* listed = AddFocusable({30, 0, 50, 20}, 0);
  windows.PressMouse(Window(), {5, 5});
  windows.ReleaseMouse(Window(), {5, 5});
  EXPECT_FALSE(outside->DIBFocused());
  EXPECT_EQ(container->ActiveControl(), nullptr);
  windows.PressMouse(Window(), {35, 5});
  windows.ReleaseMouse(Window(), {35, 5});
  EXPECT_TRUE(listed->DIBFocused());
  EXPECT_EQ(container->ActiveControl(), listed);
  EXPECT_EQ(windows.FocusWindow(), Window());
}

TEST_F(DIBControlInput, TabMovesThroughTheListAndThenLetsTheFocusLeave) {
  auto* panel = New<TPanel>(form.get());
  panel->SetBounds(150, 10, 40, 40);
  panel->SetParent(form.get());
  panel->SetTabStop(true);
  TSwatch* first = AddFocusable({0, 0, 5, 5}, 0);
  TSwatch* second = AddFocusable({0, 0, 5, 5}, 1);
  TSwatch* third = AddFocusable({0, 0, 5, 5}, 2);
  container->SetFocus();
  EXPECT_EQ(container->ActiveControl(), first);
  windows.PressKey(vkTab);
  windows.ReleaseKey(vkTab);
  EXPECT_EQ(container->ActiveControl(), second);
  windows.PressKey(vkTab);
  windows.ReleaseKey(vkTab);
  EXPECT_EQ(container->ActiveControl(), third);
  windows.PressKey(vkTab);
  windows.ReleaseKey(vkTab);
  EXPECT_EQ(container->ActiveControl(), nullptr);
  EXPECT_EQ(windows.FocusWindow(), panel->Handle());
  EXPECT_EQ(first->TakeLog(), (Strings{"focus", "unfocus"}));
  EXPECT_EQ(third->TakeLog(), (Strings{"focus", "unfocus"}));

  windows.PressKey(vkShift);
  windows.PressKey(vkTab, platform::mfShift);  // back in from the end
  windows.ReleaseKey(vkTab, platform::mfShift);
  windows.ReleaseKey(vkShift);
  EXPECT_EQ(windows.FocusWindow(), Window());
  EXPECT_EQ(container->ActiveControl(), third);
  windows.PressKey(vkShift);
  windows.PressKey(vkTab, platform::mfShift);
  EXPECT_EQ(container->ActiveControl(), second);
}

TEST_F(DIBControlInput, WindowedChildrenTakePartInTheFocusAndTabRules) {
  struct TCounter : TObject {
    void Changed(TObject*) { ++Changes; }
    int Changes = 0;
  } counter;
  container->OnActiveControlChange = TNotifyEvent::Bind<&TCounter::Changed>(&counter);
  TSwatch* dial = AddFocusable({0, 0, 5, 5}, 0);
  auto* inner = New<TPanel>(form.get());
  inner->SetBounds(50, 10, 20, 20);
  inner->SetParent(container);
  inner->SetTabStop(true);
  inner->SetTabOrder(0);

  // Backwards into the container: the last windowed tab stop takes it.
  windows.PressKey(vkShift);
  container->SetFocus();
  windows.ReleaseKey(vkShift);
  EXPECT_EQ(windows.FocusWindow(), inner->Handle());
  EXPECT_EQ(container->ActiveControl(), nullptr);
  EXPECT_EQ(container->ActiveTabControl(), inner);

  // Shift+Tab from it goes back to the DIB list, Tab forward again.
  windows.PressKey(vkShift);
  windows.PressKey(vkTab, platform::mfShift);
  windows.ReleaseKey(vkTab, platform::mfShift);
  windows.ReleaseKey(vkShift);
  EXPECT_EQ(container->ActiveControl(), dial);
  const int before = counter.Changes;
  inner->SetFocus();  // a windowed child taking the focus becomes the active one
  EXPECT_FALSE(dial->DIBFocused());
  EXPECT_EQ(container->ActiveTabControl(), inner);
  EXPECT_GT(counter.Changes, before);
  container->OnActiveControlChange.Clear();
}

TEST_F(DIBControlInput, KeysReachTheActiveControlWhenItWantsThem) {
  TSwatch* swatch = AddFocusable({0, 0, 5, 5}, 0);
  container->SetFocus();
  swatch->TakeLog();
  windows.PressKey('A');
  windows.PressKey(vkLeft);
  swatch->SetWantKeys({});
  windows.PressKey(vkRight);  // no longer wanted: a dialog key of the form
  EXPECT_EQ(swatch->TakeLog(), (Strings{"key 65", "key 37"}));
}

// Characters go where their keys would: after Tab the control that wants
// only arrows hears neither the Tab nor Return nor Escape characters, but
// every printable one, also those sharing a code with a virtual key.
TEST_F(DIBControlInput, CharactersReachTheActiveControlOnlyWhenItWantsTheirKeys) {
  AddFocusable({0, 0, 5, 5}, 0);
  TSwatch* second = AddFocusable({0, 0, 5, 5}, 1);
  struct TTyped : TObject {
    std::string Text;
    void Press(TObject*, char& key) { Text += key; }
  } typed;
  second->OnKeyPress = TKeyPressEvent::Bind<&TTyped::Press>(&typed);
  container->SetFocus();
  windows.PressKey(vkTab);
  windows.TypeChar(u'\t');
  windows.ReleaseKey(vkTab);
  ASSERT_EQ(container->ActiveControl(), second);
  for (char16_t character : std::u16string(u"\r\x1b%&'(+a")) windows.TypeChar(character);
  EXPECT_EQ(typed.Text, "%&'(+a");
  second->SetWantKeys({TWantKey::wkAll});
  windows.TypeChar(u'\r');
  EXPECT_EQ(typed.Text, "%&'(+a\r");
}

TEST_F(DIBControlInput, AltAndTheAcceleratorClick) {
  TSwatch* swatch = AddFocusable({0, 0, 5, 5}, 0);
  swatch->SetAccelerator('k');
  container->SetFocus();
  swatch->TakeLog();
  windows.TypeChar(u'k');
  EXPECT_EQ(swatch->TakeLog(), Strings{});
  windows.TypeChar(u'k', platform::mfAlt);
  EXPECT_EQ(swatch->TakeLog(), (Strings{"click"}));
  swatch->SetEnabled(false);
  EXPECT_EQ(swatch->TakeLog(), (Strings{"unfocus"}));  // a disabled control loses the DIB focus
  windows.TypeChar(u'k', platform::mfAlt);
  EXPECT_EQ(swatch->TakeLog(), Strings{});
}

TEST_F(DIBControlInput, AttachedControlsFollowMovesButNotResizes) {
  TSwatch* anchor = AddSwatch({10, 10, 30, 30});
  TSwatch* label = AddSwatch({40, 12, 60, 20});
  anchor->AttachedControls()->Add()->SetControl(label);
  anchor->SetLeft(15);
  EXPECT_EQ(label->BoundsRect(), (TRect{45, 12, 65, 20}));
  anchor->SetBounds(15, 8, 20, 20);
  EXPECT_EQ(label->BoundsRect(), (TRect{45, 10, 65, 18}));
  anchor->SetWidth(40);
  EXPECT_EQ(label->BoundsRect(), (TRect{45, 10, 65, 18}));
  TObject::Free(label);
  EXPECT_EQ(anchor->AttachedControls()->Count(), 0);
  anchor->SetLeft(0);
}

TEST_F(DIBControlInput, OpacityAndResizesStampTheChangeTimeButMovesDoNot) {
  TSwatch* swatch = AddSwatch({10, 10, 30, 30});
  windows.AdvanceClock(100);
  swatch->SetOpacity(100);
  const uint32_t stamped = swatch->LastChangeTime();
  windows.AdvanceClock(100);
  swatch->SetLeft(20);
  EXPECT_EQ(swatch->LastChangeTime(), stamped);
  swatch->SetWidth(5);
  EXPECT_EQ(swatch->LastChangeTime(), stamped + 100);
}

}  // namespace
}  // namespace zelk::tests
