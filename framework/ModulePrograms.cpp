// Programs as the host reaches them: selecting, naming and listing them,
// their chunks, and the checks before the host loads a bank or program. A
// module without programs answers the empty cases: program 0, empty names,
// no chunk. Bank chunks are not served: their requests answer 0.
#include <algorithm>
#include <cstdio>

#include "framework/FireEvent.h"
#include "framework/HostText.h"
#include "framework/Program.h"
#include "framework/VST2Module.h"

namespace zelk {

namespace {

constexpr char kBankChunkNote[] = "ToDo";

// Null for an index without a program: nothing here indexes a program that
// does not exist.
TCustomVstProgram* ProgramAt(TCustomVstPrograms* programs, int32_t index) {
  if (programs == nullptr || index < 0 || index >= programs->Count()) return nullptr;
  return programs->Program(index);
}

// Bank chunks are not supported. Hosts ask for them from their user-
// interface thread while saving or loading a project; a dialog there would
// stall the host, so the refusal goes to standard error.
int32_t RefuseBankChunk(const char* request) noexcept {
  std::fprintf(stderr, "Zelk: %s: %s (bank chunks are not supported), answered 0\n", request, kBankChunkNote);
  return 0;
}

}  // namespace

// In this order: the program becomes current, its values are stored, then
// each value is set once more, index by index, then OnProgramChange and the
// editor update, so that OnProgramChange finds every value of the program
// applied. An index without a program changes nothing.
void TCustomVST1Module::SetCurrentProgram(int32_t program) {
  TCustomVstProgram* selected = ProgramAt(Programs(), program);
  if (selected == nullptr) return;
  currentProgram_.store(program, std::memory_order_relaxed);
  const int32_t count = std::min(numParams(), selected->ParameterCount());
  // All values are in place before the first change event: a handler that
  // reads other parameters sees the new program, not half of it.
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

// The current program's chunk: its address at data, its size as the
// answer. Without a current program (a module without programs) the
// answer is 0 and data stays as the host left it.
int32_t TCustomVST1Module::GetChunk(void** data, bool isPreset) {
  if (!isPreset) return RefuseBankChunk("effGetChunk");
  TCustomVstProgram* program = ProgramAt(Programs(), CurrentProgram());
  if (data == nullptr || program == nullptr) return 0;
  *data = program->Chunk().data();
  return static_cast<int32_t>(program->Chunk().size());
}

// Replaces the current program's chunk with the host's bytes. Nothing is
// stored, and the answer is 0, without a current program or for bytes the
// host did not actually pass (null, negative size).
int32_t TCustomVST1Module::SetChunk(void* data, int32_t byteSize, bool isPreset) {
  RequestEditorUpdate();
  if (!isPreset) return RefuseBankChunk("effSetChunk");
  TCustomVstProgram* program = ProgramAt(Programs(), CurrentProgram());
  if (program == nullptr || data == nullptr || byteSize < 0) return 0;
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
