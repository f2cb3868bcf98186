// The event types a module publishes. Each is optional and fires only when
// assigned; the first argument is the module (or item) that fires it, except
// for the VU query and the process events, which hosts call at a high rate.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/Capabilities.h"
#include "framework/ProcessTypes.h"
#include "framework/VstInterface.h"
#include "runtime/Event.h"

namespace zelk {

class TComponent;

using TOnDispatcherEvent = TEvent<void(TObject* Sender, int32_t opCode)>;
using TGetVUEvent = TEvent<void(float& VU)>;
using TInOutConnectedEvent = TEvent<void(TObject* Sender, int32_t Index, bool State)>;
using TOfflineNotifyEvent = TEvent<void(TObject* Sender, VstAudioFile* AudioFile, int32_t numAudioFiles, bool start)>;
// OfflineTask is the host's task array as it passed it.
using TOfflinePrepareEvent = TEvent<void(TObject* Sender, VstOfflineTask* OfflineTask, int32_t count)>;
using TOfflineRunEvent = TOfflinePrepareEvent;
using TProcessVarIOEvent = TEvent<void(TObject* Sender, VstVariableIo* varIo)>;
using TSoftBypassEvent = TEvent<void(TObject* Sender, bool onOff)>;
using TOnVendorSpecificEvent =
    TEvent<intptr_t(TObject* Sender, int32_t lArg1, intptr_t lArg2, void* ptrArg, float floatArg)>;
using TVSTKeyEvent = TEvent<void(TObject* Sender, VstKeyCode& keyCode)>;
using TSetKnobModeEvent = TEvent<void(TObject* Sender, int32_t val)>;
using TOnSetPanLawEvent = TEvent<void(TObject* Sender, int32_t& vType, float& val)>;
using TProcessMidiEvent = TEvent<void(TObject* Sender, const VstMidiEvent& MidiEvent)>;

// Value is in parameter units.
using TParameterChangeEvent = TEvent<void(TObject* Sender, int32_t Index, float Value)>;
using TSampleRateChangeEvent = TEvent<void(TObject* Sender, float SampleRate)>;
using TBlockSizeChangeEvent = TEvent<void(TObject* Sender, int32_t BlockSize)>;

// The handler creates the editor form and returns it in GUI (null: no
// editor). The form is a component of the window toolkit; the module owns it
// from then on.
using TGetEditorEvent = TEvent<void(TObject* Sender, TComponent*& GUI)>;

// The integer results of these three are not used by the framework.
using TOnCanDoEvent = TEvent<int32_t(TObject* Sender, std::string_view CanDoText)>;
using TOnGetChannelPropertiesEvent =
    TEvent<int32_t(TObject* Sender, std::string& vLabel, std::string& shortLabel,
                   TSpeakerArrangementType& SpeakerArrangement, TChannelPropertyFlags& Flags)>;

// The host announces a bank or program it is about to load.
using TBeginLoadEvent = TEvent<void(TObject* Sender, const VstPatchChunkInfo& PatchChunkInfo)>;

}  // namespace zelk
