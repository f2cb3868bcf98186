// The align pass places aligned children in the client area, top and bottom
// first, then left and right, and gives the client-aligned ones what is
// left; it runs again when the parent is resized, and it wins over the size
// AutoSize asks for.
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

}  // namespace
}  // namespace zelk::tests
