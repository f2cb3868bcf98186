// Chunks carry a host's saved state back into the module: what goes in must
// come out unchanged and per program, a request without usable bytes or
// without a program must store nothing and say so with 0, and the bank
// requests, which the framework does not serve, must answer at once. The
// load checks tell a host whether a saved patch belongs to this plug-in.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/programs/ProgramTestModule.h"
#include "tests/support/TestModule.h"

namespace zelk::tests {
namespace {

constexpr int32_t kBank = 0;
constexpr int32_t kProgram = 1;

std::vector<uint8_t> ChunkOf(TVST2Module& module) {
  void* data = nullptr;
  const auto size = static_cast<int32_t>(Dispatch(module, effGetChunk, kProgram, 0, &data));
  const auto* bytes = static_cast<const uint8_t*>(data);
  return size > 0 ? std::vector<uint8_t>(bytes, bytes + size) : std::vector<uint8_t>{};
}

intptr_t SetChunk(TVST2Module& module, int32_t index, std::vector<uint8_t>& bytes) {
  return Dispatch(module, effSetChunk, index, static_cast<intptr_t>(bytes.size()), bytes.data());
}

// ---- Program chunks ----

TEST(ProgramChunks, EachProgramGivesBackWhatWasSetForIt) {
  TProgramModulePtr module = MakeProgramModule();
  std::vector<uint8_t> first{1, 2, 3, 0, 255};
  std::vector<uint8_t> second{9, 8};
  EXPECT_EQ(SetChunk(*module, kProgram, first), 5);
  Dispatch(*module, effSetProgram, 0, 2);
  EXPECT_TRUE(ChunkOf(*module).empty());
  EXPECT_EQ(SetChunk(*module, kProgram, second), 2);
  Dispatch(*module, effSetProgram, 0, 0);
  EXPECT_EQ(ChunkOf(*module), first);
  Dispatch(*module, effSetProgram, 0, 2);
  EXPECT_EQ(ChunkOf(*module), second);
  // A chunk is data for the module's own code: values are left alone.
  EXPECT_EQ(module->GetParameter(0), 4.0f);
}

TEST(ProgramChunks, BytesTheHostDidNotPassStoreNothing) {
  TProgramModulePtr module = MakeProgramModule();
  std::vector<uint8_t> kept{7, 7, 7};
  SetChunk(*module, kProgram, kept);
  EXPECT_EQ(Dispatch(*module, effSetChunk, kProgram, 3, nullptr), 0);
  EXPECT_EQ(Dispatch(*module, effSetChunk, kProgram, 0, nullptr), 0);
  EXPECT_EQ(Dispatch(*module, effSetChunk, kProgram, -1, kept.data()), 0);
  EXPECT_EQ(ChunkOf(*module), kept);
  EXPECT_EQ(Dispatch(*module, effGetChunk, kProgram, 0, nullptr), 0);
  // An empty chunk is a chunk: it replaces the old one.
  EXPECT_EQ(Dispatch(*module, effSetChunk, kProgram, 0, kept.data()), 0);
  EXPECT_TRUE(ChunkOf(*module).empty());
}

TEST(ProgramChunks, WithoutProgramsNothingIsStoredAndTheHostPointerStays) {
  TTestModulePtr module = MakeTestModule();
  std::vector<uint8_t> bytes{1, 2};
  EXPECT_EQ(SetChunk(*module, kProgram, bytes), 0);
  void* data = &data;
  EXPECT_EQ(Dispatch(*module, effGetChunk, kProgram, 0, &data), 0);
  EXPECT_EQ(data, &data);
}

// ---- Bank chunks: refused at once, noted on standard error ----

TEST(BankChunks, RequestsAnswerZeroAtOnceAndLeaveTheProgramChunk) {
  TProgramModulePtr module = MakeProgramModule();
  std::vector<uint8_t> program{4, 2};
  SetChunk(*module, kProgram, program);
  std::vector<uint8_t> bank{1, 1, 1};
  void* data = &data;

  ::testing::internal::CaptureStderr();
  const intptr_t got = Dispatch(*module, effGetChunk, kBank, 0, &data);
  const intptr_t set = SetChunk(*module, kBank, bank);
  const std::string diagnostic = ::testing::internal::GetCapturedStderr();

  EXPECT_EQ(got, 0);
  EXPECT_EQ(set, 0);
  EXPECT_EQ(data, &data);
  EXPECT_EQ(ChunkOf(*module), program);
  EXPECT_NE(diagnostic.find("effGetChunk: ToDo"), std::string::npos) << diagnostic;
  EXPECT_NE(diagnostic.find("effSetChunk: ToDo"), std::string::npos) << diagnostic;
}

// ---- Load checks: own and foreign patches ----

struct TLoadListener : TObject {
  std::vector<std::string> Heard;
  void Bank(TObject*, const VstPatchChunkInfo& info) { Heard.push_back("bank " + std::to_string(info.numElements)); }
  void Program(TObject*, const VstPatchChunkInfo& info) {
    Heard.push_back("program " + std::to_string(info.numElements));
  }
};

TEST(LoadChecks, OwnPatchesAnswerZeroForeignOnesMinusOneAndBothAreAnnounced) {
  TProgramModulePtr module = MakeProgramModule();
  TLoadListener listener;
  module->OnBeginLoadBank = TBeginLoadEvent::Bind<&TLoadListener::Bank>(&listener);
  module->OnBeginLoadProgram = TBeginLoadEvent::Bind<&TLoadListener::Program>(&listener);
  VstPatchChunkInfo own{};
  own.pluginUniqueID = 'P' << 24 | 'r' << 16 | 'g' << 8 | '3';
  own.numElements = 3;
  VstPatchChunkInfo foreign = own;
  foreign.pluginUniqueID = 'Z' << 24 | 'e' << 16 | 'l' << 8 | 'k';
  foreign.numElements = 1;

  EXPECT_EQ(Dispatch(*module, effBeginLoadBank, 0, 0, &own), 0);
  EXPECT_EQ(Dispatch(*module, effBeginLoadBank, 0, 0, &foreign), -1);
  EXPECT_EQ(Dispatch(*module, effBeginLoadProgram, 0, 0, &own), 0);
  EXPECT_EQ(Dispatch(*module, effBeginLoadProgram, 0, 0, &foreign), -1);
  EXPECT_EQ(Dispatch(*module, effBeginLoadProgram, 0, 0, nullptr), -1);
  EXPECT_EQ(listener.Heard, (std::vector<std::string>{"bank 3", "bank 1", "program 3", "program 1"}));
}

// ---- A module without programs answers the empty cases ----

TEST(NoPrograms, ProgramOpcodesAnswerTheEmptyCases) {
  TTestModulePtr module = MakeTestModule();
  module->ParameterProperties()->Add();
  module->EditorNeedsUpdate = false;
  char name[] = "Renamed";
  Dispatch(*module, effSetProgramName, 0, 0, name);
  module->SetCurrentProgramName("Renamed");
  EXPECT_EQ(module->GetCurrentProgramName(), "");
  EXPECT_FALSE(module->EditorNeedsUpdate);
  EXPECT_EQ(Dispatch(*module, effGetProgramName, 0, 0, name), 0);
  EXPECT_STREQ(name, "");
  EXPECT_EQ(Dispatch(*module, effGetProgramNameIndexed, 0, 0, name), 0);
  EXPECT_EQ(Dispatch(*module, effGetProgram), 0);
}

}  // namespace
}  // namespace zelk::tests
