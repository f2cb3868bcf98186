// Helpers of the module tests: a host whose answers a test scripts, bare
// modules built in code (TVST2Module itself loads no resource), and a
// recorder of the order in which events fire.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/VSTModule.h"
#include "runtime/Object.h"

namespace zelk::testing {

struct TScriptedCall {
  AEffect* Effect = nullptr;
  int32_t Opcode = 0;
  int32_t Index = 0;
  intptr_t Value = 0;
  void* Ptr = nullptr;
  float Opt = 0.0f;
};

// Answers each host opcode with what the test put into Answers (0 for the
// rest) and records every call. One scripted host is active at a time.
class TScriptedHost {
 public:
  TScriptedHost() { Current() = this; }
  ~TScriptedHost() { Current() = nullptr; }
  TScriptedHost(const TScriptedHost&) = delete;
  TScriptedHost& operator=(const TScriptedHost&) = delete;

  static audioMasterCallback Callback() { return &Answer; }

  std::map<int32_t, intptr_t> Answers;
  std::vector<TScriptedCall> Calls;

 private:
  static TScriptedHost*& Current() {
    static TScriptedHost* current = nullptr;
    return current;
  }
  static intptr_t ZELK_VST_CALL Answer(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                       float opt) {
    TScriptedHost* host = Current();
    if (host == nullptr) return 0;
    host->Calls.push_back({effect, opcode, index, value, ptr, opt});
    const auto answer = host->Answers.find(opcode);
    return answer != host->Answers.end() ? answer->second : 0;
  }
};

using TModulePtr = std::unique_ptr<TVST2Module, TFreeObject>;

// A module with every default and no resource, fully constructed.
inline TModulePtr MakeBareModule(TComponent* owner = nullptr) { return TModulePtr(New<TVST2Module>(owner)); }

// Event handlers that write their name into a shared log.
class TEventLog : public TObject {
 public:
  std::vector<std::string> Entries;

  void Create(TObject*) { Entries.push_back("OnCreate"); }
  void Destroy(TObject*) { Entries.push_back("OnDestroy"); }
  void Initialize(TObject*) { Entries.push_back("OnInitialize"); }
  void ProgramInitialize(TObject* sender) { Entries.push_back("Program.OnInitialize"); }
  void ProgramChange(TObject*) { Entries.push_back("OnProgramChange"); }
  void ParameterChange(TObject*, int32_t index, float value) {
    Entries.push_back("OnParameterChange " + std::to_string(index) + " " + std::to_string(value));
  }
  void Notify(TObject*) { Entries.push_back("Notify"); }
  void Dispatcher(TObject*, int32_t opcode) { Entries.push_back("OnDispatcher " + std::to_string(opcode)); }
};

}  // namespace zelk::testing
