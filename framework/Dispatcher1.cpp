// Opcodes 0 to 24, the requests VST 1 defined. OnDispatcher fires first for
// every opcode; every opcode beyond 24 answers 0 here and is the VST 2
// level's to answer.
#include <cmath>
#include <limits>

#include "framework/FireEvent.h"
#include "framework/FourCharCode.h"
#include "framework/HostText.h"
#include "framework/VST1Module.h"

namespace zelk {

namespace {
constexpr char kUndefinedParameterText[] = "undefined";
constexpr double kVuScale = 32767.0;

// The nearest integer, halves to the even neighbour; values that are no
// number or do not fit answer 0 rather than whatever the conversion makes.
intptr_t RoundToAnswer(double value) {
  const double rounded = std::nearbyint(value);
  if (!std::isfinite(rounded) || std::fabs(rounded) > std::numeric_limits<int32_t>::max()) return 0;
  return static_cast<intptr_t>(rounded);
}
}  // namespace

intptr_t TCustomVST1Module::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
  if (OnDispatcher) OnDispatcher(this, opcode);
  switch (opcode) {
    case effOpen:
      FireIfAssigned(OnOpen, this);
      return 0;
    case effClose:
      FireIfAssigned(OnClose, this);
      return 0;
    case effSetProgram:
    case effGetProgram:
    case effSetProgramName:
    case effGetProgramName:
      return DispatchProgramOpcode(opcode, value, ptr);
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
      return DispatchParameterText(opcode, index, ptr);
    case effGetVu:
      return AnswerVu();
    case effSetSampleRate:
      SetSampleRate(opt);
      return 1;
    case effSetBlockSize:
      SetBlockSize(static_cast<int32_t>(value));
      return 0;
    case effMainsChanged:
      MainsChanged(value);
      return 0;
    case effEditGetRect:
      return AnswerEditorRect(ptr);
    case effEditOpen:
    case effEditClose:
    case effEditIdle:
      return DispatchEditorOpcode(opcode, ptr);
    case effIdentify:
      return kIdentifyAnswer;
    case effGetChunk:
      return GetChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk:
      return SetChunk(ptr, static_cast<int32_t>(value), index != 0);
    default:
      // effEditDraw, effEditMouse, effEditKey, effEditTop, effEditSleep and
      // everything beyond the VST 1 range.
      return 0;
  }
}

intptr_t TCustomVST1Module::DispatchProgramOpcode(int32_t opcode, intptr_t value, void* ptr) {
  switch (opcode) {
    case effSetProgram:
      // Hosts re-send the current program after every effMainsChanged; that
      // must not re-apply it.
      if (value < numPrograms() && value != CurrentProgram()) SetCurrentProgram(static_cast<int32_t>(value));
      return 0;
    case effGetProgram:
      return CurrentProgram();
    case effSetProgramName:
      if (numPrograms() > 0 && ptr != nullptr) SetCurrentProgramName(std::string(ReadHostText(ptr)));
      return 0;
    default:  // effGetProgramName
      WriteHostText(ptr, kVstMaxProgNameLen, numPrograms() > 0 ? GetCurrentProgramName() : std::string());
      return 0;
  }
}

intptr_t TCustomVST1Module::DispatchParameterText(int32_t opcode, int32_t index, void* ptr) {
  if (ptr == nullptr) return 0;
  std::string text = kUndefinedParameterText;
  if (IsParameterIndex(index)) {
    if (opcode == effGetParamLabel) {
      text = GetParameterLabel(index);
    } else if (opcode == effGetParamDisplay) {
      text = GetParameterDisplay(index);
    } else {
      text = GetParameterName(index);
    }
  }
  // Hosts provide 8 bytes here, however long the name; many provide more
  // but none promises it.
  WriteHostText(ptr, kVstMaxParamStrLen, text);
  return 0;
}

intptr_t TCustomVST1Module::AnswerVu() {
  if (!OnGetVU) return 0;
  float vu = 0.0f;
  OnGetVU(vu);
  return RoundToAnswer(static_cast<double>(vu) * kVuScale);
}

void TCustomVST1Module::MainsChanged(intptr_t value) {
  if (value == 0) {
    Suspend();
  } else {
    Resume();
  }
}

// The editor bit is read at the time of the call: module code may change
// the flags while the module lives.
intptr_t TCustomVST1Module::DispatchEditorOpcode(int32_t opcode, void* ptr) {
  if (!Vst1Flags().Contains(pfHasEditor)) return 0;
  switch (opcode) {
    case effEditOpen:
      return EditOpen(ptr);
    case effEditClose:
      EditClose();
      return 0;
    default:  // effEditIdle
      EditIdle();
      // After module code has brought the editor up to date, so that what
      // changed is painted within this call.
      PumpEditorWindows();
      return 0;
  }
}

}  // namespace zelk
