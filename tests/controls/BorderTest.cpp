// The image border: edge sizes from the pictures or from Size, and whole
// frames drawn into a poisoned bitmap compared with a plain routine that
// places every picture pixel by pixel. Pictures carry their number and
// coordinates in every pixel, so a misplaced tile or a stray pixel shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "controls/DIBBorder.h"
#include "dib/DIBImageList.h"
#include "dib/MemoryDIB.h"
#include "resources/ComponentResources.h"
#include "resources/TextFormCompiler.h"
#include "runtime/ClassBuilder.h"
#include "runtime/ClassRegistry.h"
#include "runtime/DataModule.h"

namespace zelk::tests {
namespace {

template <class T>
using TPtr = std::unique_ptr<T, TFreeObject>;

constexpr TPixel kPoison = 0xA5C3E1F0u;
constexpr TPixel kKey = 0x00FF00FFu;  // magenta, the keyed pictures' empty colour

// Picture n: opaque, each pixel names n, x and y; keyed pictures show the key
// where x + y is divisible by 3.
TPixel PicturePixel(int number, int x, int y, bool keyed) {
  if (keyed && (x + y) % 3 == 0) return 0xFF000000u | kKey;
  return 0xFF000000u | uint32_t(number + 1) << 20 | uint32_t(y) << 10 | uint32_t(x);
}

struct TPictureShape {
  int Width;
  int Height;
  bool Keyed = false;
};

// One edge: picture numbers (or none) and the style.
struct TEdgeLayout {
  std::optional<int> Start, Middle, End;
  bool Stretch = false;
};

enum TSide { sLeft, sRight, sTop, sBottom };

// --- the plain routine ---

class TReferenceFrame {
 public:
  TReferenceFrame(int width, int height) : width_(width), pixels_(size_t(width) * height, kPoison) {}
  TPixel At(int x, int y) const { return pixels_[size_t(y) * width_ + x]; }

  // Pixel (sx, sy) of the picture at (x, y), inside clip (right and bottom
  // exclusive): copied, or for a keyed picture kept where the key is and
  // copied without alpha elsewhere.
  void Put(const std::vector<TPictureShape>& pictures, int number, int sx, int sy, int x, int y, const TRect& clip) {
    if (!clip.Contains({x, y})) return;
    const TPictureShape& picture = pictures[number];
    const TPixel pixel = PicturePixel(number, sx, sy, picture.Keyed);
    TPixel& target = pixels_[size_t(y) * width_ + x];
    if (!picture.Keyed) {
      target = pixel;
    } else if ((pixel & 0xFFFFFFu) != kKey) {
      target = pixel & 0xFFFFFFu;
    }
  }

 private:
  int width_;
  std::vector<TPixel> pixels_;
};

// Draws one edge along [first, last) of rect, pixel by pixel.
void ReferenceEdge(TReferenceFrame& frame, const std::vector<TPictureShape>& pictures, const TEdgeLayout& edge,
                   TSide side, const TRect& rect, const TRect& clip) {
  const bool vertical = side == sLeft || side == sRight;
  const auto length = [&](std::optional<int> n) { return !n ? 0 : vertical ? pictures[*n].Height : pictures[*n].Width; };
  // Where picture n's column/row 0 lies across the edge.
  const auto across = [&](int n) {
    switch (side) {
      case sLeft: return rect.Left;
      case sRight: return rect.Right - pictures[n].Width;
      case sTop: return rect.Top;
      default: return rect.Bottom - pictures[n].Height;
    }
  };
  // Picture pixel (u along, v across) at position `along` + u.
  const auto put = [&](int n, int u, int v, int along, int sourceU) {
    if (vertical) {
      frame.Put(pictures, n, v, sourceU, across(n) + v, along + u, clip);
    } else {
      frame.Put(pictures, n, sourceU, v, along + u, across(n) + v, clip);
    }
  };
  const int first = vertical ? rect.Top : rect.Left;
  const int last = vertical ? rect.Bottom : rect.Right;
  if (edge.Middle) {
    const int n = *edge.Middle;
    const int thickness = vertical ? pictures[n].Width : pictures[n].Height;
    const int from = first + length(edge.Start);
    const int gap = last - first - length(edge.Start) - length(edge.End);
    if (edge.Stretch) {
      EXPECT_EQ(length(n), 1) << "the plain routine stretches one-pixel middles only";
    }
    for (int u = 0; u < gap; ++u) {
      // Stretched middles in these tests are one pixel long.
      const int sourceU = edge.Stretch ? 0 : u % length(n);
      for (int v = 0; v < thickness; ++v) put(n, u, v, from, sourceU);
    }
  }
  for (auto [n, at] : {std::pair{edge.Start, first}, std::pair{edge.End, last - length(edge.End)}}) {
    if (!n) continue;
    const int thickness = vertical ? pictures[*n].Width : pictures[*n].Height;
    for (int u = 0; u < length(n); ++u) {
      for (int v = 0; v < thickness; ++v) put(*n, u, v, at, u);
    }
  }
}

int Thickest(const std::vector<TPictureShape>& pictures, const TEdgeLayout& edge) {
  int widest = 0;
  for (std::optional<int> n : {edge.Start, edge.Middle, edge.End}) {
    if (n) widest = std::max(widest, pictures[*n].Width);
  }
  return widest;
}

// --- the border under test ---

class BorderTest : public ::testing::Test {
 protected:
  void SetUp() override { border->SetDIBImageList(list.get()); }

  void AddPictures(const std::vector<TPictureShape>& shapes) {
    pictures = shapes;
    for (size_t n = 0; n < shapes.size(); ++n) {
      TMemoryDIB* dib = list->DIBImages()->Add()->DIB();
      dib->SetSize(uint16_t(shapes[n].Width), uint16_t(shapes[n].Height));
      for (int y = 0; y < shapes[n].Height; ++y) {
        auto* row = reinterpret_cast<TPixel*>(dib->ScanLine(y));
        for (int x = 0; x < shapes[n].Width; ++x) row[x] = PicturePixel(int(n), x, y, shapes[n].Keyed);
      }
      if (shapes[n].Keyed) {
        dib->SetTransparentMode(TTransparentMode::tmFixed);
        dib->SetTransparentColor(0xFF00FF);
        dib->SetTransparent(true);
      }
      dib->Changed();
    }
  }

  TDIBBorderEdge& Edge(TSide side) {
    switch (side) {
      case sLeft: return *border->BorderLeft();
      case sRight: return *border->BorderRight();
      case sTop: return *border->BorderTop();
      default: return *border->BorderBottom();
    }
  }

  void SetEdge(TSide side, const TEdgeLayout& layout) {
    TDIBBorderEdge& edge = Edge(side);
    edge.ImageStart()->SetDIBIndex(layout.Start.value_or(-1));
    edge.ImageMiddle()->SetDIBIndex(layout.Middle.value_or(-1));
    edge.ImageEnd()->SetDIBIndex(layout.End.value_or(-1));
    edge.SetDrawStyle(layout.Stretch ? TDIBBorderDrawStyle::dsStretch : TDIBBorderDrawStyle::dsTile);
    edges[side] = layout;
  }

  // Draws the border into a poisoned target of the given size (clip: the
  // target's ClipRect, right and bottom exclusive) and compares every pixel.
  void ExpectFrame(int width, int height, const TRect& rect, std::optional<TRect> clip = {}) {
    TPtr<TMemoryDIB> target(TAbstractSuperDIB::CreateSize<TMemoryDIB>(uint16_t(width), uint16_t(height)));
    std::fill_n(reinterpret_cast<TPixel*>(target->Bits()), size_t(width) * height, kPoison);
    const TRect area = clip.value_or(TRect{0, 0, width, height});
    target->SetClipRect({area.Left, area.Top, area.Right - 1, area.Bottom - 1});
    border->Draw(*target, rect);

    const TRect inside{std::max(area.Left, rect.Left), std::max(area.Top, rect.Top), std::min(area.Right, rect.Right),
                       std::min(area.Bottom, rect.Bottom)};
    TReferenceFrame expected(width, height);
    ReferenceEdge(expected, pictures, edges[sLeft], sLeft, rect, inside);
    ReferenceEdge(expected, pictures, edges[sRight], sRight, rect, inside);
    const TRect between{rect.Left + Thickest(pictures, edges[sLeft]), rect.Top,
                        rect.Right - Thickest(pictures, edges[sRight]), rect.Bottom};
    ReferenceEdge(expected, pictures, edges[sTop], sTop, between, inside);
    ReferenceEdge(expected, pictures, edges[sBottom], sBottom, between, inside);

    int wrong = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const TPixel actual = target->Pixel(x, y);
        if (actual != expected.At(x, y) && ++wrong <= 5) {
          ADD_FAILURE() << "pixel (" << x << ", " << y << "): " << std::hex << actual << " instead of "
                        << expected.At(x, y);
        }
      }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(target->ClipRect(), (TRect{area.Left, area.Top, area.Right - 1, area.Bottom - 1})) << "clip restored";
  }

  TPtr<TDIBImageList> list{New<TDIBImageList>(nullptr)};
  TPtr<TDIBBorder> border{New<TDIBBorder>(nullptr)};
  std::vector<TPictureShape> pictures;
  std::array<TEdgeLayout, 4> edges;
};

TEST_F(BorderTest, EdgeSizesComeFromThePicturesOrFromSize) {
  AddPictures({{10, 6}, {14, 3}, {5, 9}});
  TDIBBorderEdge& left = *border->BorderLeft();
  EXPECT_EQ(left.GetSize(), 0) << "no valid picture";
  left.ImageStart()->SetDIBIndex(0);
  left.ImageEnd()->SetDIBIndex(1);
  EXPECT_EQ(left.GetSize(), 14) << "the widest picture of a vertical edge";
  left.ImageMiddle()->SetDIBIndex(7);
  EXPECT_EQ(left.GetSize(), 14) << "a link beyond the list counts for nothing";
  left.SetAutoCalcSize(false);
  EXPECT_EQ(left.GetSize(), 32);
  left.SetSize(5);
  EXPECT_EQ(left.GetSize(), 5);
  TDIBBorderEdge& top = *border->BorderTop();
  top.ImageMiddle()->SetDIBIndex(2);
  top.ImageEnd()->SetDIBIndex(0);
  EXPECT_EQ(top.GetSize(), 9) << "the tallest picture of a horizontal edge";
}

TEST_F(BorderTest, AnEdgeWithoutPicturesDrawsNothingWhateverItsSize) {
  AddPictures({{4, 4}});
  border->BorderLeft()->SetAutoCalcSize(false);
  border->BorderLeft()->SetSize(20);
  ExpectFrame(40, 30, {5, 5, 35, 25});
}

// Picture 1 is 16 high in a gap of 40: three tiles, the last one 8 rows.
TEST_F(BorderTest, FourTiledEdgesWithCorners) {
  AddPictures({{6, 5}, {7, 16}, {6, 7}, {9, 8}, {11, 4}, {5, 9}, {8, 3}, {3, 8}});
  SetEdge(sLeft, {0, 1, 2});
  SetEdge(sRight, {2, 1, 0});
  SetEdge(sTop, {3, 4, 5});
  SetEdge(sBottom, {6, 7, 3});
  ExpectFrame(90, 72, {8, 6, 80, 58});
}

TEST_F(BorderTest, MiddlesAloneFillTheWholeSide) {
  AddPictures({{5, 13}, {17, 4}});
  SetEdge(sLeft, {{}, 0, {}});
  SetEdge(sRight, {{}, 0, {}});
  SetEdge(sTop, {{}, 1, {}});
  SetEdge(sBottom, {{}, 1, {}});
  ExpectFrame(70, 60, {3, 4, 66, 57});
}

TEST_F(BorderTest, StretchedMiddlesFillTheGapInOnePiece) {
  AddPictures({{6, 1}, {1, 5}, {6, 4}, {3, 5}});
  SetEdge(sLeft, {2, 0, 2, true});
  SetEdge(sRight, {{}, 0, 2, true});
  SetEdge(sTop, {3, 1, 3, true});
  SetEdge(sBottom, {{}, 1, {}, true});
  ExpectFrame(64, 50, {2, 3, 61, 47});
  ExpectFrame(64, 50, {2, 3, 61, 47});  // the kept stretch bitmap serves again
}

// A keyed middle shows the background through its key, stretched as tiled.
TEST_F(BorderTest, KeyedPicturesKeepTheirKeyTiledAndStretched) {
  AddPictures({{6, 1, true}, {4, 9, true}, {5, 5, true}, {1, 7, true}});
  SetEdge(sLeft, {2, 1, 2});
  SetEdge(sRight, {{}, 0, {}, true});
  SetEdge(sTop, {{}, 0, {}});
  SetEdge(sBottom, {2, 3, 2, true});
  ExpectFrame(50, 44, {1, 2, 48, 41});
}

// Pictures larger than the rectangle, a rectangle reaching past the
// target, and a target clipped to an update rectangle: nothing lands
// outside either.
TEST_F(BorderTest, DrawingStaysInsideTheRectangleAndTheTargetsClip) {
  AddPictures({{12, 30}, {30, 12}, {4, 4}});
  SetEdge(sLeft, {0, 2, 0});
  SetEdge(sRight, {0, 2, {}});
  SetEdge(sTop, {1, 2, 1});
  SetEdge(sBottom, {{}, 2, 1});
  ExpectFrame(60, 50, {10, 10, 36, 30});
  ExpectFrame(60, 50, {-7, -5, 70, 61});
  ExpectFrame(60, 50, {0, 0, 60, 50}, TRect{9, 13, 31, 29});
}

TEST_F(BorderTest, ChangesAreAnnouncedAndAGoneListClearsEveryLink) {
  AddPictures({{4, 4}, {4, 4}});
  int changes = 0;
  struct TCounter : TObject {
    int* count;
    void Count(TObject*) { ++*count; }
  } counter;
  counter.count = &changes;
  border->OnChange = TNotifyEvent::Bind<&TCounter::Count>(&counter);
  border->BorderTop()->ImageMiddle()->SetDIBIndex(1);
  border->BorderTop()->SetSize(9);
  list->DIBImages()->Item(1)->DIB()->SetOpacity(100);
  EXPECT_EQ(changes, 3);
  list.reset();
  EXPECT_EQ(border->DIBImageList(), nullptr);
  EXPECT_EQ(border->BorderTop()->ImageMiddle()->DIBImageList(), nullptr);
  EXPECT_EQ(border->BorderTop()->GetSize(), 0);
}

class TBorderForm : public TDataModule {
  ZELK_CLASS(TBorderForm, TDataModule)
  explicit TBorderForm(TComponent* owner) : TDataModule(owner) {}
  void InitializeComponent() override {
    ReadRootResources(*this, TDataModule::StaticClass(), messages::kFormResourceNotFound);
  }
  TDIBBorder* Border = nullptr;
};

const TClassInfo& TBorderForm::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TBorderForm>("TBorderForm").Field("Border", &TBorderForm::Border).Build();
  return info;
}

TEST_F(BorderTest, ABorderIsReadWithItsEdgesAndItsList) {
  RegisterClasses({&TDIBBorder::StaticClass(), &TDIBImageList::StaticClass()});
  const std::vector<uint8_t> resource = CompileComponentText(R"(
object BorderForm: TBorderForm
  object Border: TDIBBorder
    BorderLeft.DrawStyle = dsStretch
    BorderLeft.ImageTop.DIBIndex = 1
    BorderRight.AutoCalcSize = False
    BorderRight.Size = 7
    BorderBottom.ImageRight.DIBIndex = 0
    DIBImageList = Images
  end
  object Images: TDIBImageList
    DIBImages = <
      item
        DIB.Width = 3
        DIB.Height = 5
      end
      item
        DIB.Width = 6
        DIB.Height = 2
      end>
  end
end
)");
  RegisterComponentResource("TBorderForm", resource);
  TPtr<TBorderForm> form(New<TBorderForm>(nullptr));
  UnregisterComponentResource("TBorderForm");
  TDIBBorder& read = *form->Border;
  EXPECT_EQ(read.BorderLeft()->DrawStyle(), TDIBBorderDrawStyle::dsStretch);
  EXPECT_EQ(read.BorderLeft()->GetSize(), 6);
  EXPECT_EQ(read.BorderRight()->GetSize(), 7);
  EXPECT_EQ(read.BorderBottom()->GetSize(), 5);
  EXPECT_EQ(read.BorderTop()->GetSize(), 0);
}

}  // namespace
}  // namespace zelk::tests
