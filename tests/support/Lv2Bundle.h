// The LV2 bundle of this build as an LV2 host sees it through lilv: a world
// that loaded build/Zelk.lv2 (ZELK_LV2_BUNDLE overrides it), the product's
// plug-in in it, and a URID map to offer as a feature. The bundle's binary
// is held open beside lilv's handles: leak-checked builds then keep it mapped
// to the end (platform/DynamicLibrary.h), so that what it keeps for the life
// of the process stays reachable and its functions keep their names.
#pragma once

#include <gtest/gtest.h>
#include <lilv/lilv.h>
#include <lv2/urid/urid.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "platform/DynamicLibrary.h"

namespace zelk::tests {

class TLv2Bundle {
 public:
  // The bundle of this build, unless ZELK_LV2_BUNDLE names another.
  static std::string BuiltBundle() {
    const char* named = std::getenv("ZELK_LV2_BUNDLE");
#ifdef ZELK_BUILT_LV2_BUNDLE
    return named != nullptr ? named : ZELK_BUILT_LV2_BUNDLE;
#else
    return named != nullptr ? named : "";
#endif
  }

  explicit TLv2Bundle(std::string path = BuiltBundle()) : Path(std::move(path)), world_(lilv_world_new()) {
    if (!Path.empty() && Path.back() != '/') Path += '/';
    binary_.Open(Path + "Zelk.so");  // none for a bundle of Turtle only
    LilvNode* bundle = lilv_new_file_uri(world_, nullptr, Path.c_str());
    lilv_world_load_bundle(world_, bundle);
    lilv_node_free(bundle);
    LilvNode* uri = lilv_new_uri(world_, "urn:kelmora:zelk-vorlan");
    Plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world_), uri);
    lilv_node_free(uri);
  }
  ~TLv2Bundle() { lilv_world_free(world_); }
  TLv2Bundle(const TLv2Bundle&) = delete;
  TLv2Bundle& operator=(const TLv2Bundle&) = delete;

  LilvWorld* World() const { return world_; }
  // Use as ASSERT_TRUE(bundle.Found()).
  ::testing::AssertionResult Found() const {
    if (Plugin != nullptr) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no plug-in urn:kelmora:zelk-vorlan in " << Path
                                         << ": build the ZelkLv2 target, or set ZELK_LV2_BUNDLE";
  }
  // A new node the caller frees.
  LilvNode* NewUri(const char* uri) const { return lilv_new_uri(world_, uri); }

  // The URID map feature: URIs numbered from 1 in order of first use.
  LV2_URID Map(const char* uri) {
    for (size_t index = 0; index < uris_.size(); ++index) {
      if (uris_[index] == uri) return static_cast<LV2_URID>(index + 1);
    }
    uris_.emplace_back(uri);
    return static_cast<LV2_URID>(uris_.size());
  }
  const char* Unmap(LV2_URID urid) const { return urid >= 1 && urid <= uris_.size() ? uris_[urid - 1].c_str() : nullptr; }
  LV2_URID_Map* MapFeatureData() { return &map_; }
  LV2_URID_Unmap* UnmapFeatureData() { return &unmap_; }
  // Null-terminated: urid:map and urid:unmap.
  const LV2_Feature* const* Features() const { return features_; }

  std::string Path;
  const LilvPlugin* Plugin = nullptr;

 private:
  static LV2_URID MapThunk(LV2_URID_Map_Handle handle, const char* uri) {
    return static_cast<TLv2Bundle*>(handle)->Map(uri);
  }
  static const char* UnmapThunk(LV2_URID_Unmap_Handle handle, LV2_URID urid) {
    return static_cast<TLv2Bundle*>(handle)->Unmap(urid);
  }

  platform::TDynamicLibrary binary_;
  LilvWorld* world_;
  std::vector<std::string> uris_;
  LV2_URID_Map map_{this, &MapThunk};
  LV2_URID_Unmap unmap_{this, &UnmapThunk};
  LV2_Feature mapFeature_{LV2_URID__map, &map_};
  LV2_Feature unmapFeature_{LV2_URID__unmap, &unmap_};
  const LV2_Feature* features_[3] = {&mapFeature_, &unmapFeature_, nullptr};
};

}  // namespace zelk::tests
