// The host of every test: a host callback that records what the plug-in
// sends and answers what the test scripts, else the few questions the
// framework asks. It serves modules built in the test and plug-ins loaded
// through their entry point alike. One host records at a time (tests run one
// after another in a binary); it is not thread-safe.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "framework/VstInterface.h"

namespace zelk::tests {

struct THostCall {
  AEffect* Effect = nullptr;
  int32_t Opcode = 0;
  int32_t Index = 0;
  intptr_t Value = 0;
  void* Ptr = nullptr;
  float Opt = 0.0f;
};

class TRecordingHost {
 public:
  TRecordingHost() { Current() = this; }
  ~TRecordingHost() { Current() = nullptr; }
  TRecordingHost(const TRecordingHost&) = delete;
  TRecordingHost& operator=(const TRecordingHost&) = delete;

  static audioMasterCallback Callback() { return &Answer; }

  std::vector<THostCall> Calls;
  // Scripted answers, by opcode; they win over the reactions below.
  std::map<int32_t, intptr_t> Answers;
  // Unscripted: tempo times 10000, as hosts answer audioMasterTempoAt.
  intptr_t TempoTimes10000 = 1200000;
  // Runs inside the callback for audioMasterAutomate (a host that reacts).
  std::function<void(const THostCall&)> OnAutomate;
  // Unscripted: the event counts the host saw for each
  // audioMasterProcessEvents, which it answers with 1.
  std::vector<int32_t> EventCounts;

  std::vector<THostCall> CallsOf(int32_t opcode) const {
    std::vector<THostCall> matching;
    for (const THostCall& call : Calls) {
      if (call.Opcode == opcode) matching.push_back(call);
    }
    return matching;
  }

 private:
  static TRecordingHost*& Current() {
    static TRecordingHost* current = nullptr;
    return current;
  }

  static intptr_t ZELK_VST_CALL Answer(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                       float opt) {
    TRecordingHost* host = Current();
    if (host == nullptr) return 0;
    const THostCall call{effect, opcode, index, value, ptr, opt};
    host->Calls.push_back(call);
    if (const auto scripted = host->Answers.find(opcode); scripted != host->Answers.end()) return scripted->second;
    switch (opcode) {
      case audioMasterAutomate:
        if (host->OnAutomate) host->OnAutomate(call);
        return 0;
      case audioMasterTempoAt:
        return host->TempoTimes10000;
      case audioMasterProcessEvents:
        host->EventCounts.push_back(static_cast<VstEvents*>(ptr)->numEvents);
        return 1;
      default:
        return 0;
    }
  }
};

}  // namespace zelk::tests
