// The VST 2 binary interface between a host and this plug-in: the effect
// record the host receives, the entry and callback function types, the
// opcode numbers both sides send, and the small records passed by pointer.
//
// Layout rules: on 32-bit targets every record is laid out field after field
// without padding, exactly as 32-bit hosts read it. On 64-bit targets the
// function pointers, `object`, `user`, `resvd1`, `resvd2`, the host callback's
// value argument and its result are pointer-sized; every other field stays
// 32-bit, and each field sits at its natural alignment, as 64-bit hosts
// expect. The static_asserts at the end pin both layouts.
#pragma once

#include <cstddef>
#include <cstdint>

// Calling convention of every function that crosses the host boundary.
#if defined(_WIN32) && !defined(_WIN64)
#define ZELK_VST_CALL __cdecl
#else
#define ZELK_VST_CALL
#endif

// Makes a function visible to the host that loads the library.
#if defined(_WIN32)
#define ZELK_VST_EXPORT __declspec(dllexport)
#else
#define ZELK_VST_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

struct AEffect;

// The host's side: effect, opcode, index, value, pointer, float → answer.
using audioMasterCallback = intptr_t(ZELK_VST_CALL*)(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                                      void* ptr, float opt);
// The five entries of the effect record.
using AEffectDispatcherProc = intptr_t(ZELK_VST_CALL*)(AEffect* effect, int32_t opcode, int32_t index,
                                                        intptr_t value, void* ptr, float opt);
using AEffectProcessProc = void(ZELK_VST_CALL*)(AEffect* effect, float** inputs, float** outputs,
                                                 int32_t sampleFrames);
using AEffectSetParameterProc = void(ZELK_VST_CALL*)(AEffect* effect, int32_t index, float parameter);
using AEffectGetParameterProc = float(ZELK_VST_CALL*)(AEffect* effect, int32_t index);
// The library's entry point: the host callback in, the effect record out.
using VstPluginMainProc = AEffect*(ZELK_VST_CALL*)(audioMasterCallback host);

struct AEffect {
  int32_t magic;  // kEffectMagic
  AEffectDispatcherProc dispatcher;
  AEffectProcessProc process;  // accumulating
  AEffectSetParameterProc setParameter;
  AEffectGetParameterProc getParameter;
  int32_t numPrograms;
  int32_t numParams;
  int32_t numInputs;
  int32_t numOutputs;
  int32_t flags;  // effFlags... bits
  intptr_t resvd1;
  intptr_t resvd2;
  int32_t initialDelay;
  int32_t realQualities;
  int32_t offQualities;
  // Holds the integer 1 (bit pattern 0x00000001), not a float: hosts that
  // read it as a float see a denormal and, in practice, ignore it.
  int32_t ioRatio;
  void* object;  // the module; every entry finds its module through it
  void* user;    // the module as well, written by the entry point
  int32_t uniqueID;
  int32_t version;
  AEffectProcessProc processReplacing;
  char future[56];
};

// A generic event as the host lists it; byteSize counts from deltaFrames on.
struct VstEvent {
  int32_t type;
  int32_t byteSize;
  int32_t deltaFrames;
  int32_t flags;
  char data[16];
};

struct VstMidiEvent {
  int32_t type;      // kVstMidiType
  int32_t byteSize;  // kVstMidiEventByteSize
  int32_t deltaFrames;
  int32_t flags;
  int32_t noteLength;
  int32_t noteOffset;
  char midiData[4];
  char detune;
  char noteOffVelocity;
  char reserved1;
  char reserved2;
};

// A list of event pointers; hosts and plug-ins allocate room for more than
// the two declared here (see VstEventList).
struct VstEvents {
  int32_t numEvents;
  intptr_t reserved;
  VstEvent* events[2];
};

// Properties of one input or output pin.
struct VstPinProperties {
  char label[64];
  int32_t flags;  // kVstPinIsActive | kVstPinIsStereo | kVstPinUseSpeaker
  int32_t arrangementType;
  char shortLabel[8];
  char future[48];
};

struct VstSpeakerProperties {
  float azimuth;
  float elevation;
  float radius;
  float reserved;
  char name[64];
  int32_t type;
  char future[28];
};

// A speaker arrangement; allocated with room for numChannels speakers.
struct VstSpeakerArrangement {
  int32_t type;
  int32_t numChannels;
  VstSpeakerProperties speakers[8];
};

// What the host tells about a bank or program it is about to load.
struct VstPatchChunkInfo {
  int32_t version;
  int32_t pluginUniqueID;
  int32_t pluginVersion;
  int32_t numElements;
  char future[48];
};

struct VstKeyCode {
  int32_t character;
  unsigned char virt;
  unsigned char modifier;
};

// The editor rectangle, in the order the host reads it.
struct ERect {
  int16_t top;
  int16_t left;
  int16_t bottom;
  int16_t right;
};

// Records the framework only passes through between host and module code.
struct VstTimeInfo;
struct VstAudioFile;
struct VstOfflineTask;
struct VstVariableIo;
struct VstWindow;
struct VstFileSelect;

}  // extern "C"

// The same list head with room for Capacity pointers; handed to the host as
// a VstEvents pointer.
template <size_t Capacity>
struct VstEventList {
  int32_t numEvents;
  intptr_t reserved;
  VstEvent* events[Capacity];

  VstEvents* AsVstEvents() { return reinterpret_cast<VstEvents*>(this); }
};

// Four-character codes, first character in the most significant byte.
inline constexpr int32_t kEffectMagic = 0x56737450;  // 'VstP'

inline constexpr int32_t kVstMidiType = 1;
inline constexpr int32_t kVstMidiEventByteSize = static_cast<int32_t>(sizeof(VstMidiEvent) - 2 * sizeof(int32_t));

// Buffer sizes the host provides for texts, terminator included.
inline constexpr size_t kVstMaxProgNameLen = 24;
inline constexpr size_t kVstMaxParamStrLen = 8;
inline constexpr size_t kVstMaxVendorStrLen = 64;
inline constexpr size_t kVstMaxProductStrLen = 64;
inline constexpr size_t kVstMaxEffectNameLen = 32;

// The content scale many hosts offer for the editor: effVendorSpecific with
// index 'PreS', value 'AeCs' and the scale in opt (2.0 on a screen of twice
// the usual density).
inline constexpr int32_t kContentScaleIndex = 0x50726553;  // 'PreS'
inline constexpr intptr_t kContentScaleValue = 0x41654373;  // 'AeCs'
inline constexpr size_t kVstMaxLabelLen = 64;
inline constexpr size_t kVstMaxShortLabelLen = 8;

enum VstPinPropertiesFlags : int32_t {
  kVstPinIsActive = 1 << 0,
  kVstPinIsStereo = 1 << 1,
  kVstPinUseSpeaker = 1 << 2,
};

enum VstAEffectFlags : int32_t {
  effFlagsHasEditor = 1 << 0,
  effFlagsHasClip = 1 << 1,
  effFlagsHasVu = 1 << 2,
  effFlagsCanMono = 1 << 3,
  effFlagsCanReplacing = 1 << 4,
  effFlagsProgramChunks = 1 << 5,
  effFlagsIsSynth = 1 << 8,
  effFlagsNoSoundInStop = 1 << 9,
  effFlagsExtIsAsync = 1 << 10,
  effFlagsExtHasBuffer = 1 << 11,
};

// Requests of the host to the plug-in (the dispatcher's opcodes).
enum AEffectOpcodes : int32_t {
  effOpen = 0,
  effClose = 1,
  effSetProgram = 2,
  effGetProgram = 3,
  effSetProgramName = 4,
  effGetProgramName = 5,
  effGetParamLabel = 6,
  effGetParamDisplay = 7,
  effGetParamName = 8,
  effGetVu = 9,
  effSetSampleRate = 10,
  effSetBlockSize = 11,
  effMainsChanged = 12,
  effEditGetRect = 13,
  effEditOpen = 14,
  effEditClose = 15,
  effEditDraw = 16,
  effEditMouse = 17,
  effEditKey = 18,
  effEditIdle = 19,
  effEditTop = 20,
  effEditSleep = 21,
  effIdentify = 22,
  effGetChunk = 23,
  effSetChunk = 24,
  effProcessEvents = 25,
  effCanBeAutomated = 26,
  effString2Parameter = 27,
  effGetNumProgramCategories = 28,
  effGetProgramNameIndexed = 29,
  effCopyProgram = 30,
  effConnectInput = 31,
  effConnectOutput = 32,
  effGetInputProperties = 33,
  effGetOutputProperties = 34,
  effGetPlugCategory = 35,
  effGetCurrentPosition = 36,
  effGetDestinationBuffer = 37,
  effOfflineNotify = 38,
  effOfflinePrepare = 39,
  effOfflineRun = 40,
  effProcessVarIo = 41,
  effSetSpeakerArrangement = 42,
  effSetBlockSizeAndSampleRate = 43,
  effSetBypass = 44,
  effGetEffectName = 45,
  effGetErrorText = 46,
  effGetVendorString = 47,
  effGetProductString = 48,
  effGetVendorVersion = 49,
  effVendorSpecific = 50,
  effCanDo = 51,
  effGetTailSize = 52,
  effIdle = 53,
  effGetIcon = 54,
  effSetViewPosition = 55,
  effGetParameterProperties = 56,
  effKeysRequired = 57,
  effGetVstVersion = 58,
  effEditKeyDown = 59,
  effEditKeyUp = 60,
  effSetEditKnobMode = 61,
  effGetMidiProgramName = 62,
  effGetCurrentMidiProgram = 63,
  effGetMidiProgramCategory = 64,
  effHasMidiProgramsChanged = 65,
  effGetMidiKeyName = 66,
  effBeginSetProgram = 67,
  effEndSetProgram = 68,
  effGetSpeakerArrangement = 69,
  effShellGetNextPlugin = 70,
  effStartProcess = 71,
  effStopProcess = 72,
  effSetTotalSampleToProcess = 73,
  effSetPanLaw = 74,
  effBeginLoadBank = 75,
  effBeginLoadProgram = 76,
};

// Requests of the plug-in to the host (the host callback's opcodes).
enum AudioMasterOpcodes : int32_t {
  audioMasterAutomate = 0,
  audioMasterVersion = 1,
  audioMasterCurrentId = 2,
  audioMasterIdle = 3,
  audioMasterPinConnected = 4,
  audioMasterWantMidi = 6,
  audioMasterGetTime = 7,
  audioMasterProcessEvents = 8,
  audioMasterSetTime = 9,
  audioMasterTempoAt = 10,
  audioMasterGetNumAutomatableParameters = 11,
  audioMasterGetParameterQuantization = 12,
  audioMasterIOChanged = 13,
  audioMasterNeedIdle = 14,
  audioMasterSizeWindow = 15,
  audioMasterGetSampleRate = 16,
  audioMasterGetBlockSize = 17,
  audioMasterGetInputLatency = 18,
  audioMasterGetOutputLatency = 19,
  audioMasterGetPreviousPlug = 20,
  audioMasterGetNextPlug = 21,
  audioMasterWillReplaceOrAccumulate = 22,
  audioMasterGetCurrentProcessLevel = 23,
  audioMasterGetAutomationState = 24,
  audioMasterOfflineStart = 25,
  audioMasterOfflineRead = 26,
  audioMasterOfflineWrite = 27,
  audioMasterOfflineGetCurrentPass = 28,
  audioMasterOfflineGetCurrentMetaPass = 29,
  audioMasterSetOutputSampleRate = 30,
  audioMasterGetSpeakerArrangement = 31,
  audioMasterGetVendorString = 32,
  audioMasterGetProductString = 33,
  audioMasterGetVendorVersion = 34,
  audioMasterVendorSpecific = 35,
  audioMasterSetIcon = 36,
  audioMasterCanDo = 37,
  audioMasterGetLanguage = 38,
  audioMasterOpenWindow = 39,
  audioMasterCloseWindow = 40,
  audioMasterGetDirectory = 41,
  audioMasterUpdateDisplay = 42,
  audioMasterBeginEdit = 43,
  audioMasterEndEdit = 44,
  audioMasterOpenFileSelector = 45,
  audioMasterCloseFileSelector = 46,
  audioMasterEditFile = 47,
  audioMasterGetChunkFile = 48,
  audioMasterGetInputSpeakerArrangement = 49,
};

// ---- Layout checks --------------------------------------------------------

static_assert(sizeof(VstEvent) == 32 && sizeof(VstMidiEvent) == 32);
static_assert(kVstMidiEventByteSize == 24);
static_assert(sizeof(VstPinProperties) == 128 && offsetof(VstPinProperties, flags) == 64 &&
              offsetof(VstPinProperties, arrangementType) == 68 && offsetof(VstPinProperties, shortLabel) == 72 &&
              offsetof(VstPinProperties, future) == 80);
static_assert(sizeof(VstSpeakerProperties) == 112 && offsetof(VstSpeakerProperties, name) == 16 &&
              offsetof(VstSpeakerProperties, type) == 80 && offsetof(VstSpeakerProperties, future) == 84);
static_assert(offsetof(VstSpeakerArrangement, speakers) == 8);
static_assert(offsetof(VstPatchChunkInfo, pluginUniqueID) == 4);
static_assert(sizeof(ERect) == 8);
static_assert(offsetof(VstKeyCode, virt) == 4 && offsetof(VstKeyCode, modifier) == 5);

#if INTPTR_MAX == INT32_MAX
static_assert(sizeof(void*) == 4);
static_assert(offsetof(AEffect, magic) == 0);
static_assert(offsetof(AEffect, dispatcher) == 4);
static_assert(offsetof(AEffect, process) == 8);
static_assert(offsetof(AEffect, setParameter) == 12);
static_assert(offsetof(AEffect, getParameter) == 16);
static_assert(offsetof(AEffect, numPrograms) == 20);
static_assert(offsetof(AEffect, numParams) == 24);
static_assert(offsetof(AEffect, numInputs) == 28);
static_assert(offsetof(AEffect, numOutputs) == 32);
static_assert(offsetof(AEffect, flags) == 36);
static_assert(offsetof(AEffect, resvd1) == 40);
static_assert(offsetof(AEffect, resvd2) == 44);
static_assert(offsetof(AEffect, initialDelay) == 48);
static_assert(offsetof(AEffect, realQualities) == 52);
static_assert(offsetof(AEffect, offQualities) == 56);
static_assert(offsetof(AEffect, ioRatio) == 60);
static_assert(offsetof(AEffect, object) == 64);
static_assert(offsetof(AEffect, user) == 68);
static_assert(offsetof(AEffect, uniqueID) == 72);
static_assert(offsetof(AEffect, version) == 76);
static_assert(offsetof(AEffect, processReplacing) == 80);
static_assert(offsetof(AEffect, future) == 84);
static_assert(sizeof(AEffect) == 140);
static_assert(offsetof(VstEvents, events) == 8);
#else
static_assert(sizeof(void*) == 8);
static_assert(offsetof(AEffect, magic) == 0);
static_assert(offsetof(AEffect, dispatcher) == 8);
static_assert(offsetof(AEffect, process) == 16);
static_assert(offsetof(AEffect, setParameter) == 24);
static_assert(offsetof(AEffect, getParameter) == 32);
static_assert(offsetof(AEffect, numPrograms) == 40);
static_assert(offsetof(AEffect, numParams) == 44);
static_assert(offsetof(AEffect, numInputs) == 48);
static_assert(offsetof(AEffect, numOutputs) == 52);
static_assert(offsetof(AEffect, flags) == 56);
static_assert(offsetof(AEffect, resvd1) == 64);
static_assert(offsetof(AEffect, resvd2) == 72);
static_assert(offsetof(AEffect, initialDelay) == 80);
static_assert(offsetof(AEffect, realQualities) == 84);
static_assert(offsetof(AEffect, offQualities) == 88);
static_assert(offsetof(AEffect, ioRatio) == 92);
static_assert(offsetof(AEffect, object) == 96);
static_assert(offsetof(AEffect, user) == 104);
static_assert(offsetof(AEffect, uniqueID) == 112);
static_assert(offsetof(AEffect, version) == 116);
static_assert(offsetof(AEffect, processReplacing) == 120);
static_assert(offsetof(AEffect, future) == 128);
static_assert(sizeof(AEffect) == 184);
static_assert(offsetof(VstEvents, events) == 16);
#endif
static_assert(offsetof(VstEventList<2048>, events) == offsetof(VstEvents, events));
