// The LV2 bundle of this build as an LV2 host meets it through lilv: its
// description, and the plug-in instantiated, run and saved, with every
// sample compared against the VST 2 library of the same build.
#include <gtest/gtest.h>
#include <lilv/lilv.h>
#include <lv2/atom/atom.h>
#include <lv2/presets/presets.h>
#include <lv2/state/state.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/BuiltPlugin.h"
#include "tests/support/Lv2Bundle.h"
#include "tests/support/SampleBuffers.h"
#include "tools/common/HostSession.h"

namespace zelk::tests {
namespace {

constexpr double kSampleRate = 44100.0;
constexpr uint32_t kAnglePort = 4;
constexpr int32_t kLargestBlock = 4096;

// One active LV2 instance reading inputs, with outputs of its own.
class TLv2Instance {
 public:
  TLv2Instance(TLv2Bundle& bundle, float** inputs) : Bundle(bundle), Outputs(2, kLargestBlock) {
    Instance = lilv_plugin_instantiate(bundle.Plugin, kSampleRate, bundle.Features());
    if (Instance == nullptr) return;
    for (uint32_t channel = 0; channel < 2; ++channel) {
      lilv_instance_connect_port(Instance, channel, inputs[channel]);
      lilv_instance_connect_port(Instance, 2 + channel, Outputs.Pointers()[channel]);
    }
    lilv_instance_connect_port(Instance, kAnglePort, &Angle);
    lilv_instance_activate(Instance);
  }
  ~TLv2Instance() {
    if (Instance == nullptr) return;
    lilv_instance_deactivate(Instance);
    lilv_instance_free(Instance);
  }
  TLv2Instance(const TLv2Instance&) = delete;
  TLv2Instance& operator=(const TLv2Instance&) = delete;

  TLv2Bundle& Bundle;
  LilvInstance* Instance = nullptr;
  TAudioBuffers Outputs;
  float Angle = 0.0f;
};

class Lv2Host : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(bundle.Found());
    std::string vst;
    ASSERT_TRUE(FindBuiltPlugin(vst));
    ASSERT_TRUE(vstSession.Open(vst, {static_cast<float>(kSampleRate), kLargestBlock})) << vstSession.ErrorText();
    vstSession.Resume();
    inputs.FillNoise(7);
  }

  uint32_t PortCount(const char* classUri) {
    LilvNode* portClass = bundle.NewUri(classUri);
    const uint32_t count = lilv_plugin_get_num_ports_of_class(bundle.Plugin, portClass, nullptr);
    lilv_node_free(portClass);
    return count;
  }

  TLv2Bundle bundle;
  host::THostSession vstSession;
  TAudioBuffers inputs{2, kLargestBlock};
};

TEST_F(Lv2Host, DescribesTheProductWithItsUriTwoAudioPortsEachWayAndTheAngleInDegrees) {
  EXPECT_STREQ(lilv_node_as_uri(lilv_plugin_get_uri(bundle.Plugin)), "urn:kelmora:zelk-vorlan");
  LilvNode* name = lilv_plugin_get_name(bundle.Plugin);
  EXPECT_STREQ(lilv_node_as_string(name), "Zelk Vorlan");
  lilv_node_free(name);
  ASSERT_EQ(lilv_plugin_get_num_ports(bundle.Plugin), 5u);
  EXPECT_EQ(PortCount(LILV_URI_AUDIO_PORT), 4u);
  EXPECT_EQ(PortCount(LILV_URI_INPUT_PORT), 3u);
  EXPECT_EQ(PortCount(LILV_URI_CONTROL_PORT), 1u);

  const LilvPort* angle = lilv_plugin_get_port_by_index(bundle.Plugin, kAnglePort);
  EXPECT_STREQ(lilv_node_as_string(lilv_port_get_symbol(bundle.Plugin, angle)), "angle");
  LilvNode* portName = lilv_port_get_name(bundle.Plugin, angle);
  EXPECT_STREQ(lilv_node_as_string(portName), "Angle");
  lilv_node_free(portName);
  std::vector<float> minimum(5), maximum(5), defaults(5);
  lilv_plugin_get_port_ranges_float(bundle.Plugin, minimum.data(), maximum.data(), defaults.data());
  EXPECT_EQ(minimum[kAnglePort], 0.0f);
  EXPECT_EQ(maximum[kAnglePort], 360.0f);
  // A new module's value, which the VST 2 library reports too.
  EXPECT_EQ(defaults[kAnglePort], vstSession.GetParameter(0) * 360.0f);
  LilvNode* unit = bundle.NewUri("http://lv2plug.in/ns/extensions/units#unit");
  LilvNodes* units = lilv_port_get_value(bundle.Plugin, angle, unit);
  ASSERT_EQ(lilv_nodes_size(units), 1u);
  EXPECT_STREQ(lilv_node_as_uri(lilv_nodes_get_first(units)), "http://lv2plug.in/ns/extensions/units#degree");
  lilv_nodes_free(units);
  lilv_node_free(unit);
}

TEST_F(Lv2Host, OffersOnePresetPerProgramOfTheModule) {
  LilvNode* presetClass = bundle.NewUri(LV2_PRESETS__Preset);
  LilvNodes* presets = lilv_plugin_get_related(bundle.Plugin, presetClass);
  EXPECT_EQ(static_cast<int32_t>(lilv_nodes_size(presets)), vstSession.Effect()->numPrograms);
  lilv_nodes_free(presets);
  lilv_node_free(presetClass);
}

// The same input, angles and block sizes through both libraries, with the
// angle changing between blocks as host automation changes it.
TEST_F(Lv2Host, RunGivesTheVst2LibrarysSamplesBitForBitAtEveryAngleAndBlockSize) {
  TLv2Instance lv2(bundle, inputs.Pointers());
  ASSERT_NE(lv2.Instance, nullptr);
  TAudioBuffers vstOutputs(2, kLargestBlock);
  for (const float angle : {90.0f, 0.0f, 45.0f, 180.0f, 270.0f, 359.5f, 360.0f, 12.345f, 90.0f}) {
    for (const uint32_t frames : {1u, 17u, 64u, 512u, 4096u, 3u}) {
      lv2.Angle = angle;
      lilv_instance_run(lv2.Instance, frames);
      vstSession.SetParameter(0, angle / 360.0f);
      vstSession.ProcessReplacing(inputs.Pointers(), vstOutputs.Pointers(), static_cast<int32_t>(frames));
      for (int channel = 0; channel < 2; ++channel) {
        ASSERT_EQ(std::memcmp(lv2.Outputs.Pointers()[channel], vstOutputs.Pointers()[channel], frames * sizeof(float)), 0)
            << "channel " << channel << ", angle " << angle << ", " << frames << " frames";
      }
    }
  }
}

// lilv's port value callbacks: the angle as an atom:Float.
const void* AngleValue(const char* symbol, void* data, uint32_t* size, uint32_t* type) {
  auto* instance = static_cast<TLv2Instance*>(data);
  if (std::strcmp(symbol, "angle") != 0) return nullptr;
  *size = sizeof(float);
  *type = instance->Bundle.Map(LV2_ATOM__Float);
  return &instance->Angle;
}

void SetAngle(const char* symbol, void* data, const void* value, uint32_t size, uint32_t type) {
  auto* instance = static_cast<TLv2Instance*>(data);
  if (std::strcmp(symbol, "angle") != 0 || size != sizeof(float) || type != instance->Bundle.Map(LV2_ATOM__Float)) {
    return;
  }
  std::memcpy(&instance->Angle, value, sizeof(float));
}

LilvState* SaveState(TLv2Instance& instance) {
  return lilv_state_new_from_instance(instance.Bundle.Plugin, instance.Instance, instance.Bundle.MapFeatureData(),
                                      nullptr, nullptr, nullptr, nullptr, &AngleValue, &instance,
                                      LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE, instance.Bundle.Features());
}

// Saved as text, as a host's session file holds it, and restored into a
// new instance, which then holds the same state and sounds the same.
TEST_F(Lv2Host, StateSavedAsTextAndRestoredIntoANewInstanceIsEqualAndSoundsTheSame) {
  TLv2Instance first(bundle, inputs.Pointers());
  TLv2Instance second(bundle, inputs.Pointers());
  ASSERT_NE(first.Instance, nullptr);
  ASSERT_NE(second.Instance, nullptr);
  first.Angle = 123.5f;
  LilvState* saved = SaveState(first);
  ASSERT_NE(saved, nullptr);
  char* text = lilv_state_to_string(bundle.World(), bundle.MapFeatureData(), bundle.UnmapFeatureData(), saved,
                                    "urn:kelmora:zelk-vorlan#test-state", nullptr);
  ASSERT_NE(text, nullptr);
  LilvState* read = lilv_state_new_from_string(bundle.World(), bundle.MapFeatureData(), text);
  ASSERT_NE(read, nullptr);
  lilv_state_restore(read, second.Instance, &SetAngle, &second, 0, bundle.Features());
  EXPECT_EQ(second.Angle, 123.5f);
  LilvState* resaved = SaveState(second);
  EXPECT_TRUE(lilv_state_equals(saved, resaved));

  lilv_instance_run(first.Instance, kLargestBlock);
  lilv_instance_run(second.Instance, kLargestBlock);
  EXPECT_EQ(first.Outputs.Channel(0), second.Outputs.Channel(0));
  EXPECT_EQ(first.Outputs.Channel(1), second.Outputs.Channel(1));
  lilv_state_free(resaved);
  lilv_state_free(read);
  lilv_free(text);
  lilv_state_free(saved);
}

}  // namespace
}  // namespace zelk::tests
