// TCustomVST2Module: the VST 2 level of the module. Dispatch first runs the
// VST 1 level (so OnDispatcher fires once per call), then answers opcodes 25
// to 76; it adds the whole flags word, the identity answers, canDo and pin
// properties, the VST 2 host wrappers and the outgoing MIDI list.
//
// Where the bodies are: VST2Module.cpp (construction, flags), Dispatcher2.cpp
// (opcodes 25 to 76), HostCallbacks.cpp (host wrappers), ModulePrograms.cpp
// (program names, bank and program checks); those marked [capabilities] in
// VST2ModuleCapabilities.cpp, [parameters] in VST1ModuleParameters.cpp and
// [processing] in VST1ModuleProcessing.cpp.
#pragma once

#include <atomic>
#include <cstdint>
#include <string_view>
#include <vector>

#include "framework/Capabilities.h"
#include "framework/MidiOutList.h"
#include "framework/VST1Module.h"

namespace zelk {

class TCustomVST2Module : public TCustomVST1Module {
  ZELK_CLASS(TCustomVST2Module, TCustomVST1Module)

  static constexpr int32_t kVstVersion = 2300;

  explicit TCustomVST2Module(TComponent* owner);
  ~TCustomVST2Module() override;

  intptr_t Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) override;

  // ---- Settings (published by TVST2Module) ----

  // The whole flags word; bits without a member are never set.
  TVst2PluginFlags Flags() const;
  void SetFlags(TVst2PluginFlags flags);
  TVstPluginCategory PlugCategory = cgUnknown;
  TVstCanDos CanDos;

  // ---- Overrides [processing] ----

  void SetNumInputs(int32_t count) override;   // then tells the host
  void SetNumOutputs(int32_t count) override;  // then tells the host
  void SetInitialDelay(int32_t delay) override;
  void Resume() override;  // then asks the host for MIDI
  // Both send the pending outgoing MIDI events after processing.
  void ProcessAccumulating(float** inputs, float** outputs, int32_t sampleFrames) override;
  void ProcessReplacing(float** inputs, float** outputs, int32_t sampleFrames) override;

  // ---- Dispatcher targets ----

  // Hands each MIDI event of the host's list to OnProcessMidi. [capabilities]
  virtual int32_t ProcessEvents(VstEvents* events);
  // The item's CanBeAutomated; true for an index beyond the items. [parameters]
  virtual bool CanBeAutomated(int32_t index);
  // Parses a decimal number and sets parameter index to it; false when the
  // text is no number, the index no parameter, or setting it failed. [parameters]
  virtual bool String2Parameter(int32_t index, const char* text);
  // Copies program index's name (at most kVstMaxProgNameLen bytes).
  virtual bool GetProgramNameIndexed(int32_t index, char* text);
  // 1 claimed, −1 known but not claimed, 0 unknown. [capabilities]
  virtual int32_t CanDo(const char* text);
  // False, leaving the record alone, for a pin that does not exist. [capabilities]
  virtual bool GetInputProperties(int32_t index, VstPinProperties* properties);
  virtual bool GetOutputProperties(int32_t index, VstPinProperties* properties);
  // Stores both without comparing and fires both change events.
  virtual void SetBlockSizeAndSampleRate(int32_t blockSize, float sampleRate);
  // 0 when the host's patch belongs to this plug-in (same unique ID), −1 otherwise.
  virtual int32_t BeginLoadBank(const VstPatchChunkInfo* info);
  virtual int32_t BeginLoadProgram(const VstPatchChunkInfo* info);

  // ---- Outgoing MIDI ----

  // Module code fills MidiOut.Record(0 .. count−1) and raises MidiOutCount;
  // the events go to the host after the next process call.
  TMidiOutList MidiOut;
  std::atomic<int32_t> MidiOutCount{0};
  void FlushMidiOut();  // [capabilities]

  // ---- Speaker arrangements for module code [capabilities] ----

  // Releases the list, then allocates a zero-filled one for channels speakers.
  bool AllocateArrangement(VstSpeakerArrangement*& arrangement, int32_t channels);
  // Releases the list and clears the reference; always true.
  bool DeallocateArrangement(VstSpeakerArrangement*& arrangement);
  bool CopySpeaker(VstSpeakerProperties* to, const VstSpeakerProperties* from);
  // Replaces to by a copy of from; false when from is null or allocation fails.
  bool MatchArrangement(VstSpeakerArrangement*& to, const VstSpeakerArrangement* from);

  // ---- Host wrappers (VST 2) ----

  void WantMidi(int32_t flag);
  VstTimeInfo* GetTimeInfo(int32_t filter);
  // True when the host answers exactly 1.
  bool SendVstEventsToHost(VstEvents* events);
  void SetTimeInfo(int32_t filter, VstTimeInfo* timeInfo);
  // Tempo times 10000 at a sample position.
  virtual int32_t TempoAt(int32_t samplePosition);
  virtual int32_t GetNumAutomatableParameters();
  virtual int32_t GetParameterQuantization();
  virtual bool IOChanged();
  virtual bool NeedIdle();
  virtual bool SizeWindow(int32_t width, int32_t height);
  // Ask the host; a positive answer becomes the new setting and fires its
  // change event. Answer the current setting in every case.
  virtual float UpdateSampleRate();
  virtual int32_t UpdateBlockSize();
  virtual int32_t GetInputLatency();
  virtual int32_t GetOutputLatency();
  virtual AEffect* GetPreviousPlug();
  virtual AEffect* GetNextPlug();
  virtual int32_t WillReplaceOrAccumulate();
  virtual int32_t GetCurrentProcessLevel();
  virtual int32_t GetAutomationState();
  virtual bool OfflineStart(VstAudioFile* audioFiles, int32_t numAudioFiles, int32_t numNewAudioFiles);
  virtual bool OfflineRead(VstOfflineTask* offline, int32_t option, bool readSource);
  virtual bool OfflineWrite(VstOfflineTask* offline, int32_t option);
  virtual bool OfflineGetCurrentPass();
  virtual bool OfflineGetCurrentMetaPass();
  virtual void SetOutputSampleRate(float sampleRate);
  virtual VstSpeakerArrangement* GetOutputSpeakerArrangement();
  virtual VstSpeakerArrangement* GetInputSpeakerArrangement();
  // text must hold kVstMaxVendorStrLen (kVstMaxProductStrLen) bytes.
  virtual bool GetHostVendorString(char* text);
  virtual bool GetHostProductString(char* text);
  virtual int32_t GetHostVendorVersion();
  virtual intptr_t HostVendorSpecific(int32_t index, intptr_t value, void* ptr, float opt);
  virtual int32_t CanHostDo(const char* text);
  virtual int32_t GetHostLanguage();
  virtual void* OpenWindow(VstWindow* window);
  virtual bool CloseWindow(VstWindow* window);
  virtual void* GetDirectory();
  virtual bool UpdateDisplay();
  virtual bool BeginEdit(int32_t index);
  virtual bool EndEdit(int32_t index);

  // ---- Edit gestures (user-interface thread) ----

  // One gesture of the editor on parameter index (a drag, a held step, a
  // wheel turn, a key press, a reset), bracketed by BeginEdit and EndEdit
  // so that hosts record touch automation and group the gesture for undo.
  // BeginGesture tells the host once per gesture however often it is
  // called; EndGesture ends an open gesture once and ignores the rest.
  void BeginGesture(int32_t index);
  void EndGesture(int32_t index);
  // Ends every open gesture, in the order they began: the editor closed
  // or the module goes in the middle of one.
  void EndOpenGestures();
  bool GestureOpen(int32_t index) const;
  // The editor's gestures through the parameter port.
  void BeginParameterEdit(int32_t index) override { BeginGesture(index); }
  void EndParameterEdit(int32_t index) override { EndGesture(index); }
  // False without asking the host when fileSelect is null.
  virtual bool OpenFileSelector(VstFileSelect* fileSelect);

  // ---- Events ----

  TOnVendorSpecificEvent OnVendorSpecific;
  TInOutConnectedEvent OnInConnected;
  TInOutConnectedEvent OnOutConnected;
  TOfflineNotifyEvent OnOfflineNotify;
  TOfflinePrepareEvent OnOfflinePrepare;
  TOfflineRunEvent OnOfflineRun;
  TProcessVarIOEvent OnProcessVarIO;
  TSoftBypassEvent OnSoftBypass;
  TVSTKeyEvent OnEditorKeyDown;
  TVSTKeyEvent OnEditorKeyUp;
  TSetKnobModeEvent OnEditorKnobMode;
  TOnSetPanLawEvent OnSetPanLaw;
  TNotifyEvent OnBeginSetProgram;
  TNotifyEvent OnEndSetProgram;
  TNotifyEvent OnStartProcess;
  TNotifyEvent OnStopProcess;
  TOnCanDoEvent OnCanDo;
  TOnGetChannelPropertiesEvent OnInputProperties;
  TOnGetChannelPropertiesEvent OnOutputProperties;
  TProcessMidiEvent OnProcessMidi;

 protected:
  // Ends the open gestures before the module lets go of anything.
  void ReleaseContents() override;
  // Ends the gestures that the closed editor left open.
  void EditClose() override;
  // Audio thread: Tempo from the host's tempo at sample position 0.
  void RefreshTempo() noexcept;  // [processing]

 private:
  // Opcode handlers of Dispatch (Dispatcher2.cpp).
  intptr_t DispatchIdentity(int32_t opcode, void* ptr);
  intptr_t DispatchHostNotification(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
  intptr_t DispatchEditorKey(int32_t opcode, int32_t index, intptr_t value, float opt);
  intptr_t DispatchProgramSequence(int32_t opcode);
  int32_t AnswerPatchCheck(const VstPatchChunkInfo* info, const TBeginLoadEvent& event);

  std::vector<int32_t> openGestures_;  // parameter indexes, in the order their gestures began
};

}  // namespace zelk
