#include "framework/PluginEditor.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace zelk {

namespace {
struct TAdapterRegistry {
  std::mutex Lock;
  std::vector<TPluginEditorAdapter> Adapters;
};

TAdapterRegistry& Registry() {
  static TAdapterRegistry registry;
  return registry;
}
}  // namespace

void RegisterPluginEditorAdapter(TPluginEditorAdapter adapter) {
  if (adapter == nullptr) return;
  TAdapterRegistry& registry = Registry();
  std::lock_guard lock(registry.Lock);
  if (std::find(registry.Adapters.begin(), registry.Adapters.end(), adapter) == registry.Adapters.end()) {
    registry.Adapters.push_back(adapter);
  }
}

std::unique_ptr<TPluginEditor> AdaptPluginEditor(TComponent& component) {
  std::vector<TPluginEditorAdapter> adapters;
  {
    TAdapterRegistry& registry = Registry();
    std::lock_guard lock(registry.Lock);
    adapters = registry.Adapters;
  }
  for (auto adapter = adapters.rbegin(); adapter != adapters.rend(); ++adapter) {
    if (std::unique_ptr<TPluginEditor> editor = (*adapter)(component)) return editor;
  }
  return nullptr;
}

}  // namespace zelk
