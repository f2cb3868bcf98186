#include "runtime/ClassRegistry.h"

#include <algorithm>
#include <vector>

#include "runtime/ClassInfo.h"
#include "runtime/Text.h"

namespace zelk {

namespace {
// Filled at library start on one thread and only read afterwards.
std::vector<const TClassInfo*>& Registry() {
  static std::vector<const TClassInfo*> classes;
  return classes;
}
}  // namespace

void RegisterClass(const TClassInfo& classInfo) {
  if (GetClass(classInfo.Name()) == nullptr) Registry().push_back(&classInfo);
}

void RegisterClasses(std::initializer_list<const TClassInfo*> classes) {
  for (const TClassInfo* classInfo : classes) RegisterClass(*classInfo);
}

void UnregisterClass(const TClassInfo& classInfo) {
  auto& classes = Registry();
  classes.erase(std::remove(classes.begin(), classes.end(), &classInfo), classes.end());
}

const TClassInfo* GetClass(std::string_view name) {
  for (const TClassInfo* classInfo : Registry()) {
    if (SameText(classInfo->Name(), name)) return classInfo;
  }
  return nullptr;
}

}  // namespace zelk
