// TCustomVST1Module: the module behind one effect record, at the level VST 1
// defined. It owns the record the host holds, its parameter and program
// collections, the editor form and the processing state, answers dispatcher
// opcodes 0 to 24 and wraps the VST 1 host callbacks. It is the parameter
// port its editor talks to.
//
// Threads: the dispatcher and the settings run on the host's user-interface
// thread (or whichever thread the host dispatches from); the process entries
// on its audio thread; parameters are set from either. Values read across
// those threads (parameter values, sample rate, block size, tempo, current
// program, the editor and re-entry flags, the process routes) are atomics.
// Settings that only loading or module code change are plain values.
//
// Where the bodies are: VST1Module.cpp (construction, settings),
// EffectEntries.cpp (the record's five entries), Dispatcher1.cpp (opcodes 0
// to 24), HostCallbacks.cpp (host wrappers), ModulePrograms.cpp (programs
// and chunks), EditorHosting.cpp (editor); those marked [parameters] in
// VST1ModuleParameters.cpp and those marked [processing] in
// VST1ModuleProcessing.cpp.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/CPU.h"
#include "framework/ChangedParameters.h"
#include "framework/ModuleEvents.h"
#include "framework/ParameterPort.h"
#include "framework/ParameterUpdaters.h"
#include "framework/ParameterValues.h"
#include "framework/PluginEditor.h"
#include "framework/PluginFlags.h"
#include "framework/Processing.h"
#include "framework/VstInterface.h"
#include "runtime/DataModule.h"

namespace zelk {

class TCustomVstParameterProperties;
class TCustomVstPrograms;

class TCustomVST1Module : public TDataModule, public TParameterPort {
  ZELK_CLASS(TCustomVST1Module, TDataModule)

  explicit TCustomVST1Module(TComponent* owner);
  ~TCustomVST1Module() override;

  // The module a record belongs to (its object field); null for a null
  // record or one without a module.
  static TCustomVST1Module* FromEffect(const AEffect* effect);

  // The record handed to the host; it lives as long as the module.
  AEffect Effect{};
  // Set by the entry point; null when no host is attached (tests, tools).
  audioMasterCallback HostCallback = nullptr;

  // One host request other than audio and parameter values.
  virtual intptr_t Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

  // ---- Settings (published by TVST2Module) ----

  std::string About() const;
  TCPU* CPU() const { return cpu_.get(); }
  std::string Version = "0.0";  // informational only
  std::string EffectName;
  std::string ProductName;
  std::string VendorName;
  int32_t VendorVersion = 0;
  int32_t TailSize = 0;
  bool OverwritePrograms = false;
  // Host tempo in beats per minute, refreshed on every process call.
  float Tempo() const { return tempo_.load(std::memory_order_relaxed); }

  float SampleRate() const { return sampleRate_.load(std::memory_order_relaxed); }
  virtual void SetSampleRate(float sampleRate);  // [processing]
  int32_t BlockSize() const { return blockSize_.load(std::memory_order_relaxed); }
  virtual void SetBlockSize(int32_t blockSize);  // [processing]

  int32_t NumInputs() const { return Effect.numInputs; }
  virtual void SetNumInputs(int32_t count);  // [processing]
  int32_t NumOutputs() const { return Effect.numOutputs; }
  virtual void SetNumOutputs(int32_t count);  // [processing]
  TChannelCounts ChannelCounts() const { return {Effect.numInputs, Effect.numOutputs}; }
  // The item counts of ParameterProperties and Programs. The setters ignore
  // the value given and recount; the parameter recount also resizes
  // Parameters and every program's values (new entries 0.0). The
  // collections call them whenever their items change.
  int32_t numParams() const { return Effect.numParams; }
  virtual void SetNumParams(int32_t ignored);
  int32_t numPrograms() const { return Effect.numPrograms; }
  virtual void SetNumPrograms(int32_t ignored);

  int32_t CurrentProgram() const { return currentProgram_.load(std::memory_order_relaxed); }
  virtual void SetCurrentProgram(int32_t program);
  virtual std::string GetCurrentProgramName() const;
  virtual void SetCurrentProgramName(const std::string& name);

  TProcessingMode ProcessingMode() const { return Processing.Mode(); }
  void SetProcessingMode(TProcessingMode mode);  // [processing]
  int32_t BlockModeSize() const { return Processing.Blocks().Size(); }
  virtual void SetBlockModeSize(int32_t size);  // [processing]
  int32_t BlockModeOverlap() const { return Processing.Blocks().Overlap(); }
  virtual void SetBlockModeOverlap(int32_t overlap);  // [processing]
  // Reads the effective delay the record holds.
  int32_t InitialDelay() const { return Effect.initialDelay; }
  virtual void SetInitialDelay(int32_t delay);  // [processing]

  // Copied into the record only.
  int32_t RealQualities() const { return Effect.realQualities; }
  void SetRealQualities(int32_t value) { Effect.realQualities = value; }
  int32_t OffQualities() const { return Effect.offQualities; }
  void SetOffQualities(int32_t value) { Effect.offQualities = value; }
  int32_t IORatio() const { return Effect.ioRatio; }
  void SetIORatio(int32_t value) { Effect.ioRatio = value; }

  // Four characters packed into the record's uniqueID (FourCharCode.h).
  virtual std::string GetUniqueID() const;
  virtual void SetUniqueID(const std::string& id);

  TCustomVstParameterProperties* ParameterProperties() const { return parameterProperties_.get(); }
  void SetParameterProperties(TCustomVstParameterProperties* source);  // copies the items
  TCustomVstPrograms* Programs() const { return programs_.get(); }
  void SetPrograms(TCustomVstPrograms* source);  // copies the items

  // The six VST 1 flag bits (editor, clip, VU, mono, replacing, chunks):
  // the store clears every other bit of the flags word.
  virtual TVst2PluginFlags Vst1Flags() const;
  virtual void SetVst1Flags(TVst2PluginFlags flags);

  // ---- Parameters [parameters] ----

  // Current value in parameter units; 0 for an index outside the parameters.
  virtual float GetParameter(int32_t index);
  // Stores, reports to the host and fires the change events; drops a call
  // that arrives while another is under way.
  virtual void SetParameterAutomated(int32_t index, float value);
  float ParameterToNormalized(int32_t index, float value);
  // Through the item's curve and smoother.
  float NormalizedToParameter(int32_t index, float normalized);
  // Texts for the host for a parameter index inside the parameters; the
  // dispatcher answers "undefined" for other indexes without asking.
  virtual std::string GetParameterLabel(int32_t index);
  virtual std::string GetParameterDisplay(int32_t index);
  virtual std::string GetParameterName(int32_t index);
  bool IsParameterIndex(int32_t index) const { return index >= 0 && index < numParams(); }

  // ---- Parameter port (the editor's side) ----

  float ParameterValue(int32_t index) override { return GetParameter(index); }
  // SetParameterAutomated, remembered as the editor's own value so that the
  // next idle call does not show it back to the editor.
  void SetParameterFromEditor(int32_t index, float value) override;
  // The VST 2 level makes them edit gestures; nothing at this level.
  void BeginParameterEdit(int32_t) override {}
  void EndParameterEdit(int32_t) override {}

  // ---- Processing [processing] ----

  // Audio thread. outputs += the module's output.
  virtual void ProcessAccumulating(float** inputs, float** outputs, int32_t sampleFrames);
  // Audio thread. outputs := the module's output.
  virtual void ProcessReplacing(float** inputs, float** outputs, int32_t sampleFrames);
  virtual void Suspend();
  virtual void Resume();
  virtual void PrepareBlockBuffers();
  // Sets InitialDelay again when the mode or the blocks call for another
  // effective delay. [processing]
  void RefreshInitialDelay();

  const TProcessAudioEvent& OnProcess() const { return onProcess_; }
  void SetOnProcess(TProcessAudioEvent handler);  // [processing]
  const TProcessAudioEvent& OnProcessReplacing() const { return onProcessReplacing_; }
  void SetOnProcessReplacing(TProcessAudioEvent handler);  // [processing]

  // ---- Editor ----

  TComponent* EditorForm() const { return editorForm_; }
  // Device pixels per editor pixel, chosen at each opening before
  // OnEditOpen: the host's content scale when it offered one, else the
  // screen settings of the host's window (1.0 at 96 dots per inch).
  double EditorScale() const { return editorScale_; }
  // The host's content scale; applies from the next opening. A value that
  // is not a positive number withdraws it.
  void SetHostEditorScale(float scale);
  // Sets EditorNeedsUpdate so that the next idle call repaints the editor
  // and shows it every parameter again (program changes and chunks call it).
  virtual void RequestEditorUpdate();

  // ---- Host wrappers (VST 1) ----

  // Reports a parameter change (normalized value) to the host.
  void HostAutomate(int32_t index, float normalizedValue);
  // The host's VST version; 1 when it answers 0 or no host is attached.
  virtual int32_t GetHostVersion();
  virtual int32_t GetCurrentUniqueId();
  virtual void HostIdle();
  // True when the host answers 0 (the pin is connected) or is absent.
  virtual bool IsInputConnected(int32_t input);
  virtual bool IsOutputConnected(int32_t output);

  // ---- Events ----

  TNotifyEvent OnOpen;
  TNotifyEvent OnClose;
  TOnDispatcherEvent OnDispatcher;
  TGetVUEvent OnGetVU;
  TParameterChangeEvent OnParameterChange;
  TNotifyEvent OnInitialize;
  TNotifyEvent OnProgramChange;
  TSampleRateChangeEvent OnSampleRateChange;
  TBlockSizeChangeEvent OnBlockSizeChange;
  TNotifyEvent OnSuspend;
  TNotifyEvent OnResume;
  TGetEditorEvent OnEditOpen;
  TNotifyEvent OnEditClose;
  TNotifyEvent OnEditIdle;
  // Not published: set by module code.
  TBeginLoadEvent OnBeginLoadBank;
  TBeginLoadEvent OnBeginLoadProgram;

 protected:
  // The read-only About text ignores writes.
  virtual void SetAbout(const std::string& text);

  virtual intptr_t EditOpen(void* parentWindow);
  virtual void EditClose();
  virtual void EditIdle();

  // The current program's chunk (isPreset) or the bank's: the address at
  // data and the byte count; 0 without one. The setter loads one.
  virtual int32_t GetChunk(void** data, bool isPreset);
  virtual int32_t SetChunk(void* data, int32_t byteSize, bool isPreset);

  void ReleaseContents() override;

  // Calls the host with this module's record; 0 when no host is attached.
  intptr_t CallHost(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr, float opt = 0.0f);

  // Values in parameter units, one per parameter item.
  TParameterValues Parameters;
  // Effective process routes, block buffers and scratch buffers.
  TProcessing Processing;
  int32_t RequestedInitialDelay = 0;
  std::atomic<float> tempo_{0.0f};
  std::atomic<float> sampleRate_{44100.0f};
  std::atomic<int32_t> blockSize_{1024};
  std::atomic<int32_t> currentProgram_{0};
  // Set with every change the editor may have to show: any parameter set,
  // program change, chunk set or RequestEditorUpdate. The idle call's one
  // load when nothing changed.
  std::atomic<bool> EditorNeedsUpdate{false};
  // The threads inside SetParameterAutomated (its re-entry guard).
  TParameterUpdaters ParameterUpdating;
  ERect EditorRect{};
  TComponent* editorForm_ = nullptr;

 private:
  void FillEffectRecord();
  void ResizeProgramValues(int32_t count);
  void ReleaseOwned();
  void FreeEditorForm();
  double ChooseEditorScale(void* parentWindow) const;
  // Any thread: parameter index changed, for the editor's next idle call.
  void MarkParameterChanged(int32_t index);
  // The parameters changed since the last idle call, less those that hold
  // what the editor itself set.
  TParameterSet TakeChangesFromOthers();
  void PumpEditorWindows();

  // Opcode handlers of Dispatch (Dispatcher1.cpp; the rectangle in
  // EditorHosting.cpp).
  intptr_t DispatchProgramOpcode(int32_t opcode, intptr_t value, void* ptr);
  intptr_t DispatchParameterText(int32_t opcode, int32_t index, void* ptr);
  intptr_t DispatchEditorOpcode(int32_t opcode, void* ptr);
  intptr_t AnswerVu();
  intptr_t AnswerEditorRect(void* ptr);
  void MainsChanged(intptr_t value);

  double editorScale_ = 1.0;
  // The open editor behind the seam; null without one or for a component
  // that no adapter takes (then editorForm_ alone holds it).
  std::unique_ptr<TPluginEditor> editor_;
  TChangedParameters changedParameters_;
  std::atomic<bool> repaintRequested_{false};
  // Per parameter, what the editor set last since the last idle call; NaN
  // where it set nothing (a set never stores NaN). User-interface thread.
  std::vector<float> editorValues_;
  std::atomic<float> hostEditorScale_{0.0f};  // 0: none offered
  std::unique_ptr<TCustomVstParameterProperties, TFreeObject> parameterProperties_;
  std::unique_ptr<TCustomVstPrograms, TFreeObject> programs_;
  std::unique_ptr<TCPU, TFreeObject> cpu_;
  TProcessAudioEvent onProcess_;
  TProcessAudioEvent onProcessReplacing_;
};

}  // namespace zelk
