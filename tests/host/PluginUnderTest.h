// The built plug-in as a host sees it: the library named by ZELK_PLUGIN
// (set by the test harness), loaded once per test binary, and a host
// callback that answers like a host and records what the plug-in reports.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "framework/VstInterface.h"
#include "tools/common/PluginLibrary.h"

namespace zelk::host_test {

struct TAutomation {
  AEffect* Effect;
  int32_t Index;
  float Value;
};

// The host callback: version 2400, 44100 Hz, 512 frames, 0 for the rest.
class TTestHost {
 public:
  static std::vector<TAutomation>& Automations() {
    static std::vector<TAutomation> automations;
    return automations;
  }

  static intptr_t ZELK_VST_CALL Callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t, void*,
                                         float opt) {
    switch (opcode) {
      case audioMasterAutomate:
        Automations().push_back({effect, index, opt});
        return 0;
      case audioMasterVersion:
        return 2400;
      case audioMasterGetSampleRate:
        return 44100;
      case audioMasterGetBlockSize:
        return 512;
      default:
        return 0;
    }
  }
};

class PluginTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const char* path = std::getenv("ZELK_PLUGIN");
    ASSERT_NE(path, nullptr) << "ZELK_PLUGIN must name the built plug-in";
    ASSERT_TRUE(Library().Open(path)) << Library().ErrorText();
    EntryPoint() = Library().FindEntryPoint();
    ASSERT_NE(EntryPoint(), nullptr) << Library().ErrorText();
  }
  void SetUp() override {
    ASSERT_NE(EntryPoint(), nullptr);
    TTestHost::Automations().clear();
  }
  void TearDown() override {
    for (AEffect* effect : open_) Dispatch(effect, effClose);
  }

  // A new effect, closed after the test unless the test closes it.
  AEffect* Create(audioMasterCallback host = &TTestHost::Callback) {
    AEffect* effect = EntryPoint()(host);
    if (effect != nullptr) open_.push_back(effect);
    return effect;
  }
  intptr_t Close(AEffect* effect) {
    std::erase(open_, effect);
    return Dispatch(effect, effClose);
  }

  static intptr_t Dispatch(AEffect* effect, int32_t opcode, int32_t index = 0, intptr_t value = 0,
                           void* ptr = nullptr, float opt = 0.0f) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
  }
  static std::string AskText(AEffect* effect, int32_t opcode, int32_t index = 0) {
    char text[256] = {};
    Dispatch(effect, opcode, index, 0, text);
    return text;
  }

  // Loaded for the whole run, as a host keeps a plug-in it uses. Unloading
  // would leave the library's process-lifetime objects (the application
  // object, the C++ runtime's exception pool) unreachable.
  static host::TPluginLibrary& Library() {
    static auto* library = new host::TPluginLibrary;
    return *library;
  }
  static VstPluginMainProc& EntryPoint() {
    static VstPluginMainProc entry = nullptr;
    return entry;
  }

 private:
  std::vector<AEffect*> open_;
};

}  // namespace zelk::host_test
