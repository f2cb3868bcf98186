// Whatever floating-point state the host left (flush-to-zero, denormals-are-zero,
// another rounding mode, x87 precision control at 53 or 24 bits, unmasked
// exceptions, sticky flags), every path gives the reference's bits, raises no
// trap, and hands back MXCSR bit for bit and the x87 control and status words.

#include <gtest/gtest.h>

#include "RotationOracle.h"

namespace zelk::tests {
namespace {

struct THostState {
  const char* Name;
  uint16_t ControlWord;
  uint32_t Mxcsr;
  bool PresetX87Flags;  // leave the x87 precision flag raised before the call
};

const THostState kHostStates[] = {
    {"FTZ and DAZ", kX87Extended, kMxcsrDefault | kMxcsrFtz | kMxcsrDaz, false},
    {"FTZ, DAZ, rounding up, all MXCSR flags raised", kX87Extended,
     kMxcsrDefault | kMxcsrFtz | kMxcsrDaz | 0x4000 | 0x3F, true},
    {"x87 precision 53 bits (Windows default)", kX87Double, kMxcsrDefault, false},
    {"x87 precision 24 bits rounding down, FTZ", static_cast<uint16_t>(kX87Single | 0x0400), kMxcsrDefault | kMxcsrFtz,
     true},
    {"a host's 0x1332: 53 bits, invalid/zero-divide/overflow unmasked", 0x1332, kMxcsrDefault | kMxcsrDaz, false},
    {"SSE invalid, denormal, overflow unmasked, toward zero, DAZ", static_cast<uint16_t>(kX87Double | 0x0C00),
     (kMxcsrDefault & ~(0x0080u | 0x0100u | 0x0400u)) | 0x6000 | kMxcsrDaz, false},
};

struct TStateAfter {
  uint16_t ControlWordBefore;  // as read back: the processor keeps reserved bits set
  uint16_t ControlWord;
  uint16_t StatusWordBefore;
  uint16_t StatusWordAfter;
  uint32_t Mxcsr;
};

void RaiseX87Precision() {
  __asm__ __volatile__("fldpi\n\tfld1\n\tfdivp\n\tfstp %%st(0)" : : : "st", "st(1)");
}

// Sets the host's state, runs `work`, reads the state back, and returns to the
// default state before anything else computes.
template <typename TWork>
__attribute__((noinline)) TStateAfter UnderHostState(const THostState& state, TWork&& work) {
  WriteX87ControlWord(kX87Extended);
  ClearX87Exceptions();
  if (state.PresetX87Flags) {
    RaiseX87Precision();
  }
  WriteMxcsr(state.Mxcsr);
  WriteX87ControlWord(state.ControlWord);
  TStateAfter after{};
  after.ControlWordBefore = ReadX87ControlWord();
  after.StatusWordBefore = ReadX87StatusWord();
  work();
  after.StatusWordAfter = ReadX87StatusWord();
  after.ControlWord = ReadX87ControlWord();
  after.Mxcsr = ReadMxcsr();
  WriteMxcsr(kMxcsrDefault);
  ClearX87Exceptions();
  WriteX87ControlWord(kX87Extended);
  return after;
}

void ExpectRestored(const THostState& state, const TStateAfter& after, const char* what) {
  EXPECT_EQ(after.Mxcsr, state.Mxcsr) << what << " under " << state.Name;
  EXPECT_EQ(after.ControlWord, after.ControlWordBefore) << what << " under " << state.Name;
  EXPECT_EQ(after.StatusWordAfter, after.StatusWordBefore) << what << " under " << state.Name;
}

std::vector<TBlock> StateCorpus() {
  std::vector<TBlock> blocks = DenormalBlocks(21);
  for (TBlock& block : MidpointBlocks(22)) {
    blocks.push_back(std::move(block));
  }
  for (TBlock& block : SpecialBlocks()) {
    blocks.push_back(std::move(block));
  }
  blocks.push_back(OverflowBlock());
  for (TBlock& block : RandomBlocks(23, 30.0f)) {
    blocks.push_back(std::move(block));
  }
  return blocks;
}

class RotationHostState : public ::testing::TestWithParam<TRotationPath> {};

TEST_P(RotationHostState, ResultsIgnoreTheHostStateAndTheStateIsHandedBack) {
  const TRotationPath path = GetParam();
  ZELK_REQUIRE_ROTATION_PATH(path);
  const std::vector<TBlock> blocks = StateCorpus();
  for (const THostState& state : kHostStates) {
    size_t differences = 0;
    for (const TBlock& block : blocks) {
      const TExpected expected = Expect(block);
      TExpected actual;
      actual.Left.resize(block.Left.size());
      actual.Right.resize(block.Left.size());
      bool ran = false;
      const TStateAfter after = UnderHostState(state, [&] {
        ran = RotateStereoWithPath(path, block.Left.data(), block.Right.data(), actual.Left.data(),
                                   actual.Right.data(), static_cast<int32_t>(block.Left.size()), block.Coefficients);
      });
      ASSERT_TRUE(ran);
      ExpectRestored(state, after, block.Name.c_str());
      for (size_t i = 0; i < block.Left.size(); ++i) {
        if (Bits(actual.Left[i]) != Bits(expected.Left[i]) || Bits(actual.Right[i]) != Bits(expected.Right[i])) {
          ++differences;
        }
      }
    }
    EXPECT_EQ(differences, 0u) << PathName(path) << " under " << state.Name;
  }
}

TEST_P(RotationHostState, InPlaceUnderFlushToZeroAndDoublePrecisionMatchesTheReference) {
  const TRotationPath path = GetParam();
  ZELK_REQUIRE_ROTATION_PATH(path);
  const THostState state = {"FTZ, DAZ, x87 53 bits", kX87Double, kMxcsrDefault | kMxcsrFtz | kMxcsrDaz, true};
  for (const TBlock& block : DenormalBlocks(31)) {
    const TExpected expected = Expect(block);
    TExpected actual{block.Left, block.Right};
    const TStateAfter after = UnderHostState(state, [&] {
      RotateStereoWithPath(path, actual.Left.data(), actual.Right.data(), actual.Left.data(), actual.Right.data(),
                           static_cast<int32_t>(block.Left.size()), block.Coefficients);
    });
    ExpectRestored(state, after, "in place");
    for (size_t i = 0; i < block.Left.size(); ++i) {
      ASSERT_EQ(Bits(actual.Left[i]), Bits(expected.Left[i])) << block.Name << " frame " << i;
      ASSERT_EQ(Bits(actual.Right[i]), Bits(expected.Right[i])) << block.Name << " frame " << i;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EveryPath, RotationHostState, ::testing::ValuesIn(AllPaths()),
                         [](const ::testing::TestParamInfo<TRotationPath>& info) {
                           return std::string(PathName(info.param));
                         });

TEST(RotationHostStateCoefficients, CoefficientsIgnoreTheHostStateAndTheStateIsHandedBack) {
  ZELK_REQUIRE_EXTENDED_PRECISION();
  std::vector<float> angles;
  for (int tenth = 0; tenth <= 3600; tenth += 7) {
    angles.push_back(static_cast<float>(tenth) / 10.0f);
  }
  angles.push_back(1e18f);
  angles.push_back(-1234.5f);
  std::vector<TRotationCoefficients> expected;
  for (float degrees : angles) {
    expected.push_back(ComputeRotationCoefficients(degrees));
  }
  for (const THostState& state : kHostStates) {
    for (size_t i = 0; i < angles.size(); ++i) {
      TRotationCoefficients got{};
      const TStateAfter after = UnderHostState(state, [&] { got = ComputeRotationCoefficients(angles[i]); });
      ExpectRestored(state, after, "coefficients");
      ASSERT_EQ(Bits(got.CosAngle), Bits(expected[i].CosAngle)) << angles[i] << " under " << state.Name;
      ASSERT_EQ(Bits(got.SinAngle), Bits(expected[i].SinAngle)) << angles[i] << " under " << state.Name;
    }
  }
}

// RotateStereo (the dispatching entry) behaves the same, including its first
// call when it chooses the path.
TEST(RotationHostStateDispatch, RotateStereoHandsTheStateBack) {
  ZELK_REQUIRE_EXTENDED_PRECISION();
  for (const THostState& state : kHostStates) {
    for (const TBlock& block : SpecialBlocks()) {
      const TExpected expected = Expect(block);
      TExpected actual{block.Left, block.Right};
      const TStateAfter after = UnderHostState(state, [&] {
        RotateStereo(actual.Left.data(), actual.Right.data(), actual.Left.data(), actual.Right.data(),
                     static_cast<int32_t>(block.Left.size()), block.Coefficients);
      });
      ExpectRestored(state, after, "RotateStereo");
      for (size_t i = 0; i < block.Left.size(); ++i) {
        ASSERT_EQ(Bits(actual.Left[i]), Bits(expected.Left[i])) << block.Name << " frame " << i;
        ASSERT_EQ(Bits(actual.Right[i]), Bits(expected.Right[i])) << block.Name << " frame " << i;
      }
    }
  }
}

}  // namespace
}  // namespace zelk::tests
