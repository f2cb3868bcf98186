#include "runtime/Component.h"

#include <algorithm>

#include "runtime/ClassBuilder.h"
#include "runtime/Filer.h"
#include "runtime/RootsLock.h"
#include "runtime/Text.h"

namespace zelk {

const TClassInfo& TComponent::StaticClass() {
  static const TClassInfo info = TClassBuilder<TComponent>("TComponent")
                                     .Property("Name", &TComponent::Name, &TComponent::SetName)
                                     .Stored(false)
                                     .Property("Tag", &TComponent::Tag, &TComponent::SetTag)
                                     .Default(0)
                                     .Build();
  return info;
}

TComponent::TComponent(TComponent* owner) {
  if (owner != nullptr) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  // Free() has already run BeforeDestruction; a plain delete still unlinks.
  if (!HasState(csDestroying)) BeforeDestruction();
}

void TComponent::BeforeDestruction() {
  if (HasState(csDestroying)) return;
  Destroying();
  FinishDestruction();
}

void TComponent::FinishDestruction() {
  if (!freeNotifies_.empty()) {
    TRootsLock lock;
    while (!freeNotifies_.empty()) {
      TComponent* other = freeNotifies_.back();
      freeNotifies_.pop_back();
      // The other side may have asked to be told, and may be owned by us.
      other->RemoveNotification(this);
      other->Notification(this, TOperation::opRemove);
    }
  }
  DestroyComponents();
  if (owner_ != nullptr) owner_->RemoveComponent(this);
}

void TComponent::Destroying() { state_ |= csDestroying; }

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* child = components_.back();
    Remove(child);
    TObject::Free(child);
  }
}

void TComponent::SetName(std::string_view newName) {
  if (name_ == newName) return;
  if (!newName.empty() && !IsValidIdent(newName)) {
    throw EComponentError(FormatMessage(messages::kInvalidComponentName, newName));
  }
  if (owner_ != nullptr) {
    owner_->ValidateRename(this, name_, newName);
  } else {
    ValidateRename(nullptr, name_, newName);
  }
  SetReference(false);
  name_ = std::string(newName);
  SetReference(true);
}

void TComponent::ValidateRename(TComponent* component, std::string_view currentName, std::string_view newName) {
  if (component == nullptr || newName.empty() || SameText(currentName, newName)) return;
  if (TComponent* existing = FindComponent(newName); existing != nullptr && existing != component) {
    throw EComponentError(FormatMessage(messages::kDuplicateName, newName));
  }
}

void TComponent::SetReference(bool enable) {
  if (owner_ == nullptr || name_.empty()) return;
  if (const TFieldInfo* field = owner_->ClassType().FindField(name_)) field->Bind(*owner_, enable ? this : nullptr);
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* component : components_) {
    if (SameText(component->name_, name)) return component;
  }
  return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
  ValidateRename(component, {}, component->name_);
  Insert(component);
  component->SetReference(true);
  Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  Notification(component, TOperation::opRemove);
  component->SetReference(false);
  Remove(component);
}

void TComponent::Insert(TComponent* component) {
  components_.push_back(component);
  component->owner_ = this;
}

void TComponent::Remove(TComponent* component) {
  components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
  component->owner_ = nullptr;
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::opRemove && component != nullptr) RemoveFreeNotification(component);
  // Owned components hear of every insertion and removal in their owner.
  const std::vector<TComponent*> children = components_;
  for (TComponent* child : children) {
    if (child != component) child->Notification(component, operation);
  }
}

void TComponent::FreeNotification(TComponent* component) {
  if (component == nullptr || component == this) return;
  // Owner and owned components hear of each other anyway.
  if (owner_ == component || component->owner_ == this) return;
  TRootsLock lock;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end()) {
    freeNotifies_.push_back(component);
    component->FreeNotification(this);
  }
  state_ |= csFreeNotification;
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  TRootsLock lock;
  RemoveNotification(component);
  if (component != nullptr) component->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* component) {
  freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component), freeNotifies_.end());
}

void TComponent::SetSubComponent(bool isSubComponent) {
  style_ = isSubComponent ? (style_ | csSubComponent) : (style_ & ~csSubComponent);
}

void TComponent::LoadingFinished() { state_ &= ~csLoading; }

std::vector<TComponent*> TComponent::GetChildren(TComponent* root) const {
  // A root writes the components it owns that have no parent of their own.
  std::vector<TComponent*> children;
  if (root == this) {
    for (TComponent* component : components_) {
      if (!component->HasParent()) children.push_back(component);
    }
  }
  return children;
}

void TComponent::DefineProperties(TFiler& filer) {
  const bool hasPosition = designLeft_ != 0 || designTop_ != 0;
  filer.DefineProperty(
      "Left", [this](TValueReader& reader) { designLeft_ = static_cast<int32_t>(reader.ReadInteger()); },
      [this](TValueWriter& writer) { writer.WriteInteger(designLeft_); }, hasPosition);
  filer.DefineProperty(
      "Top", [this](TValueReader& reader) { designTop_ = static_cast<int32_t>(reader.ReadInteger()); },
      [this](TValueWriter& writer) { writer.WriteInteger(designTop_); }, hasPosition);
}

std::string TComponent::GetNamePath() { return name_; }

}  // namespace zelk
