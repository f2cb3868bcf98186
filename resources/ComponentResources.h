// Component resources: component streams embedded in the library, named
// after the class of the root object they build, and the routine that reads
// them into a root that is being constructed.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace zelk {

class TClassInfo;
class TComponent;

// Finds the resource of that name (compared without regard to case): first
// among resources registered at run time (tests, tools), then among the
// resources built into the library.
std::optional<std::span<const uint8_t>> FindComponentResource(std::string_view name);

// Makes a resource findable by name; the bytes must outlive the registration.
void RegisterComponentResource(std::string_view name, std::span<const uint8_t> bytes);
void UnregisterComponentResource(std::string_view name);

// Reads into root, for each class of its chain from the one just below
// baseClass down to the root's own class, the resource named after that
// class, base-most first. When no class of the chain has a resource the
// construction fails with notFoundMessage ("Resource %s not found" for
// modules, "Ressource %s wurde nicht gefunden" for forms) formatted with the
// root's class name. Answers nothing; raises the reader's errors.
void ReadRootResources(TComponent& root, const TClassInfo& baseClass, std::string_view notFoundMessage);

}  // namespace zelk
