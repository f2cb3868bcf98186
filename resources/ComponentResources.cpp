#include "resources/ComponentResources.h"

#include <vector>

#include "resources/Reader.h"
#include "runtime/ClassInfo.h"
#include "runtime/Component.h"
#include "runtime/Exceptions.h"
#include "runtime/Stream.h"

namespace zelk {

void ReadRootResources(TComponent& root, const TClassInfo& baseClass, std::string_view notFoundMessage) {
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* info = &root.ClassType(); info != nullptr && info != &baseClass; info = info->Parent()) {
    chain.push_back(info);
  }
  bool found = false;
  for (auto info = chain.rbegin(); info != chain.rend(); ++info) {
    const std::optional<std::span<const uint8_t>> bytes = FindComponentResource((*info)->Name());
    if (!bytes) continue;
    found = true;
    TReadOnlyMemoryStream stream(*bytes);
    TReader(stream).ReadRootComponent(root);
  }
  if (!found) throw EResNotFound(FormatMessage(notFoundMessage, root.ClassName()));
}

}  // namespace zelk
