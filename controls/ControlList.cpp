#include "controls/ControlList.h"

#include "controls/ControlErrors.h"
#include "runtime/ClassBuilder.h"

namespace zelk {

const TClassInfo& TControlItem::StaticClass() {
  using T = TControlItem;
  static const TClassInfo info =
      TClassBuilder<T>("TControlItem").Property("Control", &T::Control, &T::SetControl).Build();
  return info;
}

const TClassInfo& TControlList::StaticClass() {
  static const TClassInfo info = TClassBuilder<TControlList>("TControlList").Build();
  return info;
}

TControlItem::TControlItem(TCollection* collection) : TCollectionItem(collection) {}

TControlItem::~TControlItem() {
  TComponent* listener = Listener();
  if (control_ != nullptr && listener != nullptr) control_->RemoveFreeNotification(listener);
}

TControlList* TControlItem::List() const { return dynamic_cast<TControlList*>(Collection()); }

TComponent* TControlItem::Listener() const {
  TCollection* collection = Collection();
  return collection != nullptr ? dynamic_cast<TComponent*>(collection->GetOwner()) : nullptr;
}

void TControlItem::SetControl(TControl* control) {
  if (control == nullptr) throw EFeatureError("You cannot set Control to nil");
  if (control == control_) return;
  if (TControlList* list = List(); list != nullptr && list->Find(control) != nullptr) {
    throw EFeatureError("Control already exists in list.");
  }
  TComponent* listener = Listener();
  if (control_ != nullptr && listener != nullptr) control_->RemoveFreeNotification(listener);
  control_ = control;
  if (listener != nullptr) control_->FreeNotification(listener);
  Changed(false);
}

std::string TControlItem::DisplayName() const {
  if (control_ == nullptr) return TCollectionItem::DisplayName();
  if (!control_->Name().empty()) return control_->Name();
  return std::string(control_->ClassType().Name());
}

void TControlItem::Assign(TPersistent* source) {
  if (auto* item = dynamic_cast<TControlItem*>(source)) {
    SetControl(item->control_);
    return;
  }
  TCollectionItem::Assign(source);
}

TControlList::TControlList(TComponent* owner) : TCollection(TControlItem::StaticClass(), owner) {}

TControlList::~TControlList() {
  // The items drop their free notifications while the list is still whole.
  BeginUpdate();
  Clear();
}

TControlItem* TControlList::Find(const TControl* control) const {
  for (TCollectionItem* item : Items()) {
    auto* controlItem = static_cast<TControlItem*>(item);
    if (controlItem->control_ == control) return controlItem;
  }
  return nullptr;
}

void TControlList::RemoveControl(TComponent* component) {
  for (int index = Count() - 1; index >= 0; --index) {
    TControlItem* item = Item(index);
    if (item->control_ != component) continue;
    // The control is going: it no longer keeps the link.
    item->Forget();
    Delete(index);
  }
}

}  // namespace zelk
