#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "controls/DIBDialSettings.h"
#include "tests/support/ChangeCounter.h"
#include "tests/support/ErrorMessage.h"

namespace zelk::tests {
namespace {

template <class Settings>
void Watch(Settings& settings, TChangeCounter& counter) {
  settings.OnChange = TNotifyEvent::Bind<&TChangeCounter::Changed>(&counter);
}

TEST(DialPointerAngles, RefusedValuesRaiseTheirMessageAndKeepTheOldValue) {
  TDIBDialPointerAngles angles;
  TChangeCounter counter;
  Watch(angles, counter);
  struct Case {
    std::function<void()> Write;
    const char* Message;
  };
  const Case cases[] = {
      {[&] { angles.SetStart(-1); }, "Start must be 0..359"},
      {[&] { angles.SetStart(360); }, "Start must be 0..359"},
      {[&] { angles.SetRange(0); }, "Range must be 1..360"},
      {[&] { angles.SetRange(361); }, "Range must be 1..360"},
      {[&] { angles.SetResolution(-0.5L); }, "Resolution must be above 0 and less than 361"},
      {[&] { angles.SetResolution(360.5L); }, "Resolution must be above 0 and less than 361"},
  };
  for (const Case& c : cases) EXPECT_EQ(MessageOf<EDIBDialError>(c.Write), c.Message);
  EXPECT_EQ(angles.Start(), 0);
  EXPECT_EQ(angles.Range(), 360);
  EXPECT_EQ(angles.Resolution(), 0.0L);
  EXPECT_EQ(counter.Count, 0);

  angles.SetRange(90);
  EXPECT_EQ(MessageOf<EDIBDialError>([&] { angles.SetResolution(91); }), "Resolution must be above 0 and less than 91");
}

TEST(DialPointerAngles, ARangeAboveTheResolutionLiftsIt) {
  TDIBDialPointerAngles angles;
  TChangeCounter counter;
  Watch(angles, counter);
  angles.SetRange(359);
  EXPECT_EQ(angles.Resolution(), 359.0L);
  angles.SetResolution(100);
  angles.SetRange(200);
  EXPECT_EQ(angles.Resolution(), 200.0L);
  angles.SetResolution(50);
  angles.SetStart(359);
  EXPECT_EQ(angles.Resolution(), 50.0L);
  EXPECT_EQ(counter.Count, 5);
}

TEST(DialPointerAngles, AssignCopiesWithoutChecksAndNotifiesTheTarget) {
  TDIBDialPointerAngles source;
  source.SetRange(270);
  source.SetStart(225);
  source.SetResolution(12.5L);
  TDIBDialPointerAngles target;
  TChangeCounter counter;
  Watch(target, counter);
  target.Assign(&source);
  EXPECT_EQ(target.Start(), 225);
  EXPECT_EQ(target.Range(), 270);
  EXPECT_EQ(target.Resolution(), 12.5L);
  EXPECT_EQ(counter.Count, 1);

  TDIBDialPointerOpacities opacities;
  EXPECT_THROW(target.Assign(&opacities), EConvertError);
}

TEST(DialPointerOpacities, StoresEveryByteAndAssignNotifies) {
  TDIBDialPointerOpacities opacities;
  TChangeCounter counter;
  Watch(opacities, counter);
  EXPECT_EQ(opacities.Active(), 255);
  EXPECT_EQ(opacities.Normal(), 255);
  opacities.SetActive(0);
  opacities.SetNormal(180);
  TDIBDialPointerOpacities copy;
  TChangeCounter copyCounter;
  Watch(copy, copyCounter);
  copy.Assign(&opacities);
  EXPECT_EQ(copy.Active(), 0);
  EXPECT_EQ(copy.Normal(), 180);
  EXPECT_EQ(counter.Count, 2);
  EXPECT_EQ(copyCounter.Count, 1);
}

}  // namespace
}  // namespace zelk::tests
