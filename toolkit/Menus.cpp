#include "toolkit/Menus.h"

#include <algorithm>

#include "runtime/ClassBuilder.h"
#include "toolkit/MessageViews.h"

namespace zelk {

TShortCut ShortCut(uint16_t key, TShiftState shift) {
  if ((key & 0xFF00u) != 0) return scNone;
  TShortCut result = key;
  if (shift.Contains(TShiftFlag::ssShift)) result |= scShift;
  if (shift.Contains(TShiftFlag::ssCtrl)) result |= scCtrl;
  if (shift.Contains(TShiftFlag::ssAlt)) result |= scAlt;
  return result;
}

TShortCut ShortCutOfKey(const TMessage& keyMessage) {
  const TKeyMessageView key = KeyOf(keyMessage);
  return ShortCut(key.Key, key.Shift());
}

const TClassInfo& TMenuItem::StaticClass() {
  static const TClassInfo info = TClassBuilder<TMenuItem>("TMenuItem")
                                     .Property("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
                                     .Property("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled)
                                     .Default(true)
                                     .Property("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut)
                                     .Default(scNone)
                                     .Property("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible)
                                     .Default(true)
                                     .Property("OnClick", &TMenuItem::OnClick)
                                     .Build();
  return info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
  if (!HasState(csDestroying)) TMenuItem::BeforeDestruction();
}

void TMenuItem::BeforeDestruction() {
  if (HasState(csDestroying)) return;
  Destroying();
  if (parent_ != nullptr) parent_->Remove(this);
  // Sub-items go with their item, whoever owns them.
  while (!items_.empty()) TObject::Free(items_.back());
  FinishDestruction();
}

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (item == nullptr || item == this) return;
  if (item->parent_ != nullptr) item->parent_->Remove(item);
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
}

void TMenuItem::Remove(TMenuItem* item) {
  const auto found = std::find(items_.begin(), items_.end(), item);
  if (found == items_.end()) return;
  items_.erase(found);
  item->parent_ = nullptr;
}

void TMenuItem::Clear() {
  while (!items_.empty()) TObject::Free(items_.back());
}

TMenuItem* TMenuItem::FindShortCut(TShortCut shortCut) const {
  for (TMenuItem* item : items_) {
    if (!item->enabled_ || !item->visible_) continue;
    if (item->shortCut_ == shortCut) return item;
    if (TMenuItem* inner = item->FindShortCut(shortCut)) return inner;
  }
  return nullptr;
}

void TMenuItem::Click() {
  if (enabled_ && OnClick) OnClick(this);
}

TComponent* TMenuItem::GetParentComponent() const {
  if (parent_ != nullptr && parent_->menu_ != nullptr) return parent_->menu_;
  return parent_;
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  if (parent == nullptr) return;
  if (parent->Is<TMenu>()) {
    static_cast<TMenu*>(parent)->Items()->Add(this);
  } else if (parent->Is<TMenuItem>()) {
    static_cast<TMenuItem*>(parent)->Add(this);
  }
}

std::vector<TComponent*> TMenuItem::GetChildren(TComponent* root) const {
  std::vector<TComponent*> children;
  for (TMenuItem* item : items_) {
    if (item->Owner() == root) children.push_back(item);
  }
  return children;
}

const TClassInfo& TMenu::StaticClass() {
  static const TClassInfo info = TClassBuilder<TMenu>("TMenu").Build();
  return info;
}

// The root item belongs to the menu alone, outside the component tree.
TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(New<TMenuItem>(nullptr)) { items_->menu_ = this; }

TMenu::~TMenu() { TObject::Free(items_); }

bool TMenu::IsShortCut(TMessage& keyMessage) {
  const TShortCut shortCut = ShortCutOfKey(keyMessage);
  if (shortCut == scNone) return false;
  TMenuItem* item = items_->FindShortCut(shortCut);
  if (item == nullptr) return false;
  item->Click();
  return true;
}

std::vector<TComponent*> TMenu::GetChildren(TComponent* root) const { return items_->GetChildren(root); }

const TClassInfo& TPopupMenu::StaticClass() {
  static const TClassInfo info = TClassBuilder<TPopupMenu>("TPopupMenu").Build();
  return info;
}

}  // namespace zelk
