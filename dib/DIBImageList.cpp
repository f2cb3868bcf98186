#include "dib/DIBImageList.h"

#include <algorithm>

#include "dib/DIBImageLink.h"
#include "runtime/ClassBuilder.h"

namespace zelk {

namespace {

TMemoryDIB* CreateBlankPicture() { return TAbstractSuperDIB::CreateSize<TMemoryDIB>(1, 1); }

// The new index of the image at index when the image at from moves to to.
int32_t IndexAfterMove(int32_t index, int32_t from, int32_t to) {
  if (index == from) return to;
  if (from < to && index > from && index <= to) return index - 1;
  if (from > to && index >= to && index < from) return index + 1;
  return index;
}

}  // namespace

const TClassInfo& TCustomDIBImageList::StaticClass() {
  using T = TCustomDIBImageList;
  static const TClassInfo info =
      TClassBuilder<T>("TCustomDIBImageList").Property("DIBImages", &T::DIBImages, &T::SetDIBImages).Build();
  return info;
}

const TClassInfo& TDIBImageList::StaticClass() {
  static const TClassInfo info = TClassBuilder<TDIBImageList>("TDIBImageList").Build();
  return info;
}

const TClassInfo& TCustomDIBImageList::GetDIBImagesItemClass() { return TDIBImagesItem::StaticClass(); }

TCustomDIBImageList::TCustomDIBImageList(TComponent* owner)
    : TCustomDIBImageList(owner, GetDIBImagesItemClass()) {}

TCustomDIBImageList::TCustomDIBImageList(TComponent* owner, const TClassInfo& itemClass)
    : TComponent(owner),
      images_(New<TDIBImages>(this, itemClass)),
      view_(CreateBlankPicture()),
      blank_(CreateBlankPicture()) {}

TCustomDIBImageList::~TCustomDIBImageList() {
  DetachLinks();
  images_.reset();
}

void TCustomDIBImageList::BeforeDestruction() {
  if (HasState(csDestroying)) return;
  DetachLinks();
  TComponent::BeforeDestruction();
}

void TCustomDIBImageList::DetachLinks() {
  while (!links_.empty()) {
    TDIBImageLink* link = links_.back();
    links_.pop_back();
    link->imageList_ = nullptr;
  }
}

void TCustomDIBImageList::SetDIBImages(TDIBImages* source) { images_->Assign(source); }

bool TCustomDIBImageList::IsIndexValid(int32_t index) const { return index >= 0 && index < images_->Count(); }

bool TCustomDIBImageList::GetImage(int32_t index, TAbstractSuperDIB*& dib) {
  dib = nullptr;
  if (!IsIndexValid(index)) return false;
  TDIBImagesItem* item = images_->Item(index);
  const int itemID = item->ID();
  TMemoryDIB* picture = item->DIB();
  // Handlers of a load's change notification may have deleted the image.
  if (!IsIndexValid(index) || images_->Item(index)->ID() != itemID || !picture->HasBits()) return false;
  view_->ShareFrom(*picture);
  dib = view_.get();
  return true;
}

void TCustomDIBImageList::ShowBlankView() { view_->ShareFrom(*blank_); }

void TCustomDIBImageList::AddLink(TDIBImageLink* link) {
  if (link == nullptr) return;
  if (std::find(links_.begin(), links_.end(), link) == links_.end()) links_.push_back(link);
  for (int32_t index = 0; index < images_->Count(); ++index) link->Notify(index, TDIBImageOperation::ioChanged);
}

void TCustomDIBImageList::RemoveLink(TDIBImageLink* link) {
  links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end());
}

void TCustomDIBImageList::ImageChanged(TObject*, int32_t index, TDIBImageOperation operation) {
  ShowBlankView();
  // A handler may detach links (or free their controls): only links still
  // attached hear of the change.
  const std::vector<TDIBImageLink*> links = links_;
  for (TDIBImageLink* link : links) {
    if (std::find(links_.begin(), links_.end(), link) != links_.end()) link->Notify(index, operation);
  }
}

void TCustomDIBImageList::ImageResized(int32_t) { ShowBlankView(); }

void TCustomDIBImageList::ImageMoved(int32_t fromIndex, int32_t toIndex) {
  for (TDIBImageLink* link : links_) link->dibIndex_ = IndexAfterMove(link->dibIndex_, fromIndex, toIndex);
}

void TCustomDIBImageList::LoadingFinished() {
  TComponent::LoadingFinished();
  for (int32_t index = 0; index < images_->Count(); ++index) {
    TDIBImagesItem* item = images_->Item(index);
    if (item->ImageRetrieval() == TDIBImageRetrieval::irLoadOnStart) item->LoadImage();
  }
}

}  // namespace zelk
