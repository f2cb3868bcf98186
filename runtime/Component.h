// Components: named persistent objects in an ownership tree. An owner frees
// the components it owns; names are valid identifiers, unique within the
// owner, and bind the owner's published field of the same name. Components
// that keep references to components owned elsewhere ask for a free
// notification and clear the reference when it arrives.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/Persistent.h"

namespace zelk {

enum TComponentStateFlag : uint32_t {
  csLoading = 1u << 0,     // from creation by a reader until LoadingFinished
  csReading = 1u << 1,     // while the reader reads its own properties
  csWriting = 1u << 2,
  csDestroying = 1u << 3,
  csDesigning = 1u << 4,
  csAncestor = 1u << 5,
  csFreeNotification = 1u << 6,
};

enum TComponentStyleFlag : uint32_t {
  csInheritable = 1u << 0,
  csSubComponent = 1u << 1,  // a component held by a property of its owner
};

enum class TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
  ZELK_CLASS(TComponent, TPersistent)

  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  const std::string& Name() const { return name_; }
  // Validates and sets the name ("''%s'' ist kein gültiger Komponentenname",
  // "Komponente mit der Bezeichnung %s existiert bereits").
  virtual void SetName(std::string_view newName);
  int32_t Tag() const { return tag_; }
  void SetTag(int32_t tag) { tag_ = tag; }

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Component(int index) const { return components_.at(static_cast<size_t>(index)); }
  const std::vector<TComponent*>& Components() const { return components_; }
  // The owned component of that name (compared without regard to case).
  TComponent* FindComponent(std::string_view name) const;
  virtual void InsertComponent(TComponent* component);
  virtual void RemoveComponent(TComponent* component);
  void DestroyComponents();

  uint32_t ComponentState() const { return state_; }
  bool HasState(uint32_t flags) const { return (state_ & flags) != 0; }
  void SetState(uint32_t flags) { state_ |= flags; }
  void ClearState(uint32_t flags) { state_ &= ~flags; }
  uint32_t ComponentStyle() const { return style_; }
  void SetSubComponent(bool isSubComponent);

  // Asks component to call Notification(this, opRemove) when it goes away,
  // and the other way round. The links may join components of two roots,
  // so they are made, dropped and followed under the roots lock.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  // The end of loading from a component stream; clears the loading mark.
  virtual void LoadingFinished();
  // The parent in the visual tree, for components that have one.
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* parent) {}
  // The children a writer stores under this component, in order.
  virtual std::vector<TComponent*> GetChildren(TComponent* root) const;
  // The component that becomes the parent of children read under this one.
  virtual TComponent* GetChildParent() { return this; }

  void DefineProperties(TFiler& filer) override;
  TPersistent* GetOwner() override { return owner_; }
  std::string GetNamePath() override;
  void BeforeDestruction() override;

  // Design-time position of a non-visual component ("Left"/"Top"); kept
  // without effect at run time.
  int32_t DesignLeft() const { return designLeft_; }
  int32_t DesignTop() const { return designTop_; }

 protected:
  virtual void Notification(TComponent* component, TOperation operation);
  virtual void ValidateRename(TComponent* component, std::string_view currentName, std::string_view newName);
  void Destroying();
  // Tells free-notification clients, frees the owned components and leaves
  // the owner; the second half of BeforeDestruction.
  void FinishDestruction();

 private:
  void Insert(TComponent* component);
  void Remove(TComponent* component);
  // Binds (or clears) the owner's published field named like this component.
  void SetReference(bool enable);
  void RemoveNotification(TComponent* component);

  std::string name_;
  int32_t tag_ = 0;
  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  uint32_t state_ = 0;
  uint32_t style_ = csInheritable;
  int32_t designLeft_ = 0;
  int32_t designTop_ = 0;
};

}  // namespace zelk
