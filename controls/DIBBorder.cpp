#include "controls/DIBBorder.h"

#include <algorithm>

#include "dib/DIBImageList.h"
#include "dib/MemoryDIB.h"
#include "runtime/ClassBuilder.h"

namespace zelk {

namespace {

// The largest bitmap side.
constexpr int32_t kMaxSide = 65535;

// Puts the target's ClipRect back however drawing ends.
class TClipScope {
 public:
  explicit TClipScope(TAbstractSuperDIB& target) : target_(target), saved_(target.ClipRect()) {}
  ~TClipScope() { target_.SetClipRect(saved_); }
  TClipScope(const TClipScope&) = delete;
  TClipScope& operator=(const TClipScope&) = delete;
  const TRect& Saved() const { return saved_; }

 private:
  TAbstractSuperDIB& target_;
  TRect saved_;
};

}  // namespace

// --- TDIBBorderEdge ---

const TClassInfo& TDIBBorderEdge::StaticClass() {
  static const TClassInfo info = TClassBuilder<TDIBBorderEdge>("TDIBBorderEdge").Build();
  return info;
}

const TClassInfo& TDIBHorzBorderEdge::StaticClass() {
  using T = TDIBHorzBorderEdge;
  static const TClassInfo info = TClassBuilder<T>("TDIBHorzBorderEdge")
                                     .Property("AutoCalcSize", &T::AutoCalcSize, &T::SetAutoCalcSize)
                                     .Default(true)
                                     .Property("DrawStyle", &T::DrawStyle, &T::SetDrawStyle)
                                     .Default(TDIBBorderDrawStyle::dsTile)
                                     .Property("ImageLeft", &T::ImageStart, &T::SetImageStart)
                                     .Property("ImageMiddle", &T::ImageMiddle, &T::SetImageMiddle)
                                     .Property("ImageRight", &T::ImageEnd, &T::SetImageEnd)
                                     .Property("Size", &T::Size, &T::SetSize)
                                     .Default(32)
                                     .Build();
  return info;
}

const TClassInfo& TDIBVertBorderEdge::StaticClass() {
  using T = TDIBVertBorderEdge;
  static const TClassInfo info = TClassBuilder<T>("TDIBVertBorderEdge")
                                     .Property("AutoCalcSize", &T::AutoCalcSize, &T::SetAutoCalcSize)
                                     .Default(true)
                                     .Property("DrawStyle", &T::DrawStyle, &T::SetDrawStyle)
                                     .Default(TDIBBorderDrawStyle::dsTile)
                                     .Property("ImageTop", &T::ImageStart, &T::SetImageStart)
                                     .Property("ImageMiddle", &T::ImageMiddle, &T::SetImageMiddle)
                                     .Property("ImageBottom", &T::ImageEnd, &T::SetImageEnd)
                                     .Property("Size", &T::Size, &T::SetSize)
                                     .Default(32)
                                     .Build();
  return info;
}

TDIBBorderEdge::TDIBBorderEdge(TDIBBorder* border, TDIBBorderEdgeKind kind)
    : border_(border), kind_(kind), start_(MakeLink()), end_(MakeLink()), middle_(MakeLink()) {}

TDIBBorderEdge::~TDIBBorderEdge() = default;

std::unique_ptr<TDIBImageLink, TFreeObject> TDIBBorderEdge::MakeLink() {
  std::unique_ptr<TDIBImageLink, TFreeObject> link(New<TDIBImageLink>(border_));
  link->OnImageChanged = TDIBImageChangedEvent::Bind<&TDIBBorderEdge::LinkChanged>(this);
  return link;
}

void TDIBBorderEdge::LinkChanged(TObject*, int32_t, TDIBImageOperation) { Changed(); }

void TDIBBorderEdge::Changed() {
  if (border_ != nullptr) border_->Changed();
}

void TDIBBorderEdge::SetAutoCalcSize(bool value) {
  if (value == autoCalcSize_) return;
  autoCalcSize_ = value;
  Changed();
}

void TDIBBorderEdge::SetDrawStyle(TDIBBorderDrawStyle value) {
  if (value == drawStyle_) return;
  drawStyle_ = value;
  if (value != TDIBBorderDrawStyle::dsStretch) stretched_.reset();
  Changed();
}

void TDIBBorderEdge::SetSize(int32_t value) {
  if (value == size_) return;
  size_ = value;
  Changed();
}

void TDIBBorderEdge::SetImageList(TCustomDIBImageList* list) {
  for (TDIBImageLink* link : {start_.get(), end_.get(), middle_.get()}) link->SetDIBImageList(list);
}

int32_t TDIBBorderEdge::LengthOf(TDIBImageLink& link) const {
  TAbstractSuperDIB* image = nullptr;
  if (!link.GetImage(image)) return 0;
  return IsVertical() ? image->Height() : image->Width();
}

int32_t TDIBBorderEdge::ThicknessOf(TDIBImageLink& link) const {
  TAbstractSuperDIB* image = nullptr;
  if (!link.GetImage(image)) return 0;
  return IsVertical() ? image->Width() : image->Height();
}

int32_t TDIBBorderEdge::CalculatedSize() const {
  return std::max({ThicknessOf(*start_), ThicknessOf(*middle_), ThicknessOf(*end_)});
}

int32_t TDIBBorderEdge::GetSize() const { return autoCalcSize_ ? CalculatedSize() : size_; }

bool TDIBBorderEdge::HasImages() const { return start_->IsValid() || middle_->IsValid() || end_->IsValid(); }

// The picture's corner across the edge: at the rectangle's left or top, or
// against its right or bottom.
void TDIBBorderEdge::DrawPicture(TDIBImageLink& link, TAbstractSuperDIB& target, const TRect& rect, int32_t along) {
  TAbstractSuperDIB* image = nullptr;
  if (!link.GetImage(image)) return;
  const int32_t width = image->Width();
  const int32_t height = image->Height();
  switch (kind_) {
    case TDIBBorderEdgeKind::ekLeft:
      return image->Draw(rect.Left, along, width, height, target, 0, 0);
    case TDIBBorderEdgeKind::ekRight:
      return image->Draw(rect.Right - width, along, width, height, target, 0, 0);
    case TDIBBorderEdgeKind::ekTop:
      return image->Draw(along, rect.Top, width, height, target, 0, 0);
    case TDIBBorderEdgeKind::ekBottom:
      return image->Draw(along, rect.Bottom - height, width, height, target, 0, 0);
  }
}

void TDIBBorderEdge::DrawMiddle(TAbstractSuperDIB& target, const TRect& rect, int32_t from, int32_t length) {
  TAbstractSuperDIB* image = nullptr;
  if (length <= 0 || !middle_->GetImage(image)) return;
  const bool vertical = IsVertical();
  const int32_t imageLength = vertical ? image->Height() : image->Width();
  const int32_t thickness = vertical ? image->Width() : image->Height();
  const int32_t across = kind_ == TDIBBorderEdgeKind::ekLeft    ? rect.Left
                         : kind_ == TDIBBorderEdgeKind::ekRight ? rect.Right - thickness
                         : kind_ == TDIBBorderEdgeKind::ekTop   ? rect.Top
                                                                : rect.Bottom - thickness;
  const auto drawAt = [&](TAbstractSuperDIB& picture, int32_t along, int32_t extent) {
    if (vertical) {
      picture.Draw(across, along, thickness, extent, target, 0, 0);
    } else {
      picture.Draw(along, across, extent, thickness, target, 0, 0);
    }
  };
  if (drawStyle_ == TDIBBorderDrawStyle::dsTile) {
    for (int32_t along = from, left = length; left > 0 && imageLength > 0; along += imageLength, left -= imageLength) {
      drawAt(*image, along, std::min(left, imageLength));
    }
    return;
  }
  // The stretched copy blends like the picture itself: same opacity, mask
  // and colour key.
  const auto extent = static_cast<uint16_t>(std::min(length, kMaxSide));
  if (stretched_ == nullptr) stretched_.reset(New<TMemoryDIB>());
  stretched_->SetSize(vertical ? static_cast<uint16_t>(thickness) : extent,
                      vertical ? extent : static_cast<uint16_t>(thickness));
  stretched_->StretchFrom(*image);
  image->AssignPropertiesTo(stretched_.get());
  stretched_->UpdateDrawProc();
  drawAt(*stretched_, from, extent);
}

void TDIBBorderEdge::Draw(TAbstractSuperDIB& target, const TRect& rect) {
  if (!HasImages()) return;
  const bool vertical = IsVertical();
  const int32_t first = vertical ? rect.Top : rect.Left;
  const int32_t last = vertical ? rect.Bottom : rect.Right;
  // The pictures' lengths are read one at a time: the list shows one
  // picture at a time through its view.
  const int32_t startLength = LengthOf(*start_);
  const int32_t endLength = LengthOf(*end_);
  DrawMiddle(target, rect, first + startLength, last - first - startLength - endLength);
  DrawPicture(*start_, target, rect, first);
  DrawPicture(*end_, target, rect, last - endLength);
}

void TDIBBorderEdge::Assign(TPersistent* source) {
  auto* edge = dynamic_cast<TDIBBorderEdge*>(source);
  if (edge == nullptr) {
    TPersistent::Assign(source);
    return;
  }
  SetAutoCalcSize(edge->autoCalcSize_);
  SetDrawStyle(edge->drawStyle_);
  SetSize(edge->size_);
  start_->Assign(edge->start_.get());
  middle_->Assign(edge->middle_.get());
  end_->Assign(edge->end_.get());
}

TPersistent* TDIBBorderEdge::GetOwner() { return border_; }

// --- TDIBBorder ---

const TClassInfo& TDIBBorder::StaticClass() {
  using T = TDIBBorder;
  static const TClassInfo info = TClassBuilder<T>("TDIBBorder")
                                     .Property("BorderBottom", &T::BorderBottom, &T::SetBorderBottom)
                                     .Property("BorderLeft", &T::BorderLeft, &T::SetBorderLeft)
                                     .Property("BorderRight", &T::BorderRight, &T::SetBorderRight)
                                     .Property("BorderTop", &T::BorderTop, &T::SetBorderTop)
                                     .Property("DIBImageList", &T::DIBImageList, &T::SetDIBImageList)
                                     .Build();
  return info;
}

TDIBBorder::TDIBBorder(TComponent* owner)
    : TComponent(owner),
      top_(New<TDIBHorzBorderEdge>(this, TDIBBorderEdgeKind::ekTop)),
      bottom_(New<TDIBHorzBorderEdge>(this, TDIBBorderEdgeKind::ekBottom)),
      left_(New<TDIBVertBorderEdge>(this, TDIBBorderEdgeKind::ekLeft)),
      right_(New<TDIBVertBorderEdge>(this, TDIBBorderEdgeKind::ekRight)) {}

TDIBBorder::~TDIBBorder() { SetDIBImageList(nullptr); }

void TDIBBorder::SetDIBImageList(TCustomDIBImageList* list) {
  if (list == imageList_) return;
  if (imageList_ != nullptr) imageList_->RemoveFreeNotification(this);
  imageList_ = list;
  for (TDIBBorderEdge* edge : {static_cast<TDIBBorderEdge*>(left_.get()), static_cast<TDIBBorderEdge*>(right_.get()),
                               static_cast<TDIBBorderEdge*>(top_.get()), static_cast<TDIBBorderEdge*>(bottom_.get())}) {
    edge->SetImageList(list);
  }
  if (imageList_ != nullptr) imageList_->FreeNotification(this);
  Changed();
}

void TDIBBorder::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component != nullptr && component == imageList_) {
    SetDIBImageList(nullptr);
  }
}

void TDIBBorder::Changed() {
  if (OnChange && !HasState(csDestroying | csLoading)) OnChange(this);
}

void TDIBBorder::Draw(TAbstractSuperDIB& target, const TRect& rect) {
  TClipScope clip(target);
  const TRect& saved = clip.Saved();
  // Inclusive clip: the rectangle's right and bottom are exclusive.
  const TRect inside{std::max(saved.Left, rect.Left), std::max(saved.Top, rect.Top),
                     std::min(saved.Right, rect.Right - 1), std::min(saved.Bottom, rect.Bottom - 1)};
  if (inside.Left > inside.Right || inside.Top > inside.Bottom) return;
  target.SetClipRect(inside);
  left_->Draw(target, rect);
  right_->Draw(target, rect);
  const TRect between{rect.Left + left_->CalculatedSize(), rect.Top, rect.Right - right_->CalculatedSize(),
                      rect.Bottom};
  top_->Draw(target, between);
  bottom_->Draw(target, between);
}

}  // namespace zelk
