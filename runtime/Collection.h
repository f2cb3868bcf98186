// Owned collections of items of one item class. Changes announce themselves
// through Update; BeginUpdate/EndUpdate hold the announcements back and make
// one announcement at the end of the outermost bracket.
#pragma once

#include <string>
#include <vector>

#include "runtime/Persistent.h"

namespace zelk {

class TCollection;

class TCollectionItem : public TPersistent {
  ZELK_CLASS(TCollectionItem, TPersistent)

  explicit TCollectionItem(TCollection* collection);
  ~TCollectionItem() override;

  TCollection* Collection() const { return collection_; }
  // Moves the item to another collection (or out of any with null).
  void SetCollection(TCollection* collection);
  int Index() const;
  // Virtual so that collections whose items are referred to by index can
  // follow moves.
  virtual void SetIndex(int index);
  int ID() const { return id_; }
  virtual std::string DisplayName() const;
  virtual void SetDisplayName(const std::string& name);

  TPersistent* GetOwner() override;
  std::string GetNamePath() override;

 protected:
  // Announces a change of this item (allItems: of the whole collection).
  void Changed(bool allItems);

 private:
  friend class TCollection;
  TCollection* collection_ = nullptr;
  int id_ = 0;
};

class TCollection : public TPersistent {
  ZELK_CLASS(TCollection, TPersistent)

  TCollection(const TClassInfo& itemClass, TPersistent* owner = nullptr);
  ~TCollection() override;

  const TClassInfo& ItemClass() const { return itemClass_; }
  int Count() const { return static_cast<int>(items_.size()); }
  // Raises EListError for an index outside the collection.
  TCollectionItem* Item(int index) const;
  const std::vector<TCollectionItem*>& Items() const { return items_; }
  // Creates an item of the item class at the end.
  TCollectionItem* Add();
  TCollectionItem* Insert(int index);
  void Delete(int index);
  void Clear();
  TCollectionItem* FindItemID(int id) const;

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  // Copies the items of another collection of the same kind.
  void Assign(TPersistent* source) override;
  TPersistent* GetOwner() override { return owner_; }
  std::string GetNamePath() override;

 protected:
  // The change announcement: item is the changed item, or null for a change
  // of the whole collection. Called when no update bracket is open.
  virtual void Update(TCollectionItem* item) {}
  // Called when an item is added or is about to be removed.
  virtual void Added(TCollectionItem* item) {}
  virtual void Deleting(TCollectionItem* item) {}
  void Changed();

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* item);
  void RemoveItem(TCollectionItem* item);
  void ItemChanged(TCollectionItem* item);

  const TClassInfo& itemClass_;
  TPersistent* owner_;
  std::vector<TCollectionItem*> items_;
  int updateCount_ = 0;
  int nextId_ = 0;
};

}  // namespace zelk
