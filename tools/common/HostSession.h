// The least a host does to run one effect: load the library, create the
// effect through its entry point with a host callback, open it, tell it the
// sample rate and block size, resume, set parameters, process, suspend, close.
// The host of the tools: zelk-render, plugin_bench, and the stress and
// renderer tests, which drive the plug-in as those tools do. The host-record
// tests (tests/host), which watch every call of several effects at once,
// use the tests' recording host (tests/support/RecordingHost.h).
//
// Contract
// - Open fails (false, with a one-line ErrorText naming the file) when the
//   library does not load, has no entry point, its entry point answers null,
//   or the record lacks the 'VstP' magic. On failure nothing stays loaded.
// - The host callback answers audioMasterVersion with 2400,
//   audioMasterGetSampleRate and audioMasterGetBlockSize with the session's
//   settings, audioMasterTempoAt with 120 BPM times 10000, and 0 to the rest.
//   It records every audioMasterAutomate report; it may be called on any
//   thread.
// - The session keeps its own pointer in the record's resvd1 field, which is
//   the host's to use.
// - Open, Resume, Suspend and Close belong to one thread; the parameter and
//   process calls may run on others between Resume and Suspend, as a host's
//   automation and audio threads do.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "framework/VstInterface.h"
#include "tools/common/PluginLibrary.h"

namespace zelk::host {

struct THostSettings {
  float SampleRate = 44100.0f;
  int32_t BlockSize = 512;
};

// One audioMasterAutomate report: parameter index and normalized value.
struct TAutomationReport {
  int32_t Index;
  float Value;
};

class THostSession {
 public:
  static constexpr intptr_t kHostVersion = 2400;
  static constexpr intptr_t kTempoTimes10000 = 120 * 10000;

  THostSession() = default;
  ~THostSession() { Close(); }
  THostSession(const THostSession&) = delete;
  THostSession& operator=(const THostSession&) = delete;

  // Loads pluginPath, creates and opens the effect, sets sample rate and
  // block size. The effect is left suspended.
  bool Open(const std::string& pluginPath, const THostSettings& settings);
  // Suspends when resumed, closes the effect (effClose) and unloads the library.
  void Close();

  void Resume();
  void Suspend();

  void SetParameter(int32_t index, float normalized);
  float GetParameter(int32_t index);
  // Both entries take at most Settings().BlockSize frames per call.
  void ProcessReplacing(float** inputs, float** outputs, int32_t frames);
  void ProcessAccumulating(float** inputs, float** outputs, int32_t frames);
  intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* pointer = nullptr,
                    float option = 0.0f);

  AEffect* Effect() const { return effect_; }
  const THostSettings& Settings() const { return settings_; }
  const std::string& ErrorText() const { return errorText_; }

  std::vector<TAutomationReport> AutomationReports() const;
  size_t AutomationReportCount() const;

 private:
  static intptr_t ZELK_VST_CALL HostCallback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                             void* pointer, float option);
  intptr_t Answer(int32_t opcode, int32_t index, float option);
  bool Fail(const std::string& reason);

  TPluginLibrary library_;
  AEffect* effect_ = nullptr;
  THostSettings settings_;
  bool resumed_ = false;
  std::string errorText_;

  mutable std::mutex automationLock_;
  std::vector<TAutomationReport> automationReports_;
};

}  // namespace zelk::host
