// Built-in resources as data of the library: the table that zelk-resc
// generates from resources/*.zres.

#include "platform/BuiltInResourceSource.h"
#include "resources/BuiltInResources.h"
#include "runtime/Text.h"

namespace zelk::platform {

std::optional<std::span<const uint8_t>> FindBuiltInResource(std::string_view name) {
  for (const TBuiltInResource& resource : BuiltInComponentResources()) {
    if (SameText(resource.Name, name)) return resource.Bytes;
  }
  return std::nullopt;
}

}  // namespace zelk::platform
