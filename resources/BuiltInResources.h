// The component resources built into the library. The build generates the
// table (zelk-resc turns resources/*.zres into C++) into the library
// zelk_module_resources; FindComponentResource consults it after the
// resources registered at run time.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace zelk {

struct TBuiltInResource {
  std::string_view Name;
  std::span<const uint8_t> Bytes;
};

// Defined by the generated table.
std::span<const TBuiltInResource> BuiltInComponentResources();

}  // namespace zelk
