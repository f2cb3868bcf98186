// Attached controls: a TControlList names the controls that move together
// with the control that owns the list (the owner moves them by the delta of
// its own moves). Each control appears at most once in a list.
//
// Every item asks its control for a free notification on behalf of the
// list's owner component. The owner must answer that notification with
// RemoveControl, which frees the items of the control that goes:
//
//   void TMyControl::Notification(TComponent* component, TOperation operation) {
//     TControl::Notification(component, operation);
//     if (operation == TOperation::opRemove && component != this) attached_->RemoveControl(component);
//   }
#pragma once

#include "runtime/Collection.h"
#include "toolkit/Control.h"

namespace zelk {

class TControlList;

class TControlItem : public TCollectionItem {
  ZELK_CLASS(TControlItem, TCollectionItem)

  explicit TControlItem(TCollection* collection);
  ~TControlItem() override;

  // Published. A new item holds none. Raises EFeatureError "You cannot set
  // Control to nil" for null and "Control already exists in list." for a
  // control that another item of the same list holds.
  TControl* Control() const { return control_; }
  void SetControl(TControl* control);

  // The control's name, else its class name, else the collection's default.
  std::string DisplayName() const override;
  // Copies another item's control through SetControl's checks.
  void Assign(TPersistent* source) override;

 private:
  friend class TControlList;
  TControlList* List() const;
  // The list's owner component, which hears the control's free notification.
  TComponent* Listener() const;
  // Forgets the control without asking it for anything (it is going away).
  void Forget() { control_ = nullptr; }

  TControl* control_ = nullptr;
};

class TControlList : public TCollection {
  ZELK_CLASS(TControlList, TCollection)

  // owner: the control whose attached controls the list holds.
  explicit TControlList(TComponent* owner);
  ~TControlList() override;

  TControlItem* Item(int index) const { return static_cast<TControlItem*>(TCollection::Item(index)); }
  TControlItem* Add() { return static_cast<TControlItem*>(TCollection::Add()); }
  // The item holding control, or null.
  TControlItem* Find(const TControl* control) const;
  // Frees every item whose control is component, from the last to the first.
  void RemoveControl(TComponent* component);
};

}  // namespace zelk
