#include "dib/DIBImageLink.h"

#include "dib/DIBImageList.h"
#include "runtime/ClassBuilder.h"

namespace zelk {

const TClassInfo& TDIBImageLink::StaticClass() {
  using T = TDIBImageLink;
  static const TClassInfo info = TClassBuilder<T>("TDIBImageLink")
                                     .Property("DIBImageList", &T::DIBImageList, &T::SetDIBImageList)
                                     .Property("DIBIndex", &T::DIBIndex, &T::SetDIBIndex)
                                     .Build();
  return info;
}

TDIBImageLink::~TDIBImageLink() {
  if (imageList_ != nullptr) imageList_->RemoveLink(this);
}

void TDIBImageLink::SetDIBImageList(TCustomDIBImageList* list) {
  if (imageList_ != nullptr) imageList_->RemoveLink(this);
  imageList_ = list;
  if (imageList_ != nullptr) imageList_->AddLink(this);
}

void TDIBImageLink::SetDIBIndex(int32_t value) {
  const int32_t oldValue = dibIndex_;
  dibIndex_ = value;
  if (value != oldValue) Notify(value, TDIBImageOperation::ioChanged);
}

void TDIBImageLink::Notify(int32_t index, TDIBImageOperation operation) {
  const bool deleted = operation == TDIBImageOperation::ioDeleted;
  if (!deleted && index != dibIndex_) return;
  if (deleted && index > dibIndex_) return;
  if (OwnerDestroying()) return;
  if (deleted && index < dibIndex_) {
    --dibIndex_;
    return;
  }
  if (OnImageChanged) OnImageChanged(this, index, operation);
  if (deleted) dibIndex_ = -1;
}

bool TDIBImageLink::OwnerDestroying() const { return owner_ != nullptr && owner_->HasState(csDestroying); }

bool TDIBImageLink::GetImage(TAbstractSuperDIB*& dib) {
  dib = nullptr;
  return imageList_ != nullptr && imageList_->GetImage(dibIndex_, dib);
}

bool TDIBImageLink::IsValid() const { return imageList_ != nullptr && imageList_->IsIndexValid(dibIndex_); }

TPersistent* TDIBImageLink::GetOwner() { return owner_; }

void TDIBImageLink::AssignTo(TPersistent* dest) {
  auto* link = dynamic_cast<TDIBImageLink*>(dest);
  if (link == nullptr) {
    TPersistent::AssignTo(dest);
    return;
  }
  link->SetDIBIndex(dibIndex_);
  link->SetDIBImageList(imageList_);
}

}  // namespace zelk
