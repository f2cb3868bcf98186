// The typed views read and build messages with the parameters packed as the
// message table of Messages.h says: controls in the parameter their code
// keeps them in, points as two signed 16-bit halves, the wheel's turn in the
// high half of WParam.
#include <gtest/gtest.h>

#include "toolkit/MessageViews.h"

namespace zelk::tests {
namespace {

TEST(MessageViews, EachControlMessageCarriesTheControlInItsOwnParameter) {
  struct Case {
    uint32_t Code;
    bool InWParam;
  };
  const Case cases[] = {{wmSetFocus, true},        {wmKillFocus, true},   {wmSetCursor, true},
                        {cmMouseEnter, false},     {cmMouseLeave, false}, {cmChildKey, false},
                        {cmFocusChanged, false},   {wmCaptureChanged, false}};
  auto* control = reinterpret_cast<TControl*>(uintptr_t{0x1230});
  for (const Case& c : cases) {
    const TMessage message = ControlMessage(c.Code, control);
    EXPECT_EQ(message.WParam, c.InWParam ? 0x1230u : 0u) << c.Code;
    EXPECT_EQ(message.LParam, c.InWParam ? 0 : 0x1230) << c.Code;
    EXPECT_EQ(ControlOf(message), control) << c.Code;
  }
  EXPECT_EQ(ControlOf(TMessage{wmKeyDown, 0x1230, 0x1230, 0}), nullptr);
  EXPECT_EQ(ControlOf(ChildKeyMessage(13, control)), control);
  EXPECT_EQ(ChildKeyMessage(13, control).WParam, 13u);
}

TEST(MessageViews, MousePointsAndWheelTurnsSurviveTheirPacking) {
  struct Case {
    uint32_t Code;
    TPoint Point;
    int32_t Delta;
  };
  const Case cases[] = {{wmMouseMove, {-40, 290}, 0},
                        {wmLButtonDown, {32767, -32768}, 0},
                        {wmMouseWheel, {5, -1}, -kWheelDelta},
                        {wmMouseWheel, {0, 0}, 3 * kWheelDelta}};
  for (const Case& c : cases) {
    const TMessage message = MouseMessage(c.Code, mkLButton | mkShift, c.Point, c.Delta);
    const TMouseMessageView mouse = MouseOf(message);
    EXPECT_EQ(message.LParam, PointToLParam(c.Point));
    EXPECT_EQ(mouse.Point, c.Point);
    EXPECT_EQ(mouse.Keys, mkLButton | mkShift);
    EXPECT_EQ(mouse.WheelDelta, c.Delta);
  }
}

TEST(MessageViews, AKeyMessageGivesBackTheKeyAHandlerChanged) {
  TMessage message = KeyMessage(wmChar, 'a', kdAltDown | 1);
  EXPECT_EQ(KeyOf(message).Character(), 'a');
  EXPECT_TRUE(KeyOf(message).AltDown());
  SetCharacter(message, '\xE4');
  EXPECT_EQ(message.WParam, 0xE4u);
  SetKey(message, 0);
  EXPECT_EQ(KeyOf(message).Key, 0);
  TMessage asked = KeyMessage(wmKeyDown, 9, 1);
  EXPECT_EQ(AskedKeyOf(DialogCodeMessage(&asked)), &asked);
}

}  // namespace
}  // namespace zelk::tests
