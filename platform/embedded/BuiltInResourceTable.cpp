// Built-in resources as data of the library: the lookup in the table that
// the resource compiler generates, which defines FindBuiltInResource over
// its own entries.

#include "platform/BuiltInResourceSource.h"
#include "runtime/Text.h"

namespace zelk::platform {

std::optional<std::span<const uint8_t>> FindInResourceTable(std::span<const TBuiltInResource> table,
                                                            std::string_view name) {
  for (const TBuiltInResource& resource : table) {
    if (SameText(resource.Name, name)) return resource.Bytes;
  }
  return std::nullopt;
}

}  // namespace zelk::platform
