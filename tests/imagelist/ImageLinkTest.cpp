// Image links follow their list: a control must keep naming the same
// picture when other pictures go or move, hear exactly once when its own
// picture changes or goes, and never keep a list that is gone.
#include <gtest/gtest.h>

#include "ImageListTestSupport.h"

namespace zelk::tests {
namespace {

// Controls First, Second and Third name pictures 0, 1 and 2 of one list.
struct ThreeLinks {
  TListPtr List = MakeList(3);
  TEventLog Events;
  TControlPtr Controls[3] = {MakeControl("First", Events), MakeControl("Second", Events), MakeControl("Third", Events)};

  ThreeLinks() {
    for (int index = 0; index < 3; ++index) {
      Controls[index]->IndexMain()->SetDIBIndex(index);
      Controls[index]->IndexMain()->SetDIBImageList(List.get());
    }
    Events.clear();
  }
  std::vector<int32_t> Indexes() const {
    std::vector<int32_t> indexes;
    for (const TControlPtr& control : Controls) indexes.push_back(control->IndexMain()->DIBIndex());
    return indexes;
  }
};

// The control still sees its index while it reacts; the link above moves
// down without a word.
TEST(ImageLink, DeletingAPictureReportsOnlyToItsLinkWhichThenHoldsMinusOne) {
  ThreeLinks links;
  links.List->DIBImages()->Delete(1);
  EXPECT_EQ(links.Events, (TEventLog{"Second.IndexMain 1 deleted, DIBIndex 1"}));
  EXPECT_EQ(links.Indexes(), (std::vector<int32_t>{0, -1, 1}));
}

TEST(ImageLink, LinksHearInTheOrderTheyWereAttached) {
  ThreeLinks links;
  links.Controls[2]->IndexBack()->SetDIBImageList(links.List.get());
  links.Controls[2]->IndexBack()->SetDIBIndex(0);
  links.Events.clear();
  links.List->DIBImages()->Item(0)->DIB()->SetOpacity(9);
  EXPECT_EQ(links.Events, (TEventLog{"First.IndexMain 0 changed, DIBIndex 0", "Third.IndexBack 0 changed, DIBIndex 0"}));
}

// Moves only renumber; indexes outside the list move nothing.
TEST(ImageLink, MovesCarryTheLinksAlongSilently) {
  ThreeLinks links;
  TDIBImages& images = *links.List->DIBImages();
  images.Item(0)->SetIndex(2);
  EXPECT_EQ(links.Indexes(), (std::vector<int32_t>{2, 0, 1}));
  images.Item(2)->SetIndex(0);
  EXPECT_EQ(links.Indexes(), (std::vector<int32_t>{0, 1, 2}));
  images.Item(0)->SetIndex(7);
  images.Insert(1);  // the new picture moves from the end to 1
  EXPECT_EQ(links.Indexes(), (std::vector<int32_t>{0, 2, 3}));
  EXPECT_EQ(images.Item(2)->DisplayName(), "Image1");
  EXPECT_TRUE(links.Events.empty());
}

TEST(ImageLink, AnIndexWriteReportsOnlyANewValueEvenWithoutAList) {
  TEventLog events;
  TControlPtr control = MakeControl("Knob", events);
  control->IndexMain()->SetDIBIndex(-1);
  control->IndexMain()->SetDIBIndex(4);
  control->IndexMain()->SetDIBIndex(4);
  EXPECT_EQ(events, (TEventLog{"Knob.IndexMain 4 changed, DIBIndex 4"}));
}

TEST(ImageLink, AttachingReportsTheLinksOwnPictureOnceWhenTheListHasIt) {
  TListPtr list = MakeList(3);
  TEventLog events;
  TControlPtr control = MakeControl("Knob", events);
  control->IndexMain()->SetDIBIndex(1);
  control->IndexBack()->SetDIBIndex(3);
  events.clear();
  control->IndexMain()->SetDIBImageList(list.get());
  control->IndexBack()->SetDIBImageList(list.get());
  EXPECT_EQ(events, (TEventLog{"Knob.IndexMain 1 changed, DIBIndex 1"}));
}

TEST(ImageLink, AFreedListClearsItsLinksSilently) {
  std::unique_ptr<TComponent, TFreeObject> form(New<TComponent>(nullptr));
  auto* list = New<TDIBImageList>(form.get());
  list->DIBImages()->Add();
  TEventLog events;
  TControlPtr control = MakeControl("Knob", events);
  control->IndexMain()->SetDIBIndex(0);
  control->IndexMain()->SetDIBImageList(list);
  events.clear();
  form.reset();  // frees the list with its owner
  EXPECT_EQ(control->IndexMain()->DIBImageList(), nullptr);
  EXPECT_TRUE(events.empty());
  TAbstractSuperDIB* dib = nullptr;
  EXPECT_FALSE(control->IndexMain()->GetImage(dib));
}

// The sanitizer build would see the list reach the freed links.
TEST(ImageLink, AFreedControlsLinksLeaveTheList) {
  TListPtr list = MakeList(2);
  TEventLog events;
  TControlPtr control = MakeControl("Knob", events);
  control->IndexMain()->SetDIBImageList(list.get());
  control->IndexBack()->SetDIBImageList(list.get());
  control.reset();
  EXPECT_TRUE(list->Links().empty());
  list->DIBImages()->Delete(0);
}

}  // namespace
}  // namespace zelk::tests
