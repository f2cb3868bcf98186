// The Turtle writer on a plug-in unlike the product, read back by lilv:
// names that clash as symbols, units LV2 does not name, quotes in texts,
// and programs, which become presets holding each parameter's value.
#include <gtest/gtest.h>
#include <lilv/lilv.h>
#include <lv2/presets/presets.h>

#include <fstream>
#include <map>
#include <string>

#include "lv2plugin/Lv2Ports.h"
#include "tests/support/Lv2Bundle.h"
#include "tests/support/TemporaryFolder.h"
#include "tools/lv2ttl/TurtleWriter.h"

namespace zelk::tests {
namespace {

void WriteBundle(const TTemporaryFolder& folder, const lv2::TPluginFacts& facts) {
  std::ofstream(folder.PathOf("manifest.ttl")) << lv2::ManifestTurtle(facts);
  std::ofstream(folder.PathOf(lv2::kDescriptionName)) << lv2::PluginTurtle(facts);
  std::ofstream(folder.PathOf(lv2::kPresetsName)) << lv2::PresetsTurtle(facts);
}

TEST(Lv2Turtle, ClashingNamesOwnUnitsAndProgramsReadBackThroughLilv) {
  const lv2::TPluginFacts facts{"Say \"Zelk\"", "Kelmora", 2, 2,
                                {{"Gain", "dB", -60.0f, 6.0f, 0.0f}, {"Gain", "x\"y", 0.1f, 1.0f, 0.25f}},
                                {{"First", {-6.5f, 0.5f}}, {"Second", {3.0f, 1.0f}}}};
  TTemporaryFolder folder;
  WriteBundle(folder, facts);
  TLv2Bundle bundle(folder.PathOf(""));
  ASSERT_TRUE(bundle.Found());
  const LilvPort* second = lilv_plugin_get_port_by_index(bundle.Plugin, 5);
  EXPECT_STREQ(lilv_node_as_string(lilv_port_get_symbol(bundle.Plugin, second)), "gain_2");
  LilvNode *defaultValue = nullptr, *minimum = nullptr, *maximum = nullptr;
  lilv_port_get_range(bundle.Plugin, second, &defaultValue, &minimum, &maximum);
  EXPECT_EQ(lilv_node_as_float(defaultValue), 0.25f);
  EXPECT_EQ(lilv_node_as_float(minimum), 0.1f);
  for (LilvNode* node : {defaultValue, minimum, maximum}) lilv_node_free(node);

  LilvNode* presetClass = bundle.NewUri(LV2_PRESETS__Preset);
  LilvNodes* presets = lilv_plugin_get_related(bundle.Plugin, presetClass);
  std::map<std::string, std::map<std::string, float>> values;  // label -> symbol -> value
  LILV_FOREACH (nodes, preset, presets) {
    lilv_world_load_resource(bundle.World(), lilv_nodes_get(presets, preset));  // its file, presets.ttl
    LilvState* state = lilv_state_new_from_world(bundle.World(), bundle.MapFeatureData(), lilv_nodes_get(presets, preset));
    ASSERT_NE(state, nullptr);
    auto& ofPreset = values[lilv_state_get_label(state)];
    lilv_state_emit_port_values(
        state,
        [](const char* symbol, void* data, const void* value, uint32_t, uint32_t) {
          (*static_cast<std::map<std::string, float>*>(data))[symbol] = *static_cast<const float*>(value);
        },
        &ofPreset);
    lilv_state_free(state);
  }
  lilv_nodes_free(presets);
  lilv_node_free(presetClass);
  EXPECT_EQ(values, (std::map<std::string, std::map<std::string, float>>{
                        {"First", {{"gain", -6.5f}, {"gain_2", 0.5f}}}, {"Second", {{"gain", 3.0f}, {"gain_2", 1.0f}}}}));
}

}  // namespace
}  // namespace zelk::tests
