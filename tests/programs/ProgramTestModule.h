// A module with three programs and two parameters, built from its own
// settings resource the way products are. The programs get their values
// in their OnInitialize handlers, as module code does; every handler writes
// what it saw into Log, together with the automation reports of the host.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/ParameterText.h"
#include "framework/Program.h"
#include "framework/VSTModule.h"
#include "resources/ComponentResources.h"
#include "resources/TextFormCompiler.h"
#include "runtime/ClassBuilder.h"
#include "runtime/Text.h"
#include "tests/support/RecordingHost.h"

namespace zelk::tests {

inline constexpr std::string_view kProgramModuleText = R"(
object ProgramModule: TProgramModule
  UniqueID = 'Prg3'
  Programs = <
    item
      DisplayName = 'Soft'
      VSTModule = Owner
      OnInitialize = ProgramInitialize
    end
    item
      DisplayName = 'Loud'
      VSTModule = Owner
      OnInitialize = ProgramInitialize
    end
    item
      DisplayName = 'Wide'
      VSTModule = Owner
      OnInitialize = ProgramInitialize
    end>
  ParameterProperties = <
    item
      DisplayName = 'Gain'
      Max = 16.0
      VSTModule = Owner
      OnParameterChange = GainChange
    end
    item
      DisplayName = 'Pan'
      VSTModule = Owner
    end>
  OnInitialize = ModuleInitialize
  OnParameterChange = ModuleParameterChange
  OnProgramChange = ModuleProgramChange
end
)";

// Gain and pan of each program, in program order.
inline constexpr float kProgramValues[3][2] = {{2.0f, 0.25f}, {8.0f, 0.75f}, {4.0f, 1.0f}};

class TProgramModule : public TVST2Module {
  ZELK_CLASS(TProgramModule, TVST2Module)

  explicit TProgramModule(TComponent* owner) : TVST2Module(owner) {}

  std::vector<std::string> Log;
  // Pan and current program as the first OnParameterChange of a switch saw them.
  float PanAtFirstChange = -1.0f;
  int32_t ProgramAtFirstChange = -1;

  void ModuleInitialize(TObject*) { Log.push_back("OnInitialize"); }
  void ProgramInitialize(TObject* sender) {
    auto* program = static_cast<TCustomVstProgram*>(sender);
    for (int32_t index = 0; index < 2; ++index) program->SetParameter(index, kProgramValues[program->Index()][index]);
    Log.push_back("Program.OnInitialize " + program->DisplayName());
  }
  void GainChange(TObject*, int32_t index, float value) { Log.push_back("Gain " + Entry(index, value)); }
  void ModuleParameterChange(TObject*, int32_t index, float value) {
    if (index == 0) {
      PanAtFirstChange = GetParameter(1);
      ProgramAtFirstChange = CurrentProgram();
    }
    Log.push_back("OnParameterChange " + Entry(index, value));
  }
  void ModuleProgramChange(TObject*) { Log.push_back("OnProgramChange " + std::to_string(CurrentProgram())); }

  using TCustomVST1Module::EditorNeedsUpdate;

  static std::string Entry(int32_t index, float value) { return std::to_string(index) + " " + FormatParameterValue(value); }
};

inline const TClassInfo& TProgramModule::StaticClass() {
  static const TClassInfo info = TClassBuilder<TProgramModule>("TProgramModule")
                                     .Method<&TProgramModule::ModuleInitialize>("ModuleInitialize")
                                     .Method<&TProgramModule::ProgramInitialize>("ProgramInitialize")
                                     .Method<&TProgramModule::GainChange>("GainChange")
                                     .Method<&TProgramModule::ModuleParameterChange>("ModuleParameterChange")
                                     .Method<&TProgramModule::ModuleProgramChange>("ModuleProgramChange")
                                     .Build();
  return info;
}

using TProgramModulePtr = std::unique_ptr<TProgramModule, TFreeObject>;

inline TProgramModulePtr MakeProgramModule() {
  // The registry keeps a view of the bytes: they live as long as the binary.
  static const std::vector<uint8_t> resource = CompileComponentText(kProgramModuleText);
  RegisterComponentResource("TProgramModule", resource);
  return TProgramModulePtr(New<TProgramModule>(nullptr));
}

// Attaches host to module and logs its automation reports into module's Log.
inline void AttachHost(TProgramModule& module, TRecordingHost& host) {
  module.HostCallback = TRecordingHost::Callback();
  host.OnAutomate = [&module](const THostCall& call) {
    module.Log.push_back("Automate " + TProgramModule::Entry(call.Index, call.Opt));
  };
}

inline intptr_t Dispatch(TVST2Module& module, int32_t opcode, int32_t index = 0, intptr_t value = 0,
                         void* ptr = nullptr) {
  return module.Effect.dispatcher(&module.Effect, opcode, index, value, ptr, 0.0f);
}

}  // namespace zelk::tests
