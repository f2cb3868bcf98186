#include "runtime/Application.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "runtime/ClassBuilder.h"
#include "runtime/Text.h"

namespace zelk {

const TClassInfo& TApplication::StaticClass() {
  static const TClassInfo info = TClassBuilder<TApplication>("TApplication").Build();
  return info;
}

TApplication::TApplication() : TComponent(nullptr) {}

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
  auto& roots = RootList();
  if (std::find(roots.begin(), roots.end(), root) == roots.end()) roots.push_back(root);
}

void RemoveRoot(TComponent* root) {
  auto& roots = RootList();
  roots.erase(std::remove(roots.begin(), roots.end(), root), roots.end());
}

TComponent* FindRoot(std::string_view name) {
  for (TComponent* root : RootList()) {
    if (SameText(root->Name(), name)) return root;
  }
  return nullptr;
}

const std::vector<TComponent*>& Roots() { return RootList(); }

std::string UniqueRootName(std::string_view name, const TComponent* except) {
  auto taken = [except](std::string_view candidate) {
    for (TComponent* root : RootList()) {
      if (root != except && SameText(root->Name(), candidate)) return true;
    }
    return false;
  };
  std::string candidate(name);
  for (int suffix = 1; taken(candidate); ++suffix) {
    candidate = std::string(name) + "_" + std::to_string(suffix);
  }
  return candidate;
}

}  // namespace zelk
