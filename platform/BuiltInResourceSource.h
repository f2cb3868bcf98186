// Where the component resources built into this library live. A system keeps
// them its own way, and the build chooses the backend: Windows as RCDATA
// resources of the library's own module (platform/win32), every other system
// as a table that the resource compiler generates into the library from the
// resources' text form (platform/embedded holds its lookup).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace zelk::platform {

// The bytes of the built-in resource of that name, compared without regard
// to case, or nothing. The bytes stay valid while the library is loaded.
// Defined by the Windows backend, or else by the generated table.
std::optional<std::span<const uint8_t>> FindBuiltInResource(std::string_view name);

// One entry of a generated table: the resource's name (its root class in
// upper case) and its component stream.
struct TBuiltInResource {
  std::string_view Name;
  std::span<const uint8_t> Bytes;
};

// The generated table's lookup: the first entry of that name, compared
// without regard to case, or nothing.
std::optional<std::span<const uint8_t>> FindInResourceTable(std::span<const TBuiltInResource> table,
                                                            std::string_view name);

}  // namespace zelk::platform
