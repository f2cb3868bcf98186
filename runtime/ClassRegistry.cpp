#include "runtime/ClassRegistry.h"

#include "runtime/ClassInfo.h"
#include "runtime/Registry.h"
#include "runtime/Text.h"

namespace zelk {

namespace {
// Refers to the class descriptions, which live as long as the process.
TRegistry<const TClassInfo>& Classes() {
  static TRegistry<const TClassInfo> classes;
  return classes;
}
}  // namespace

void RegisterClass(const TClassInfo& classInfo) {
  // A class of the same name stays the one that streams create.
  if (GetClass(classInfo.Name()) == nullptr) Classes().Add(&classInfo);
}

void RegisterClasses(std::initializer_list<const TClassInfo*> classes) {
  for (const TClassInfo* classInfo : classes) RegisterClass(*classInfo);
}

void UnregisterClass(const TClassInfo& classInfo) {
  Classes().Remove(&classInfo);
}

const TClassInfo* GetClass(std::string_view name) {
  return Classes().FindFirst([name](const TClassInfo& classInfo) { return SameText(classInfo.Name(), name); });
}

}  // namespace zelk
