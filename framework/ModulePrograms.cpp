// Programs as the host reaches them: selecting, naming and listing them,
// their chunks, and the checks before the host loads a bank or program. A
// module without programs answers the empty cases: program 0, empty names,
// no chunk.
#include <algorithm>

#include "framework/FireEvent.h"
#include "framework/HostText.h"
#include "framework/Program.h"
#include "framework/VST2Module.h"

namespace zelk {

namespace {
TCustomVstProgram* ProgramAt(TCustomVstPrograms* programs, int32_t index) {
  if (programs == nullptr || index < 0 || index >= programs->Count()) return nullptr;
  return programs->Program(index);
}
}  // namespace

void TCustomVST1Module::SetCurrentProgram(int32_t program) {
  TCustomVstProgram* selected = ProgramAt(Programs(), program);
  if (selected == nullptr) return;
  currentProgram_.store(program, std::memory_order_relaxed);
  const int32_t count = std::min(numParams(), selected->ParameterCount());
  for (int32_t index = 0; index < count; ++index) Parameters.Set(index, selected->Parameter(index));
  // Each value goes through the full set path: the host hears it, the
  // change events fire and, with OverwritePrograms, it is written back.
  for (int32_t index = 0; index < count; ++index) SetParameterAutomated(index, GetParameter(index));
  FireIfAssigned(OnProgramChange, this);
  RequestEditorUpdate();
}

std::string TCustomVST1Module::GetCurrentProgramName() const {
  TCustomVstProgram* program = ProgramAt(Programs(), CurrentProgram());
  return program != nullptr ? program->DisplayName() : std::string();
}

void TCustomVST1Module::SetCurrentProgramName(const std::string& name) {
  TCustomVstProgram* program = ProgramAt(Programs(), CurrentProgram());
  if (program == nullptr) return;
  program->SetDisplayName(name);
  RequestEditorUpdate();
}

// Bank chunks are not supported: the answer is 0 and data is left alone, as
// it is for a program without chunk bytes.
int32_t TCustomVST1Module::GetChunk(void** data, bool isPreset) {
  TCustomVstProgram* program = isPreset ? ProgramAt(Programs(), CurrentProgram()) : nullptr;
  if (data == nullptr || program == nullptr || program->Chunk().empty()) return 0;
  *data = program->Chunk().data();
  return static_cast<int32_t>(program->Chunk().size());
}

int32_t TCustomVST1Module::SetChunk(void* data, int32_t byteSize, bool isPreset) {
  RequestEditorUpdate();
  TCustomVstProgram* program = isPreset ? ProgramAt(Programs(), CurrentProgram()) : nullptr;
  if (program == nullptr || byteSize < 0 || (data == nullptr && byteSize > 0)) return 0;
  const auto* bytes = static_cast<const uint8_t*>(data);
  program->Chunk().assign(bytes, bytes + byteSize);
  return byteSize;
}

bool TCustomVST2Module::GetProgramNameIndexed(int32_t index, char* text) {
  TCustomVstProgram* program = ProgramAt(Programs(), index);
  if (program == nullptr || text == nullptr) return false;
  WriteHostText(text, kVstMaxProgNameLen, program->DisplayName());
  return true;
}

int32_t TCustomVST2Module::BeginLoadBank(const VstPatchChunkInfo* info) {
  return AnswerPatchCheck(info, OnBeginLoadBank);
}

int32_t TCustomVST2Module::BeginLoadProgram(const VstPatchChunkInfo* info) {
  return AnswerPatchCheck(info, OnBeginLoadProgram);
}

int32_t TCustomVST2Module::AnswerPatchCheck(const VstPatchChunkInfo* info, const TBeginLoadEvent& event) {
  if (info == nullptr) return -1;
  FireIfAssigned(event, this, *info);
  return info->pluginUniqueID == Effect.uniqueID ? 0 : -1;
}

}  // namespace zelk
