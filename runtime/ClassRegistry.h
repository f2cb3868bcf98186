// The application's class registry: classes that component streams may
// name. Each layer registers its component classes once at library start.
#pragma once

#include <initializer_list>
#include <string_view>

namespace zelk {

class TClassInfo;

void RegisterClass(const TClassInfo& classInfo);
void RegisterClasses(std::initializer_list<const TClassInfo*> classes);
void UnregisterClass(const TClassInfo& classInfo);
// Null when no class of that name (compared without regard to case) is registered.
const TClassInfo* GetClass(std::string_view name);

}  // namespace zelk
