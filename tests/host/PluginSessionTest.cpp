// A host's session with the plug-in: automation in both directions, text
// entry of values, audio through both entries, and several instances that
// must not share state.
#include <array>
#include <cstring>

#include "tests/host/PluginUnderTest.h"

namespace zelk::host_test {
namespace {

constexpr int32_t kFrames = 4;
using TChannel = std::array<float, kFrames>;

struct TStereo {
  TChannel Left{};
  TChannel Right{};
  float* Channels[2] = {Left.data(), Right.data()};
};

TStereo Input() {
  TStereo input;
  input.Left = {0.5f, -0.25f, 1.0f, 0.0f};
  input.Right = {0.125f, 0.75f, -1.0f, 0.5f};
  return input;
}

TChannel Negated(const TChannel& channel) {
  TChannel result;
  for (int32_t frame = 0; frame < kFrames; ++frame) result[frame] = -channel[frame];
  return result;
}

// The coefficients are exact only up to their rounding: at 360 degrees the
// cosine is about 1e-20, not 0.
void ExpectNear(const TChannel& actual, const TChannel& expected) {
  for (int32_t frame = 0; frame < kFrames; ++frame) EXPECT_NEAR(actual[frame], expected[frame], 1e-6f) << frame;
}

TStereo ProcessReplacing(AEffect* effect, TStereo input) {
  TStereo output;
  output.Left.fill(9.0f);
  output.Right.fill(9.0f);
  effect->processReplacing(effect, input.Channels, output.Channels, kFrames);
  return output;
}

TEST_F(PluginTest, HostAutomationSetsTheAngleAndIsReportedBack) {
  AEffect* effect = Create();
  ASSERT_NE(effect, nullptr);
  effect->setParameter(effect, 0, 0.25f);
  EXPECT_EQ(effect->getParameter(effect, 0), 0.25f);
  EXPECT_EQ(AskText(effect, effGetParamDisplay, 0), "90");
  ASSERT_EQ(TTestHost::Automations().size(), 1u);
  EXPECT_EQ(TTestHost::Automations()[0].Effect, effect);
  EXPECT_EQ(TTestHost::Automations()[0].Index, 0);
  EXPECT_EQ(TTestHost::Automations()[0].Value, 0.25f);
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

TEST_F(PluginTest, NewEffectIsSilentUntilTheAngleIsSet) {
  AEffect* effect = Create();
  ASSERT_NE(effect, nullptr);
  const TStereo output = ProcessReplacing(effect, Input());
  EXPECT_EQ(output.Left, TChannel{});
  EXPECT_EQ(output.Right, TChannel{});
}

TEST_F(PluginTest, TheAngleTurnsTheStereoImage) {
  AEffect* effect = Create();
  ASSERT_NE(effect, nullptr);
  const TStereo input = Input();

  effect->setParameter(effect, 0, 1.0f);  // 360 degrees: unchanged
  TStereo output = ProcessReplacing(effect, input);
  ExpectNear(output.Left, input.Left);
  ExpectNear(output.Right, input.Right);

  effect->setParameter(effect, 0, 0.0f);  // 0 degrees: both inverted
  output = ProcessReplacing(effect, input);
  ExpectNear(output.Left, Negated(input.Left));
  ExpectNear(output.Right, Negated(input.Right));

  effect->setParameter(effect, 0, 0.5f);  // 180 degrees: exchanged, one inverted
  output = ProcessReplacing(effect, input);
  ExpectNear(output.Left, input.Right);
  ExpectNear(output.Right, Negated(input.Left));
}

TEST_F(PluginTest, TheAccumulatingEntryAddsToTheOutputs) {
  AEffect* effect = Create();
  ASSERT_NE(effect, nullptr);
  Dispatch(effect, effSetBlockSize, 0, kFrames);
  Dispatch(effect, effMainsChanged, 0, 1);
  effect->setParameter(effect, 0, 1.0f);
  TStereo input = Input();
  TStereo output;
  output.Left.fill(1.0f);
  output.Right.fill(1.0f);
  effect->process(effect, input.Channels, output.Channels, kFrames);
  for (int32_t frame = 0; frame < kFrames; ++frame) {
    EXPECT_NEAR(output.Left[frame], 1.0f + input.Left[frame], 1e-6f);
    EXPECT_NEAR(output.Right[frame], 1.0f + input.Right[frame], 1e-6f);
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
  EXPECT_EQ(ProcessReplacing(second, Input()).Left, TChannel{});
  ExpectNear(ProcessReplacing(first, Input()).Left, Input().Left);

  EXPECT_EQ(Close(second), 1);
  EXPECT_EQ(first->getParameter(first, 0), 1.0f);
  EXPECT_EQ(third->getParameter(third, 0), 0.5f);
  ExpectNear(ProcessReplacing(third, Input()).Left, Input().Right);
}

}  // namespace
}  // namespace zelk::host_test
