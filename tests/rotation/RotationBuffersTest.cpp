// Every path writes exactly frames outputs per channel and nothing else: all
// lengths and tails, misaligned buffers, guard bands of poisoned samples, frames
// that need the reference in the middle of a vector step and in the tail,
// separate, in place and crossed; and frame counts of zero or less write nothing.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>

#include "RotationOracle.h"

namespace zelk::tests {
namespace {

constexpr int32_t kGuard = 16;
constexpr uint32_t kPoison = 0x7FBADBAD;

// One channel buffer with a poisoned guard band before and after the samples,
// the samples starting `offset` floats past a 64-byte boundary.
class TGuardedChannel {
 public:
  TGuardedChannel(int32_t frames, int32_t offset)
      : m_Frames(frames), m_Start(kGuard + offset), m_Storage(static_cast<size_t>(frames + 2 * kGuard + 16 + offset) + 16) {
    for (float& sample : m_Storage) {
      sample = FromBits(kPoison);
    }
    // Align the storage start to 64 bytes within the vector.
    const uintptr_t address = reinterpret_cast<uintptr_t>(m_Storage.data());
    m_Base = static_cast<int32_t>(((64 - address % 64) % 64) / sizeof(float));
  }
  float* Samples() { return m_Storage.data() + m_Base + m_Start; }
  bool GuardsIntact() const {
    for (int32_t i = 0; i < m_Base + m_Start; ++i) {
      if (Bits(m_Storage[static_cast<size_t>(i)]) != kPoison) {
        return false;
      }
    }
    for (size_t i = static_cast<size_t>(m_Base + m_Start + m_Frames); i < m_Storage.size(); ++i) {
      if (Bits(m_Storage[i]) != kPoison) {
        return false;
      }
    }
    return true;
  }

 private:
  int32_t m_Frames;
  int32_t m_Start;
  std::vector<float> m_Storage;
  int32_t m_Base = 0;
};

// Audio with frames that need the reference (constructed midpoints, NaN,
// tiny sums) scattered at random positions.
TBlock MixedBlock(std::mt19937& random, int32_t frames, TRotationCoefficients coefficients) {
  TBlock source;
  source.Coefficients = coefficients;
  AddMidpointFrames(random, source, true, 64, -20, 20);
  AddMidpointFrames(random, source, false, 64, -20, 20);
  TBlock block;
  block.Name = "mixed";
  block.Coefficients = coefficients;
  std::uniform_real_distribution<float> audio(-1.0f, 1.0f);
  for (int32_t i = 0; i < frames; ++i) {
    const uint32_t kind = static_cast<uint32_t>(random()) % 16;
    if (kind == 0 && !source.Left.empty()) {
      const size_t pick = static_cast<size_t>(random()) % source.Left.size();
      block.Left.push_back(source.Left[pick]);
      block.Right.push_back(source.Right[pick]);
    } else if (kind == 1) {
      block.Left.push_back(std::numeric_limits<float>::quiet_NaN());
      block.Right.push_back(audio(random));
    } else if (kind == 2) {
      block.Left.push_back(FromBits(static_cast<uint32_t>(random()) % 0x00800000u));
      block.Right.push_back(-FromBits(static_cast<uint32_t>(random()) % 0x00800000u));
    } else {
      block.Left.push_back(audio(random));
      block.Right.push_back(audio(random));
    }
  }
  return block;
}

std::vector<int32_t> Lengths() {
  std::vector<int32_t> lengths;
  for (int32_t frames = 1; frames <= 80; ++frames) {
    lengths.push_back(frames);
  }
  for (int32_t frames : {127, 129, 255, 257, 1021, 4099}) {
    lengths.push_back(frames);
  }
  return lengths;
}

class RotationBuffers : public ::testing::TestWithParam<TRotationPath> {};

TEST_P(RotationBuffers, EveryLengthAndOffsetWritesExactlyItsFramesSeparateInPlaceAndCrossed) {
  const TRotationPath path = GetParam();
  ZELK_REQUIRE_ROTATION_PATH(path);
  std::mt19937 random(11);
  const std::vector<TRotationCoefficients> angles = AngleCoefficients(0.0f, 360.0f, 15.0f);
  int failures = 0;
  for (int32_t frames : Lengths()) {
    for (int32_t offset = 0; offset < 4; ++offset) {
      const TRotationCoefficients coefficients = angles[static_cast<size_t>(random()) % angles.size()];
      const TBlock block = MixedBlock(random, frames, coefficients);
      const TExpected expected = Expect(block);
      for (int layout = 0; layout < 3; ++layout) {
        TGuardedChannel first(frames, offset);
        TGuardedChannel second(frames, (offset + layout) % 4);
        TGuardedChannel inLeft(frames, 3 - offset);
        TGuardedChannel inRight(frames, offset);
        float* outLeft;
        float* outRight;
        const float* left;
        const float* right;
        if (layout == 0) {  // separate
          std::copy(block.Left.begin(), block.Left.end(), inLeft.Samples());
          std::copy(block.Right.begin(), block.Right.end(), inRight.Samples());
          left = inLeft.Samples();
          right = inRight.Samples();
          outLeft = first.Samples();
          outRight = second.Samples();
        } else if (layout == 1) {  // in place
          std::copy(block.Left.begin(), block.Left.end(), first.Samples());
          std::copy(block.Right.begin(), block.Right.end(), second.Samples());
          left = outLeft = first.Samples();
          right = outRight = second.Samples();
        } else {  // crossed
          std::copy(block.Left.begin(), block.Left.end(), first.Samples());
          std::copy(block.Right.begin(), block.Right.end(), second.Samples());
          left = outRight = first.Samples();
          right = outLeft = second.Samples();
        }
        ASSERT_TRUE(RotateStereoWithPath(path, left, right, outLeft, outRight, frames, coefficients));
        bool same = first.GuardsIntact() && second.GuardsIntact();
        for (int32_t i = 0; same && i < frames; ++i) {
          same = Bits(outLeft[i]) == Bits(expected.Left[static_cast<size_t>(i)]) &&
                 Bits(outRight[i]) == Bits(expected.Right[static_cast<size_t>(i)]);
        }
        if (!same && ++failures <= 10) {
          ADD_FAILURE() << PathName(path) << " frames " << frames << " offset " << offset << " layout " << layout;
        }
      }
    }
  }
  EXPECT_EQ(failures, 0);
}

// Large buffers (a quarter million frames and an odd tail), outputs aligned
// alike and differently, with frames that need the reference scattered through.
TEST_P(RotationBuffers, LargeSeparateBuffersStayExact) {
  const TRotationPath path = GetParam();
  ZELK_REQUIRE_ROTATION_PATH(path);
  std::mt19937 random(12);
  const int32_t frames = (1 << 18) + 1237;
  const TBlock block = MixedBlock(random, frames, ComputeRotationCoefficients(123.25f));
  const TExpected expected = Expect(block);
  const int32_t offsets[][2] = {{0, 0}, {1, 1}, {3, 3}, {7, 7}, {1, 2}};
  for (const auto& offset : offsets) {
    TGuardedChannel inLeft(frames, 2);
    TGuardedChannel inRight(frames, 5);
    TGuardedChannel outLeft(frames, offset[0]);
    TGuardedChannel outRight(frames, offset[1]);
    std::copy(block.Left.begin(), block.Left.end(), inLeft.Samples());
    std::copy(block.Right.begin(), block.Right.end(), inRight.Samples());
    ASSERT_TRUE(RotateStereoWithPath(path, inLeft.Samples(), inRight.Samples(), outLeft.Samples(),
                                     outRight.Samples(), frames, block.Coefficients));
    EXPECT_TRUE(outLeft.GuardsIntact() && outRight.GuardsIntact()) << offset[0] << "," << offset[1];
    size_t differences = 0;
    for (int32_t i = 0; i < frames; ++i) {
      differences += Bits(outLeft.Samples()[i]) != Bits(expected.Left[static_cast<size_t>(i)]);
      differences += Bits(outRight.Samples()[i]) != Bits(expected.Right[static_cast<size_t>(i)]);
    }
    EXPECT_EQ(differences, 0u) << PathName(path) << " offsets " << offset[0] << "," << offset[1];
  }
}

TEST_P(RotationBuffers, FrameCountsOfZeroOrLessWriteNothing) {
  const TRotationPath path = GetParam();
  ZELK_REQUIRE_ROTATION_PATH(path);
  for (int32_t frames : {0, -1, -4, -8, INT32_MIN}) {
    TGuardedChannel left(8, 0);
    TGuardedChannel right(8, 0);
    TGuardedChannel outLeft(0, 0);
    TGuardedChannel outRight(0, 0);
    ASSERT_TRUE(RotateStereoWithPath(path, left.Samples(), right.Samples(), outLeft.Samples(), outRight.Samples(),
                                     frames, {0.5f, 0.5f}));
    EXPECT_TRUE(outLeft.GuardsIntact());
    EXPECT_TRUE(outRight.GuardsIntact());
    RotateStereo(left.Samples(), right.Samples(), outLeft.Samples(), outRight.Samples(), frames, {0.5f, 0.5f});
    EXPECT_TRUE(outLeft.GuardsIntact());
    EXPECT_TRUE(outRight.GuardsIntact());
  }
  // No buffer is touched at all: null pointers are fine.
  RotateStereo(nullptr, nullptr, nullptr, nullptr, 0, {1.0f, 0.0f});
  EXPECT_TRUE(RotateStereoWithPath(path, nullptr, nullptr, nullptr, nullptr, -5, {1.0f, 0.0f}));
}

INSTANTIATE_TEST_SUITE_P(EveryPath, RotationBuffers, ::testing::ValuesIn(AllPaths()),
                         [](const ::testing::TestParamInfo<TRotationPath>& info) {
                           return std::string(PathName(info.param));
                         });

TEST(RotationPaths, TheReferenceIsAlwaysAvailableAndTheSelectedPathIsAvailable) {
  EXPECT_TRUE(IsRotationPathAvailable(TRotationPath::rpReference));
  EXPECT_TRUE(IsRotationPathAvailable(SelectedRotationPath()));
#if defined(__x86_64__)
  EXPECT_TRUE(IsRotationPathAvailable(TRotationPath::rpSse2));
#endif
  std::printf("selected path: %s\n", PathName(SelectedRotationPath()));
}

TEST(RotationPaths, AnUnavailablePathWritesNothingAndAnswersFalse) {
  for (TRotationPath path : AllPaths()) {
    if (IsRotationPathAvailable(path)) {
      continue;
    }
    TGuardedChannel out(0, 0);
    float input[4] = {1, 2, 3, 4};
    EXPECT_FALSE(RotateStereoWithPath(path, input, input, out.Samples(), out.Samples(), 4, {1.0f, 0.0f}));
    EXPECT_TRUE(out.GuardsIntact());
  }
}

}  // namespace
}  // namespace zelk::tests
