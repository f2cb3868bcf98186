#include "resources/ReferenceFixups.h"

#include <algorithm>

#include "runtime/Application.h"
#include "runtime/ClassInfo.h"
#include "runtime/Collection.h"
#include "runtime/Component.h"
#include "runtime/Exceptions.h"
#include "runtime/Messages.h"
#include "runtime/RootsLock.h"
#include "runtime/Text.h"

namespace zelk {

namespace {

// The next part of a name path and the rest after its separator.
std::string_view NextPart(std::string_view& path) {
  size_t at = 0;
  while (at < path.size() && path[at] != '.' && path[at] != '-') ++at;
  const std::string_view part = path.substr(0, at);
  size_t separator = 0;
  if (at < path.size()) separator = (path[at] == '-' && at + 1 < path.size() && path[at + 1] == '>') ? 2 : 1;
  path.remove_prefix(std::min(path.size(), at + separator));
  return part;
}

void Assign(const TReferenceFixup& fixup, TComponent* component) {
  try {
    fixup.Property->Set(*fixup.Instance, TValue{static_cast<TObject*>(component)});
  } catch (const Exception& error) {
    throw EReadError(FormatMessage(messages::kReadingError,
                                   {fixup.ObjectName, ".", fixup.PropertyPath, error.Message()}));
  }
}

struct TGlobalReference {
  const TComponent* Root;  // the root that was read
  std::string TargetRoot;
  std::string Rest;
  TReferenceFixup Fixup;
};

// Shared by every root, so read and changed under the roots lock.
std::vector<TGlobalReference>& GlobalReferences() {
  static std::vector<TGlobalReference> references;
  return references;
}

// Hears of the destruction of roots (and of component instances) that have
// global references waiting, and drops those references, so that a root
// freed before its target loads leaves nothing dangling.
class TGlobalReferenceWatcher final : public TComponent {
 public:
  TGlobalReferenceWatcher() : TComponent(nullptr) {}
  void Watch(TComponent* component) { component->FreeNotification(this); }

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    TRootsLock lock;
    auto& references = GlobalReferences();
    std::erase_if(references, [component](const TGlobalReference& reference) {
      return reference.Root == component || reference.Fixup.Instance == component;
    });
  }
};

TGlobalReferenceWatcher& Watcher() {
  // Lives as long as the process, like the application object: roots may be
  // freed during static destruction.
  static auto* watcher = new TGlobalReferenceWatcher();
  return *watcher;
}

void AddGlobalReference(TComponent& root, std::string targetRoot, std::string rest, TReferenceFixup fixup) {
  TRootsLock lock;
  Watcher().Watch(&root);
  if (auto* component = dynamic_cast<TComponent*>(fixup.Instance)) Watcher().Watch(component);
  GlobalReferences().push_back({&root, std::move(targetRoot), std::move(rest), std::move(fixup)});
}

}  // namespace

TComponent* FindNestedComponent(TComponent& root, std::string_view path) {
  TComponent* current = &root;
  while (!path.empty()) {
    const std::string_view part = NextPart(path);
    TComponent* next = current->FindComponent(part);
    if (next == nullptr && SameText(part, "Owner")) next = current;
    if (next == nullptr) return nullptr;
    current = next;
  }
  return current;
}

namespace {
bool LiesWithin(const TReferenceFixup& fixup, const TCollection& collection) {
  return std::find(fixup.Collections.begin(), fixup.Collections.end(), &collection) != fixup.Collections.end();
}
}  // namespace

void TReferenceFixups::ForgetWithin(const TCollection& collection) {
  std::erase_if(fixups_, [&collection](const TReferenceFixup& fixup) { return LiesWithin(fixup, collection); });
}

void TReferenceFixups::Resolve(TComponent& root) {
  std::vector<TReferenceFixup> pending = std::move(fixups_);
  fixups_.clear();
  for (TReferenceFixup& fixup : pending) {
    if (TComponent* component = FindNestedComponent(root, fixup.Name)) {
      Assign(fixup, component);
      continue;
    }
    // Not found. A dotted name whose first part names nothing here may name
    // another root; any other name leaves the property as it is.
    if (fixup.Name.find('.') == std::string::npos) continue;
    std::string_view rest = fixup.Name;
    const std::string_view first = NextPart(rest);
    if (first.empty() || root.FindComponent(first) != nullptr || SameText(first, "Owner")) continue;
    std::string targetRoot(first);
    std::string targetPath(rest);
    AddGlobalReference(root, std::move(targetRoot), std::move(targetPath), std::move(fixup));
  }
}

void ResolveGlobalReferences() {
  TRootsLock lock;
  auto& references = GlobalReferences();
  for (size_t i = 0; i < references.size();) {
    TComponent* target = FindRoot(references[i].TargetRoot);
    if (target == nullptr || target->HasState(csLoading)) {
      ++i;
      continue;
    }
    const TGlobalReference reference = std::move(references[i]);
    references.erase(references.begin() + static_cast<std::ptrdiff_t>(i));
    try {
      if (TComponent* component = FindNestedComponent(*target, reference.Rest)) Assign(reference.Fixup, component);
    } catch (const Exception& error) {
      Application().HandleException(error);
    }
  }
}

void ForgetGlobalReferences(const TComponent& root) {
  TRootsLock lock;
  std::erase_if(GlobalReferences(), [&root](const TGlobalReference& reference) { return reference.Root == &root; });
}

void ForgetGlobalReferencesWithin(const TCollection& collection) {
  TRootsLock lock;
  std::erase_if(GlobalReferences(),
                [&collection](const TGlobalReference& reference) { return LiesWithin(reference.Fixup, collection); });
}

size_t PendingGlobalReferenceCount() {
  TRootsLock lock;
  return GlobalReferences().size();
}

}  // namespace zelk
