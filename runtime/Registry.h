// TRegistry: the one implementation behind the process-wide registries
// (component classes, picture loaders, image formats, compressors).
//
// An ordered list of objects, filled at library start on the loading thread
// and only read afterwards; not synchronised. The same rules hold for every
// registry built on it:
// - Add appends. Null, or an object that is already registered, is refused
//   (Add answers false and nothing changes): a registry that owns its
//   objects would otherwise free that object twice.
// - Remove takes one object out (freeing it when the registry owns it);
//   Clear takes out all of them and frees them in registration order.
// - FindFirst searches in registration order, FindLatest from the most
//   recently registered object back to the first; each registry chooses the
//   order its lookups promise.
//
// TDeleter says what happens to an object that leaves the registry:
// TKeepObject leaves it alone (the registry only refers to it), TFreeObject
// or std::default_delete free it (the registry owns it).
#pragma once

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <vector>

namespace zelk {

// The deleter of a registry that does not own its objects.
struct TKeepObject {
  template <class T>
  void operator()(T*) const {}
};

template <class T, class TDeleter = TKeepObject>
class TRegistry {
 public:
  TRegistry() = default;
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  // False for null or an object already registered; the registry then takes
  // nothing over.
  bool Add(T* object) {
    if (object == nullptr || Contains(object)) return false;
    entries_.emplace_back(object);
    return true;
  }

  // False when object is not registered.
  bool Remove(const T* object) {
    const auto found = Position(object);
    if (found == entries_.end()) return false;
    // Out of the list before it is freed, so that its destructor never sees
    // itself registered.
    TEntry leaving = std::move(entries_[static_cast<size_t>(found - entries_.begin())]);
    entries_.erase(found);
    return true;
  }

  // Frees (when owning) in registration order, after the list is empty.
  void Clear() {
    std::vector<TEntry> leaving;
    leaving.swap(entries_);
    for (TEntry& entry : leaving) entry.reset();
  }

  bool Contains(const T* object) const { return Position(object) != entries_.end(); }
  int Count() const { return static_cast<int>(entries_.size()); }

  // Raises std::out_of_range for an index outside the list.
  T* At(int index) const {
    if (index < 0 || index >= Count()) throw std::out_of_range("TRegistry::At");
    return entries_[static_cast<size_t>(index)].get();
  }

  // The first object in registration order for which matches(object) holds, or null.
  template <class TPredicate>
  T* FindFirst(TPredicate matches) const {
    for (const auto& entry : entries_) {
      if (matches(*entry)) return entry.get();
    }
    return nullptr;
  }

  // The most recently registered object for which matches(object) holds, or null.
  template <class TPredicate>
  T* FindLatest(TPredicate matches) const {
    for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry) {
      if (matches(**entry)) return entry->get();
    }
    return nullptr;
  }

 private:
  using TEntry = std::unique_ptr<T, TDeleter>;

  auto Position(const T* object) const {
    return std::find_if(entries_.begin(), entries_.end(), [object](const TEntry& entry) { return entry.get() == object; });
  }

  std::vector<TEntry> entries_;
};

}  // namespace zelk
