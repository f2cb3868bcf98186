// Helpers of the module tests: a recorder of the order in which events fire,
// with the shared test host (tests/support/RecordingHost.h) and the module
// built in code with every default (tests/support/TestModule.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/VSTModule.h"
#include "runtime/Object.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/TestModule.h"

namespace zelk::tests {

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

}  // namespace zelk::tests
