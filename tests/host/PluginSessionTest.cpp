// A host's session with the plug-in: automation in both directions, text
// entry of values, audio through both entries, and several instances that
// must not share state.
#include <algorithm>
#include <cstring>
#include <vector>

#include "tests/host/PluginUnderTest.h"
#include "tests/support/SampleBuffers.h"

namespace zelk::tests {
namespace {

using zelk::tests::TAudioBuffers;

constexpr int32_t kFrames = 4;
using TChannel = std::vector<float>;

TAudioBuffers Input() {
  TAudioBuffers input(2, kFrames);
  const TChannel left = {0.5f, -0.25f, 1.0f, 0.0f};
  const TChannel right = {0.125f, 0.75f, -1.0f, 0.5f};
  std::copy(left.begin(), left.end(), input.Data(0));
  std::copy(right.begin(), right.end(), input.Data(1));
  return input;
}

TChannel Negated(const TChannel& channel) {
  TChannel result;
  for (float sample : channel) result.push_back(-sample);
  return result;
}

// The coefficients are exact only up to their rounding: at 360 degrees the
// cosine is about 1e-20, not 0.
void ExpectNear(const TChannel& actual, const TChannel& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t frame = 0; frame < actual.size(); ++frame) EXPECT_NEAR(actual[frame], expected[frame], 1e-6f) << frame;
}

TAudioBuffers ProcessReplacing(AEffect* effect, TAudioBuffers input) {
  TAudioBuffers output(2, kFrames, 9.0f);
  effect->processReplacing(effect, input.Pointers(), output.Pointers(), kFrames);
  return output;
}

TEST_F(PluginTest, HostAutomationSetsTheAngleAndIsReportedBack) {
  AEffect* effect = Create();
  ASSERT_NE(effect, nullptr);
  effect->setParameter(effect, 0, 0.25f);
  EXPECT_EQ(effect->getParameter(effect, 0), 0.25f);
  EXPECT_EQ(AskText(effect, effGetParamDisplay, 0), "90");
  const auto automations = Automations();
  ASSERT_EQ(automations.size(), 1u);
  EXPECT_EQ(automations[0].Effect, effect);
  EXPECT_EQ(automations[0].Index, 0);
  EXPECT_EQ(automations[0].Opt, 0.25f);
}

TEST_F(PluginTest, ValuesTypedAsTextSetTheAngleOnlyWhenTheyAreNumbers) {
  AEffect* effect = Create();
  ASSERT_NE(effect, nullptr);
  char ninety[] = "90";
  EXPECT_EQ(Dispatch(effect, effString2Parameter, 0, 0, ninety), 1);
  EXPECT_EQ(effect->getParameter(effect, 0), 0.25f);
  char letters[] = "abc";
  EXPECT_EQ(Dispatch(effect, effString2Parameter, 0, 0, letters), 0);
  EXPECT_EQ(effect->getParameter(effect, 0), 0.25f);
  EXPECT_EQ(Dispatch(effect, effCanBeAutomated, 5), 1);
}

// Hosts play an inserted effect without setting anything: it sounds as its
// parameter reads, 0 degrees, both channels inverted (not silent).
TEST_F(PluginTest, NewEffectPlaysTheAngleItsParameterReports) {
  AEffect* effect = Create();
  ASSERT_NE(effect, nullptr);
  ASSERT_EQ(effect->getParameter(effect, 0), 0.0f);
  const TAudioBuffers output = ProcessReplacing(effect, Input());
  ExpectNear(output.Channel(0), Negated(Input().Channel(0)));
  ExpectNear(output.Channel(1), Negated(Input().Channel(1)));
}

TEST_F(PluginTest, TheAngleTurnsTheStereoImage) {
  AEffect* effect = Create();
  ASSERT_NE(effect, nullptr);
  const TChannel left = Input().Channel(0);
  const TChannel right = Input().Channel(1);

  effect->setParameter(effect, 0, 1.0f);  // 360 degrees: unchanged
  TAudioBuffers output = ProcessReplacing(effect, Input());
  ExpectNear(output.Channel(0), left);
  ExpectNear(output.Channel(1), right);

  effect->setParameter(effect, 0, 0.0f);  // 0 degrees: both inverted
  output = ProcessReplacing(effect, Input());
  ExpectNear(output.Channel(0), Negated(left));
  ExpectNear(output.Channel(1), Negated(right));

  effect->setParameter(effect, 0, 0.5f);  // 180 degrees: exchanged, one inverted
  output = ProcessReplacing(effect, Input());
  ExpectNear(output.Channel(0), right);
  ExpectNear(output.Channel(1), Negated(left));
}

TEST_F(PluginTest, TheAccumulatingEntryAddsToTheOutputs) {
  AEffect* effect = Create();
  ASSERT_NE(effect, nullptr);
  Dispatch(effect, effSetBlockSize, 0, kFrames);
  Dispatch(effect, effMainsChanged, 0, 1);
  effect->setParameter(effect, 0, 1.0f);
  TAudioBuffers input = Input();
  TAudioBuffers output(2, kFrames, 1.0f);
  effect->process(effect, input.Pointers(), output.Pointers(), kFrames);
  for (int32_t frame = 0; frame < kFrames; ++frame) {
    EXPECT_NEAR(output.At(0, frame), 1.0f + input.At(0, frame), 1e-6f);
    EXPECT_NEAR(output.At(1, frame), 1.0f + input.At(1, frame), 1e-6f);
  }
}

TEST_F(PluginTest, SeveralEffectsAtOnceAreIndependent) {
  AEffect* first = Create();
  AEffect* second = Create();
  AEffect* third = Create();
  ASSERT_TRUE(first && second && third);
  EXPECT_NE(first, second);
  EXPECT_NE(first->object, second->object);
  first->setParameter(first, 0, 1.0f);
  third->setParameter(third, 0, 0.5f);
  EXPECT_EQ(second->getParameter(second, 0), 0.0f);
  ExpectNear(ProcessReplacing(second, Input()).Channel(0), Negated(Input().Channel(0)));
  ExpectNear(ProcessReplacing(first, Input()).Channel(0), Input().Channel(0));

  EXPECT_EQ(Close(second), 1);
  EXPECT_EQ(first->getParameter(first, 0), 1.0f);
  EXPECT_EQ(third->getParameter(third, 0), 0.5f);
  ExpectNear(ProcessReplacing(third, Input()).Channel(0), Input().Channel(1));
}

}  // namespace
}  // namespace zelk::tests
