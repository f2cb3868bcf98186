#include "toolkit/Messages.h"

#include "platform/Backend.h"
#include "platform/KeyCodes.h"
#include "platform/WindowSystem.h"

namespace zelk {

intptr_t PointToLParam(TPoint point) {
  const auto x = static_cast<uint16_t>(static_cast<int16_t>(point.X));
  const auto y = static_cast<uint16_t>(static_cast<int16_t>(point.Y));
  return static_cast<intptr_t>(static_cast<uint32_t>(x) | static_cast<uint32_t>(y) << 16);
}

TPoint LParamToPoint(intptr_t lParam) {
  const auto bits = static_cast<uint32_t>(lParam);
  return {static_cast<int16_t>(bits & 0xFFFFu), static_cast<int16_t>(bits >> 16)};
}

TShiftState KeysToShiftState(uint32_t keys) {
  TShiftState shift;
  if (keys & mkShift) shift.Include(TShiftFlag::ssShift);
  if (keys & mkControl) shift.Include(TShiftFlag::ssCtrl);
  if (keys & mkAlt) shift.Include(TShiftFlag::ssAlt);
  if (keys & mkLButton) shift.Include(TShiftFlag::ssLeft);
  if (keys & mkRButton) shift.Include(TShiftFlag::ssRight);
  if (keys & mkMButton) shift.Include(TShiftFlag::ssMiddle);
  return shift;
}

TShiftState KeyDataToShiftState(intptr_t keyData) {
  const platform::TWindowSystem& windows = *platform::Backend().Windows;
  TShiftState shift;
  if (windows.IsKeyDown(vkShift)) shift.Include(TShiftFlag::ssShift);
  if (windows.IsKeyDown(vkControl)) shift.Include(TShiftFlag::ssCtrl);
  if (static_cast<uint32_t>(keyData) & kdAltDown) shift.Include(TShiftFlag::ssAlt);
  return shift;
}

}  // namespace zelk
