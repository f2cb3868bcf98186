// Messages: what controls send each other and what the toolkit makes of
// window events. A message is a code, two parameters and a result; controls
// handle it through their window procedure (Control.h). The codes follow
// the familiar window-message numbering; cm codes are the toolkit's own.
//
// Parameters by code (WParam / LParam; Result); MessageViews.h reads and
// builds them:
//   wmPaint             surface handle to paint into, 0 for the window's own
//                       update area / 0
//   mouse messages      mouse key flags (mk...) / PointToLParam(client point);
//                       wmLButtonDblClk is a second left press soon after the
//                       first at about the same place, instead of wmLButtonDown
//   wmMouseWheel        WheelWParam(keys, turn) / PointToLParam(client point)
//   wmKeyDown, wmKeyUp  virtual key (KeyCodes.h) / key data (kd...)
//   wmChar              the character, one byte of the system code page / key data
//   wmSetFocus          the control losing the focus, or 0 / 0
//   wmKillFocus         the control taking the focus, or 0 / 0
//   wmTimer             timer id / 0
//   wmSetCursor         the control under the cursor / PointToLParam(client point);
//                       1 when a cursor was set
//   wmGetDlgCode        0 / the key message asked about, or 0; dlgc... flags
//   wmCaptureChanged    0 / the control that takes the capture, or 0
//   cmHitTest           0 / PointToLParam(point in the control); htClient or
//                       htNowhere (the control refuses the point)
//   cmMouseEnter,       0 / the control the mouse entered or left
//   cmMouseLeave
//   cmChildKey          virtual key / the control the key is for; non-zero when
//                       a parent took the key
//   cmDialogKey         virtual key / key data; non-zero when the key was used
//                       (Tab, arrows: focus moves)
//   cmDialogChar        the character / key data; non-zero when a control took
//                       it as its accelerator
//   cmFocusChanged      0 / the control that has the focus now
//   cmEnter, cmExit,    0 / 0
//   cmEnabledChanged,
//   cmVisibleChanged,
//   cmColorChanged,
//   cmParentColorChanged,
//   cmFontChanged, cmParentFontChanged
#pragma once

#include <cstdint>

#include "runtime/Set.h"
#include "runtime/TypeInfo.h"
#include "runtime/Types.h"

namespace zelk {

struct TMessage {
  uint32_t Msg = 0;
  uintptr_t WParam = 0;
  intptr_t LParam = 0;
  intptr_t Result = 0;
};

enum TMessageCode : uint32_t {
  wmNull = 0x0000,
  wmSize = 0x0005,
  wmSetFocus = 0x0007,
  wmKillFocus = 0x0008,
  wmPaint = 0x000F,
  wmSetCursor = 0x0020,
  wmGetDlgCode = 0x0087,
  wmKeyDown = 0x0100,
  wmKeyUp = 0x0101,
  wmChar = 0x0102,
  wmTimer = 0x0113,
  wmMouseMove = 0x0200,
  wmLButtonDown = 0x0201,
  wmLButtonUp = 0x0202,
  wmLButtonDblClk = 0x0203,
  wmRButtonDown = 0x0204,
  wmRButtonUp = 0x0205,
  wmMButtonDown = 0x0207,
  wmMButtonUp = 0x0208,
  wmMouseWheel = 0x020A,
  wmCaptureChanged = 0x0215,

  cmBase = 0xB000,
  cmEnabledChanged,
  cmVisibleChanged,
  cmColorChanged,
  cmParentColorChanged,
  cmFontChanged,
  cmParentFontChanged,
  cmHitTest,
  cmMouseEnter,
  cmMouseLeave,
  cmChildKey,
  cmDialogKey,
  cmDialogChar,
  cmFocusChanged,
  cmEnter,
  cmExit,
  // Codes from here on are free for the layers above.
  cmUser = 0xB400,
};

constexpr bool IsMouseMessage(uint32_t code) { return code >= wmMouseMove && code <= wmMouseWheel; }

// A turn of the wheel in 120ths of a notch, positive away from the user.
inline constexpr int32_t kWheelDelta = 120;
// wmMouseWheel's WParam: the mouse key flags in the low 16 bits, the turn
// (signed) in the high 16.
constexpr uintptr_t WheelWParam(uint32_t keys, int32_t delta) {
  return (keys & 0xFFFFu) | (static_cast<uintptr_t>(static_cast<uint16_t>(delta)) << 16);
}
constexpr int32_t WheelDeltaOf(uintptr_t wParam) { return static_cast<int16_t>(static_cast<uint16_t>(wParam >> 16)); }
constexpr uint32_t WheelKeysOf(uintptr_t wParam) { return static_cast<uint32_t>(wParam & 0xFFFFu); }

// Mouse key flags (WParam of mouse messages).
enum TMouseKeyFlag : uint32_t {
  mkLButton = 0x0001,
  mkRButton = 0x0002,
  mkShift = 0x0004,
  mkControl = 0x0008,
  mkMButton = 0x0010,
  mkAlt = 0x0020,
};

// Key data (LParam of key and character messages): the repeat count in the
// low 16 bits and these flags.
enum TKeyDataFlag : uint32_t {
  kdAltDown = 1u << 29,
  kdWasDown = 1u << 30,
  kdReleased = 1u << 31,
};

// Answers to wmGetDlgCode: which keys a control handles itself rather than
// leaving them to the form's focus movement.
enum TDialogCodeFlag : uint32_t {
  dlgcWantArrows = 0x0001,
  dlgcWantTab = 0x0002,
  dlgcWantAllKeys = 0x0004,
  dlgcWantChars = 0x0080,
};

// Answers to cmHitTest.
inline constexpr intptr_t htNowhere = 0;
inline constexpr intptr_t htClient = 1;

// Points in LParam: X in the low 16 bits, Y in the next 16, both signed.
intptr_t PointToLParam(TPoint point);
TPoint LParamToPoint(intptr_t lParam);

enum class TShiftFlag : uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
ZELK_ENUM_NAMES(TShiftFlag, "ssShift", "ssAlt", "ssCtrl", "ssLeft", "ssRight", "ssMiddle", "ssDouble")
using TShiftState = TSet<TShiftFlag>;

// The state of a mouse message's key flags.
TShiftState KeysToShiftState(uint32_t keys);
// Shift and Ctrl as held now, Alt from the key data.
TShiftState KeyDataToShiftState(intptr_t keyData);

}  // namespace zelk
