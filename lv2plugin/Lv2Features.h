// The host features an LV2 instance was given, looked up by URI.
#pragma once

#include <lv2/core/lv2.h>

#include <cstring>

namespace zelk::lv2 {

// The data of the feature named uri, or null when the host offers none.
inline void* FindFeature(const LV2_Feature* const* features, const char* uri) {
  if (features == nullptr) return nullptr;
  for (const LV2_Feature* const* feature = features; *feature != nullptr; ++feature) {
    if ((*feature)->URI != nullptr && std::strcmp((*feature)->URI, uri) == 0) return (*feature)->data;
  }
  return nullptr;
}

}  // namespace zelk::lv2
