// TDIBBorder: four edges of pictures drawn around a container's area. Each
// edge has a start, a middle and an end picture (links to the border's
// DIBImageList); the middle fills the gap between start and end, tiled or
// stretched. The container shrinks the area it aligns its children in by the
// four edges' GetSize and draws the border under or over its controls.
//
// The container's call, with its buffer clipped to the update rectangle:
//
//   if (border != nullptr) border->Draw(buffer, TRect{0, 0, Width(), Height()});
//
// Draw paints the left and right edges over the whole rectangle, then the top
// and bottom edges between them (the rectangle shrunk by the largest picture
// widths of the left and right edges, whatever their AutoCalcSize). Nothing
// is drawn outside the rectangle or outside the target's ClipRect. A
// stretched middle is resampled into a bitmap the edge keeps, so drawing
// again at the same size allocates nothing.
//
// OnChange fires when anything that Draw or GetSize depends on changes (an
// edge's setting, a link, a picture of the list); the container may bind it
// to re-align and repaint. Everything runs on the window thread.
#pragma once

#include <cstdint>
#include <memory>

#include "dib/DIBImageLink.h"
#include "runtime/Component.h"
#include "runtime/Event.h"
#include "runtime/TypeInfo.h"
#include "runtime/Types.h"

namespace zelk {

class TAbstractSuperDIB;
class TCustomDIBImageList;
class TDIBBorder;
class TMemoryDIB;

enum class TDIBBorderDrawStyle : uint8_t { dsTile, dsStretch };
ZELK_ENUM_NAMES(TDIBBorderDrawStyle, "dsTile", "dsStretch")

// Which side an edge draws; fixed at creation.
enum class TDIBBorderEdgeKind : uint8_t { ekLeft, ekRight, ekTop, ekBottom };

class TDIBBorderEdge : public TPersistent {
  ZELK_CLASS(TDIBBorderEdge, TPersistent)

  TDIBBorderEdge(TDIBBorder* border, TDIBBorderEdgeKind kind);
  ~TDIBBorderEdge() override;

  TDIBBorderEdgeKind Kind() const { return kind_; }
  bool IsVertical() const { return kind_ == TDIBBorderEdgeKind::ekLeft || kind_ == TDIBBorderEdgeKind::ekRight; }

  // Published by the two edge classes: AutoCalcSize (default true),
  // DrawStyle (dsTile), Size (32) and the three links.
  bool AutoCalcSize() const { return autoCalcSize_; }
  void SetAutoCalcSize(bool value);
  TDIBBorderDrawStyle DrawStyle() const { return drawStyle_; }
  void SetDrawStyle(TDIBBorderDrawStyle value);
  int32_t Size() const { return size_; }
  void SetSize(int32_t value);
  // Start (top or left), middle, end (bottom or right). Writing copies.
  TDIBImageLink* ImageStart() const { return start_.get(); }
  void SetImageStart(TDIBImageLink* source) { start_->Assign(source); }
  TDIBImageLink* ImageMiddle() const { return middle_.get(); }
  void SetImageMiddle(TDIBImageLink* source) { middle_->Assign(source); }
  TDIBImageLink* ImageEnd() const { return end_.get(); }
  void SetImageEnd(TDIBImageLink* source) { end_->Assign(source); }

  // AutoCalcSize: CalculatedSize; otherwise Size.
  int32_t GetSize() const;
  // The largest width (left and right edges) or height (top and bottom
  // edges) of the edge's valid pictures; 0 without any.
  int32_t CalculatedSize() const;
  // Whether any of the three links names a picture of the list.
  bool HasImages() const;
  // Draws the edge along its side of rect; nothing without a valid picture.
  void Draw(TAbstractSuperDIB& target, const TRect& rect);

  void SetImageList(TCustomDIBImageList* list);
  // Copies the settings and the links of another edge.
  void Assign(TPersistent* source) override;
  TPersistent* GetOwner() override;

 private:
  std::unique_ptr<TDIBImageLink, TFreeObject> MakeLink();
  void LinkChanged(TObject* sender, int32_t index, TDIBImageOperation operation);
  void Changed();
  // Extent along the edge (height of a vertical edge's picture, width of a
  // horizontal one's) and across it; 0 for an invalid link.
  int32_t LengthOf(TDIBImageLink& link) const;
  int32_t ThicknessOf(TDIBImageLink& link) const;
  void DrawPicture(TDIBImageLink& link, TAbstractSuperDIB& target, const TRect& rect, int32_t along);
  void DrawMiddle(TAbstractSuperDIB& target, const TRect& rect, int32_t from, int32_t length);

  TDIBBorder* border_;
  TDIBBorderEdgeKind kind_;
  bool autoCalcSize_ = true;
  TDIBBorderDrawStyle drawStyle_ = TDIBBorderDrawStyle::dsTile;
  std::unique_ptr<TDIBImageLink, TFreeObject> start_;
  std::unique_ptr<TDIBImageLink, TFreeObject> end_;
  std::unique_ptr<TDIBImageLink, TFreeObject> middle_;
  int32_t size_ = 32;
  // The stretched middle, kept for the next frame.
  std::unique_ptr<TMemoryDIB, TFreeObject> stretched_;
};

// Publishes ImageLeft, ImageMiddle, ImageRight.
class TDIBHorzBorderEdge : public TDIBBorderEdge {
  ZELK_CLASS(TDIBHorzBorderEdge, TDIBBorderEdge)
  using TDIBBorderEdge::TDIBBorderEdge;
};

// Publishes ImageTop, ImageMiddle, ImageBottom.
class TDIBVertBorderEdge : public TDIBBorderEdge {
  ZELK_CLASS(TDIBVertBorderEdge, TDIBBorderEdge)
  using TDIBBorderEdge::TDIBBorderEdge;
};

class TDIBBorder : public TComponent {
  ZELK_CLASS(TDIBBorder, TComponent)

  explicit TDIBBorder(TComponent* owner);
  ~TDIBBorder() override;

  // Published; writing copies the source edge.
  TDIBHorzBorderEdge* BorderTop() const { return top_.get(); }
  void SetBorderTop(TDIBHorzBorderEdge* source) { top_->Assign(source); }
  TDIBHorzBorderEdge* BorderBottom() const { return bottom_.get(); }
  void SetBorderBottom(TDIBHorzBorderEdge* source) { bottom_->Assign(source); }
  TDIBVertBorderEdge* BorderLeft() const { return left_.get(); }
  void SetBorderLeft(TDIBVertBorderEdge* source) { left_->Assign(source); }
  TDIBVertBorderEdge* BorderRight() const { return right_.get(); }
  void SetBorderRight(TDIBVertBorderEdge* source) { right_->Assign(source); }
  // Published; free-notified. Sets the list of all twelve links.
  TCustomDIBImageList* DIBImageList() const { return imageList_; }
  void SetDIBImageList(TCustomDIBImageList* list);

  // See the top of this file.
  void Draw(TAbstractSuperDIB& target, const TRect& rect);

  TNotifyEvent OnChange;
  // Fires OnChange.
  void Changed();

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TCustomDIBImageList* imageList_ = nullptr;
  std::unique_ptr<TDIBHorzBorderEdge, TFreeObject> top_;
  std::unique_ptr<TDIBHorzBorderEdge, TFreeObject> bottom_;
  std::unique_ptr<TDIBVertBorderEdge, TFreeObject> left_;
  std::unique_ptr<TDIBVertBorderEdge, TFreeObject> right_;
};

}  // namespace zelk
