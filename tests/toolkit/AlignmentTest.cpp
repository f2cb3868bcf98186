// The align pass places aligned children in the client area, top and bottom
// first, then left and right, and gives the client-aligned ones what is
// left; it runs again when the parent is resized, and it wins over the size
// AutoSize asks for. Children that are not aligned keep their distances to
// the sides they are anchored to, and constraints limit every size.
#include "tests/toolkit/ToolkitTestSupport.h"

namespace zelk::tests {
namespace {

using Alignment = ToolkitTest;

TEST_F(Alignment, ClientAlignmentFillsWhatTheEdgesLeaveAndFollowsResizing) {
  TProbe* top = AddProbe({0, 0, 10, 20});
  TProbe* left = AddProbe({0, 0, 30, 10});
  TProbe* client = AddProbe({5, 5, 10, 10});
  TProbe* bottom = AddProbe({0, 0, 10, 15});
  client->SetAlign(TAlign::alClient);
  left->SetAlign(TAlign::alLeft);
  top->SetAlign(TAlign::alTop);
  bottom->SetAlign(TAlign::alBottom);
  EXPECT_EQ(top->BoundsRect(), (TRect{0, 0, 200, 20}));
  EXPECT_EQ(bottom->BoundsRect(), (TRect{0, 85, 200, 100}));
  EXPECT_EQ(left->BoundsRect(), (TRect{0, 20, 30, 85}));
  EXPECT_EQ(client->BoundsRect(), (TRect{30, 20, 200, 85}));

  form->SetBounds(0, 0, 300, 50);
  EXPECT_EQ(client->BoundsRect(), (TRect{30, 20, 300, 35}));
  form->SetBounds(0, 0, 20, 30);  // less room than the edges want
  EXPECT_EQ(client->BoundsRect().Width(), 0);
  EXPECT_EQ(client->BoundsRect().Height(), 0);
}

TEST_F(Alignment, AlignmentWinsOverAutoSize) {
  TProbe* client = AddProbe({0, 0, 10, 10});
  client->SetAlign(TAlign::alClient);
  client->WantedSize = TPoint{50, 60};
  client->SetAutoSize(true);
  EXPECT_EQ(client->BoundsRect(), (TRect{0, 0, 200, 100}));

  TProbe* free = AddProbe({5, 5, 10, 10});
  free->WantedSize = TPoint{50, 60};
  free->SetAutoSize(true);
  EXPECT_EQ(free->BoundsRect(), (TRect{5, 5, 55, 65}));
  free->SetAlign(TAlign::alTop);  // the pass sets the width, AutoSize the height
  free->AdjustSize();
  EXPECT_EQ(free->BoundsRect(), (TRect{0, 0, 200, 60}));
  EXPECT_EQ(client->BoundsRect(), (TRect{0, 60, 200, 100}));
}

TEST_F(Alignment, AnchoredChildrenKeepTheirDistancesToTheAnchoredSides) {
  using enum TAnchorKind;
  struct TCase {
    TAnchors Anchors;
    TRect After;  // the form grows from 200 x 100 to 260 x 140
  };
  const TCase cases[] = {
      {{akLeft, akTop}, {10, 20, 30, 30}},
      {{akRight, akBottom}, {70, 60, 90, 70}},
      {{akLeft, akTop, akRight, akBottom}, {10, 20, 90, 70}},
      {{}, {40, 40, 60, 50}},  // centred: half of the growth
  };
  std::vector<TProbe*> probes;
  for (const TCase& test : cases) {
    probes.push_back(AddProbe({10, 20, 30, 30}));
    probes.back()->SetAnchors(test.Anchors);
  }
  form->SetBounds(0, 0, 260, 140);
  for (size_t index = 0; index < probes.size(); ++index) {
    EXPECT_EQ(probes[index]->BoundsRect(), cases[index].After) << index;
  }
}

TEST_F(Alignment, ConstraintsLimitEverySizeAndResizeEventsMayChangeIt) {
  TProbe* probe = AddProbe({0, 0, 50, 50});
  probe->Constraints()->SetMinWidth(20);
  probe->Constraints()->SetMaxHeight(30);  // applies to the current size at once
  EXPECT_EQ(probe->BoundsRect(), (TRect{0, 0, 50, 30}));
  probe->SetBounds(5, 5, 10, 80);
  EXPECT_EQ(probe->BoundsRect(), (TRect{5, 5, 25, 35}));

  struct TRefuser : TObject {
    void CanResize(TObject*, int32_t&, int32_t& height, bool& resize) { resize = height < 100; }
    void Resized(TObject*) { ++Resizes; }
    int Resizes = 0;
  } refuser;
  TKeyProbe* windowed = AddKeyProbe({0, 0, 50, 50});
  windowed->OnCanResize = TCanResizeEvent::Bind<&TRefuser::CanResize>(&refuser);
  windowed->OnResize = TNotifyEvent::Bind<&TRefuser::Resized>(&refuser);
  windowed->SetBounds(1, 2, 60, 200);  // refused size, accepted move
  EXPECT_EQ(windowed->BoundsRect(), (TRect{1, 2, 51, 52}));
  windowed->SetBounds(1, 2, 60, 70);
  EXPECT_EQ(windowed->BoundsRect(), (TRect{1, 2, 61, 72}));
  EXPECT_EQ(refuser.Resizes, 1);
}

}  // namespace
}  // namespace zelk::tests
