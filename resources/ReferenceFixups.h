// Component references read from a stream are names, resolved only after
// the whole root has been read, so that a reference may name a component
// that the stream declares later. Names whose first part names no component
// of the root but names another root ("OtherForm.List") wait in a
// process-wide list until a root of that name has loaded.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zelk {

class TCollection;
class TComponent;
class TObject;
class TPropInfo;

struct TReferenceFixup {
  TObject* Instance = nullptr;  // the object whose property receives the component
  const TPropInfo* Property = nullptr;
  std::string Name;          // the name path as stored
  std::string ObjectName;    // for error messages: the object being read
  std::string PropertyPath;  // for error messages: the property as stored
  // The collections whose items hold Instance; clearing one of them frees it.
  std::vector<const TCollection*> Collections;
};

// Walks a name path from root: parts are split at ".", "->" and "-" and
// looked up among the components owned by the current component (ignoring
// case); a part "Owner" that matches no component stands for the current
// component. Null when a part is not found.
TComponent* FindNestedComponent(TComponent& root, std::string_view path);

class TReferenceFixups {
 public:
  void Add(TReferenceFixup fixup) { fixups_.push_back(std::move(fixup)); }
  // Drops the references of objects inside the items of collection, which
  // is about to be cleared.
  void ForgetWithin(const TCollection& collection);
  // Assigns every reference that names a component of root, turns dotted
  // names whose first part names nothing into global references of root, and
  // leaves the other properties as they are. Setter errors become EReadError
  // "Fehler beim Lesen von ...". The list is empty afterwards.
  void Resolve(TComponent& root);
  void Clear() { fixups_.clear(); }
  size_t Count() const { return fixups_.size(); }

 private:
  std::vector<TReferenceFixup> fixups_;
};

// Resolves the global references whose root has loaded by now. An error of
// one reference is reported to the application and does not stop the others.
void ResolveGlobalReferences();
// Drops the global references collected while root was read.
void ForgetGlobalReferences(const TComponent& root);
// Drops the global references of objects inside the items of collection.
void ForgetGlobalReferencesWithin(const TCollection& collection);
size_t PendingGlobalReferenceCount();

}  // namespace zelk
