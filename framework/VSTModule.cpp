#include "framework/VSTModule.h"

#include "framework/FireEvent.h"
#include "framework/ParameterProperty.h"
#include "framework/Program.h"
#include "resources/ComponentResources.h"
#include "runtime/ClassBuilder.h"

namespace zelk {

namespace {
constexpr int64_t kDefaultBlockSize = 1024;
constexpr int64_t kDefaultChannels = 2;
constexpr int64_t kDefaultIORatio = 1;
}  // namespace

// Every setting and event of a module, in the order component resources
// store them. Float defaults (SampleRate 44100) cannot be declared and are
// always stored.
const TClassInfo& TVST2Module::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TVST2Module>("TVST2Module")
          .Property("Flags", &TVST2Module::Flags, &TVST2Module::SetFlags)
          .Default(TVst2PluginFlags{})
          .ReadOnly("About", &TVST2Module::About)
          .Stored(false)
          .ReadOnly("CPU", &TVST2Module::CPU)
          .Property("Version", &TVST2Module::Version)
          .Property("EffectName", &TVST2Module::EffectName)
          .Property("ProductName", &TVST2Module::ProductName)
          .Property("VendorName", &TVST2Module::VendorName)
          .Property("VendorVersion", &TVST2Module::VendorVersion)
          .Default(0)
          .Property("PlugCategory", &TVST2Module::PlugCategory)
          .Default(cgUnknown)
          .ReadOnly("Tempo", &TVST2Module::Tempo)
          .Stored(false)
          .Property("TailSize", &TVST2Module::TailSize)
          .Default(0)
          .Property("CanDos", &TVST2Module::CanDos)
          .Default(TVstCanDos{})
          .Property("OverwritePrograms", &TVST2Module::OverwritePrograms)
          .Default(false)
          .Property("SampleRate", &TVST2Module::SampleRate, &TVST2Module::SetSampleRate)
          .Property("BlockSize", &TVST2Module::BlockSize, &TVST2Module::SetBlockSize)
          .Default(kDefaultBlockSize)
          .Property("numInputs", &TVST2Module::NumInputs, &TVST2Module::SetNumInputs)
          .Default(kDefaultChannels)
          .Property("numOutputs", &TVST2Module::NumOutputs, &TVST2Module::SetNumOutputs)
          .Default(kDefaultChannels)
          .Property("numParams", &TVST2Module::numParams, &TVST2Module::SetNumParams)
          .Stored(false)
          .Property("numPrograms", &TVST2Module::numPrograms, &TVST2Module::SetNumPrograms)
          .Stored(false)
          .Property("CurrentProgram", &TVST2Module::CurrentProgram, &TVST2Module::SetCurrentProgram)
          .Default(0)
          .Property("CurrentProgramName", &TVST2Module::GetCurrentProgramName, &TVST2Module::SetCurrentProgramName)
          .Property("ProcessingMode", &TVST2Module::ProcessingMode, &TVST2Module::SetProcessingMode)
          .Default(pmNormal)
          .Property("BlockModeSize", &TVST2Module::BlockModeSize, &TVST2Module::SetBlockModeSize)
          .Default(kDefaultBlockSize)
          .Property("BlockModeOverlap", &TVST2Module::BlockModeOverlap, &TVST2Module::SetBlockModeOverlap)
          .Default(0)
          .Property("InitialDelay", &TVST2Module::InitialDelay, &TVST2Module::SetInitialDelay)
          .Default(0)
          .Property("RealQualities", &TVST2Module::RealQualities, &TVST2Module::SetRealQualities)
          .Default(0)
          .Property("OffQualities", &TVST2Module::OffQualities, &TVST2Module::SetOffQualities)
          .Default(0)
          .Property("IORatio", &TVST2Module::IORatio, &TVST2Module::SetIORatio)
          .Default(kDefaultIORatio)
          .Property("UniqueID", &TVST2Module::GetUniqueID, &TVST2Module::SetUniqueID)
          .Property("Programs", &TVST2Module::Programs, &TVST2Module::SetPrograms)
          .Property("ParameterProperties", &TVST2Module::ParameterProperties, &TVST2Module::SetParameterProperties)
          // Events of the dispatcher.
          .Property("OnOpen", &TVST2Module::OnOpen)
          .Property("OnClose", &TVST2Module::OnClose)
          .Property("OnDispatcher", &TVST2Module::OnDispatcher)
          .Property("OnGetVU", &TVST2Module::OnGetVU)
          .Property("OnVendorSpecific", &TVST2Module::OnVendorSpecific)
          .Property("OnInConnected", &TVST2Module::OnInConnected)
          .Property("OnOutConnected", &TVST2Module::OnOutConnected)
          .Property("OnOfflineNotify", &TVST2Module::OnOfflineNotify)
          .Property("OnOfflinePrepare", &TVST2Module::OnOfflinePrepare)
          .Property("OnOfflineRun", &TVST2Module::OnOfflineRun)
          .Property("OnProcessVarIO", &TVST2Module::OnProcessVarIO)
          .Property("OnSoftBypass", &TVST2Module::OnSoftBypass)
          .Property("OnEditorKeyDown", &TVST2Module::OnEditorKeyDown)
          .Property("OnEditorKeyUp", &TVST2Module::OnEditorKeyUp)
          .Property("OnEditorKnobMode", &TVST2Module::OnEditorKnobMode)
          .Property("OnSetPanLaw", &TVST2Module::OnSetPanLaw)
          .Property("OnBeginSetProgram", &TVST2Module::OnBeginSetProgram)
          .Property("OnEndSetProgram", &TVST2Module::OnEndSetProgram)
          .Property("OnStartProcess", &TVST2Module::OnStartProcess)
          .Property("OnStopProcess", &TVST2Module::OnStopProcess)
          // Parameters and programs.
          .Property("OnParameterChange", &TVST2Module::OnParameterChange)
          .Property("OnInitialize", &TVST2Module::OnInitialize)
          .Property("OnProgramChange", &TVST2Module::OnProgramChange)
          // Processing.
          .Property("OnProcess", &TVST2Module::OnProcess, &TVST2Module::SetOnProcess)
          .Property("OnProcessReplacing", &TVST2Module::OnProcessReplacing, &TVST2Module::SetOnProcessReplacing)
          .Property("OnSampleRateChange", &TVST2Module::OnSampleRateChange)
          .Property("OnBlockSizeChange", &TVST2Module::OnBlockSizeChange)
          .Property("OnSuspend", &TVST2Module::OnSuspend)
          .Property("OnResume", &TVST2Module::OnResume)
          // Editor.
          .Property("OnEditOpen", &TVST2Module::OnEditOpen)
          .Property("OnEditClose", &TVST2Module::OnEditClose)
          .Property("OnEditIdle", &TVST2Module::OnEditIdle)
          // Capabilities and MIDI.
          .Property("OnCanDo", &TVST2Module::OnCanDo)
          .Property("OnInputProperties", &TVST2Module::OnInputProperties)
          .Property("OnOutputProperties", &TVST2Module::OnOutputProperties)
          .Property("OnProcessMidi", &TVST2Module::OnProcessMidi)
          .Build();
  return info;
}

TVST2Module::TVST2Module(TComponent* owner) : TCustomVST2Module(owner) {}

void TVST2Module::InitializeComponent() {
  if (LoadsSettings()) ReadRootResources(*this, TCustomVST2Module::StaticClass(), messages::kModuleResourceNotFound);
  // The container fires OnCreate after construction unless asked to fire it
  // here, before the module initialises its programs.
  if (OldCreateOrder) DoCreate();
  InitializePrograms();
}

// Only products (classes below TVST2Module) have resources; a module being
// designed keeps its defaults.
bool TVST2Module::LoadsSettings() const {
  return &ClassType() != &TVST2Module::StaticClass() && !HasState(csDesigning);
}

void TVST2Module::InitializePrograms() {
  FireIfAssigned(OnInitialize, this);
  for (int32_t index = 0; index < numPrograms(); ++index) {
    TCustomVstProgram* program = Programs()->Program(index);
    FireIfAssigned(program->OnInitialize, program);
  }
  // Applies program 0 when there is one.
  SetCurrentProgram(0);
}

}  // namespace zelk
