// The built plug-in as a host sees it: the library tests::FindBuiltPlugin
// finds, loaded once per test binary, and a host
// callback that answers like a host and records what the plug-in reports.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/VstInterface.h"
#include "tests/support/BuiltPlugin.h"
#include "tests/support/RecordingHost.h"
#include "tools/common/PluginLibrary.h"

namespace zelk::tests {

class PluginTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(tests::FindBuiltPlugin(Path()));
    ASSERT_TRUE(Library().Open(Path())) << Library().ErrorText();
    EntryPoint() = Library().FindEntryPoint();
    ASSERT_NE(EntryPoint(), nullptr) << Library().ErrorText();
  }
  void SetUp() override {
    ASSERT_NE(EntryPoint(), nullptr);
    host_.Answers = {{audioMasterVersion, 2400}, {audioMasterGetSampleRate, 44100}, {audioMasterGetBlockSize, 512}};
  }
  void TearDown() override {
    for (AEffect* effect : open_) Dispatch(effect, effClose);
  }

  // A new effect, closed after the test unless the test closes it.
  AEffect* Create(audioMasterCallback host = zelk::tests::TRecordingHost::Callback()) {
    AEffect* effect = EntryPoint()(host);
    if (effect != nullptr) open_.push_back(effect);
    return effect;
  }
  intptr_t Close(AEffect* effect) {
    std::erase(open_, effect);
    return Dispatch(effect, effClose);
  }

  // What the plug-in reported with audioMasterAutomate (Index, Opt).
  std::vector<zelk::tests::THostCall> Automations() const { return host_.CallsOf(audioMasterAutomate); }

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
  static std::string& Path() {
    static std::string path;
    return path;
  }
  static VstPluginMainProc& EntryPoint() {
    static VstPluginMainProc entry = nullptr;
    return entry;
  }

 private:
  zelk::tests::TRecordingHost host_;
  std::vector<AEffect*> open_;
};

}  // namespace zelk::tests
