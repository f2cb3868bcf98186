#include <string>
#include <vector>

#include "platform/BuiltInResourceSource.h"
#include "resources/ComponentResources.h"
#include "runtime/Text.h"

namespace zelk {

namespace {

struct TRegisteredResource {
  std::string Name;
  std::span<const uint8_t> Bytes;
};

// Filled by tests and tools on one thread; not synchronised.
std::vector<TRegisteredResource>& RegisteredResources() {
  static std::vector<TRegisteredResource> resources;
  return resources;
}

}  // namespace

std::optional<std::span<const uint8_t>> FindComponentResource(std::string_view name) {
  for (const TRegisteredResource& resource : RegisteredResources()) {
    if (SameText(resource.Name, name)) return resource.Bytes;
  }
  return platform::FindBuiltInResource(name);
}

void RegisterComponentResource(std::string_view name, std::span<const uint8_t> bytes) {
  for (TRegisteredResource& resource : RegisteredResources()) {
    if (SameText(resource.Name, name)) {
      resource.Bytes = bytes;
      return;
    }
  }
  RegisteredResources().push_back({std::string(name), bytes});
}

void UnregisterComponentResource(std::string_view name) {
  std::erase_if(RegisteredResources(), [name](const TRegisteredResource& resource) { return SameText(resource.Name, name); });
}

}  // namespace zelk
