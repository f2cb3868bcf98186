#include "runtime/Application.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "runtime/ClassBuilder.h"
#include "runtime/RootsLock.h"
#include "runtime/Text.h"

namespace zelk {

const TClassInfo& TApplication::StaticClass() {
  static const TClassInfo info = TClassBuilder<TApplication>("TApplication").Build();
  return info;
}

TApplication::TApplication() : TComponent(nullptr) {}

void TApplication::InsertComponent(TComponent* component) {
  TRootsLock lock;
  TComponent::InsertComponent(component);
}

void TApplication::RemoveComponent(TComponent* component) {
  TRootsLock lock;
  TComponent::RemoveComponent(component);
}

void TApplication::ValidateRename(TComponent* component, std::string_view currentName, std::string_view newName) {
  TRootsLock lock;
  TComponent::ValidateRename(component, currentName, newName);
}

void TApplication::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::opRemove && component != nullptr) RemoveFreeNotification(component);
}

namespace {

void DisplayOnStandardError(std::string_view message) {
  std::fprintf(stderr, "Zelk: %.*s\n", static_cast<int>(message.size()), message.data());
}

// Constant-initialised, so that it is set before any static object runs.
TExceptionDisplay exceptionDisplay = &DisplayOnStandardError;

void Display(std::string_view message) noexcept {
  try {
    exceptionDisplay(message);
  } catch (...) {
    DisplayOnStandardError(message);
  }
}

}  // namespace

void SetExceptionDisplay(TExceptionDisplay display) {
  exceptionDisplay = display != nullptr ? display : &DisplayOnStandardError;
}

void TApplication::HandleException(const std::exception& error) noexcept { Display(error.what()); }

void TApplication::HandleException() noexcept {
  try {
    throw;
  } catch (const std::exception& error) {
    HandleException(error);
  } catch (...) {
    Display("unknown error");
  }
}

namespace {
// Constant-initialised, so it outlives every static object of the library.
TApplication* theApplication = nullptr;
}  // namespace

TApplication& Application() {
  if (theApplication == nullptr) theApplication = new TApplication();
  return *theApplication;
}

bool ReleaseApplication() {
  TRootsLock lock;
  if (theApplication == nullptr) return true;
  // Modules a host never closed still belong to it; they keep it alive.
  if (theApplication->ComponentCount() > 0) return false;
  TObject::Free(theApplication);
  theApplication = nullptr;
  return true;
}

namespace {
std::vector<TComponent*>& RootList() {
  static std::vector<TComponent*> roots;
  return roots;
}
}  // namespace

void AddRoot(TComponent* root) {
  TRootsLock lock;
  auto& roots = RootList();
  if (std::find(roots.begin(), roots.end(), root) == roots.end()) roots.push_back(root);
}

void RemoveRoot(TComponent* root) {
  TRootsLock lock;
  auto& roots = RootList();
  roots.erase(std::remove(roots.begin(), roots.end(), root), roots.end());
}

TComponent* FindRoot(std::string_view name) {
  TRootsLock lock;
  for (TComponent* root : RootList()) {
    if (SameText(root->Name(), name)) return root;
  }
  return nullptr;
}

std::vector<TComponent*> Roots() {
  TRootsLock lock;
  return RootList();
}

void SetUniqueRootName(TComponent& root, std::string_view name) {
  TRootsLock lock;
  // A root that is going away has left the root list but may still be
  // among its owner's components under its name.
  TComponent* owner = root.Owner();
  auto taken = [&root, owner](std::string_view candidate) {
    for (TComponent* other : RootList()) {
      if (other != &root && SameText(other->Name(), candidate)) return true;
    }
    const TComponent* sibling = owner != nullptr ? owner->FindComponent(candidate) : nullptr;
    return sibling != nullptr && sibling != &root;
  };
  std::string candidate(name);
  for (int suffix = 1; taken(candidate); ++suffix) {
    candidate = std::string(name) + "_" + std::to_string(suffix);
  }
  root.SetName(candidate);
}

}  // namespace zelk
