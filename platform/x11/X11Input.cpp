#include "platform/x11/X11Input.h"

#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/keysym.h>

#include <array>
#include <utility>

#include "platform/KeyCodes.h"

// Last of the includes: this file's X calls go through the functions
// loaded on first need.
#include "platform/x11/XlibLoader.h"

namespace zelk::platform {

namespace {

// Keys with a symbol of their own; letters, digits and function keys are
// ranges (VirtualKeyOf).
constexpr std::array<std::pair<KeySym, uint16_t>, 30> kNamedKeys{{
    {XK_BackSpace, vkBack},   {XK_Tab, vkTab},          {XK_ISO_Left_Tab, vkTab}, {XK_Return, vkReturn},
    {XK_KP_Enter, vkReturn},  {XK_Shift_L, vkShift},    {XK_Shift_R, vkShift},    {XK_Control_L, vkControl},
    {XK_Control_R, vkControl}, {XK_Alt_L, vkMenu},      {XK_Alt_R, vkMenu},       {XK_Meta_L, vkMenu},
    {XK_Pause, vkPause},      {XK_Escape, vkEscape},    {XK_space, vkSpace},      {XK_Prior, vkPrior},
    {XK_Next, vkNext},        {XK_End, vkEnd},          {XK_Home, vkHome},        {XK_Left, vkLeft},
    {XK_Up, vkUp},            {XK_Right, vkRight},      {XK_Down, vkDown},        {XK_Execute, vkExecute},
    {XK_Insert, vkInsert},    {XK_Delete, vkDelete},    {XK_Cancel, vkCancel},    {XK_KP_Prior, vkPrior},
    {XK_KP_Next, vkNext},     {XK_KP_Delete, vkDelete},
}};

}  // namespace

uint16_t VirtualKeyOf(KeySym symbol) {
  if (symbol >= XK_a && symbol <= XK_z) return static_cast<uint16_t>('A' + (symbol - XK_a));
  if (symbol >= XK_A && symbol <= XK_Z) return static_cast<uint16_t>(symbol);
  if (symbol >= XK_0 && symbol <= XK_9) return static_cast<uint16_t>(symbol);
  if (symbol >= XK_F1 && symbol <= XK_F12) return static_cast<uint16_t>(vkF1 + (symbol - XK_F1));
  for (const auto& [named, key] : kNamedKeys) {
    if (named == symbol) return key;
  }
  return 0;
}

KeySym KeySymOf(uint16_t virtualKey) {
  if (virtualKey >= 'A' && virtualKey <= 'Z') return XK_a + (virtualKey - 'A');
  if (virtualKey >= '0' && virtualKey <= '9') return virtualKey;
  if (virtualKey >= vkF1 && virtualKey <= vkF12) return XK_F1 + (virtualKey - vkF1);
  for (const auto& [named, key] : kNamedKeys) {
    if (key == virtualKey) return named;
  }
  return NoSymbol;
}

char16_t CharacterOf(XKeyEvent& event) {
  char text[8] = {};
  KeySym symbol = NoSymbol;
  const int count = XLookupString(&event, text, sizeof text, &symbol, nullptr);
  // Latin-1 symbols are their characters, Unicode symbols carry theirs.
  if ((symbol >= 0x20 && symbol <= 0x7E) || (symbol >= 0xA0 && symbol <= 0xFF)) {
    // Control turns letters into control characters, as the lookup says.
    if (count == 1 && static_cast<unsigned char>(text[0]) < 0x20) return static_cast<unsigned char>(text[0]);
    return static_cast<char16_t>(symbol);
  }
  if ((symbol & 0xFF000000) == 0x01000000 && (symbol & 0xFFFFFF) <= 0xFFFF) {
    return static_cast<char16_t>(symbol & 0xFFFF);
  }
  if (count == 1) return static_cast<unsigned char>(text[0]);
  return 0;
}

uint32_t ModifiersOf(unsigned int state) {
  uint32_t modifiers = 0;
  if (state & ShiftMask) modifiers |= mfShift;
  if (state & ControlMask) modifiers |= mfControl;
  if (state & Mod1Mask) modifiers |= mfAlt;
  if (state & Button1Mask) modifiers |= mfLeftButton;
  if (state & Button2Mask) modifiers |= mfMiddleButton;
  if (state & Button3Mask) modifiers |= mfRightButton;
  return modifiers;
}

int CursorGlyphOf(TCursorShape shape) {
  switch (shape) {
    case TCursorShape::csNone:
      return -1;
    case TCursorShape::csCross:
      return XC_crosshair;
    case TCursorShape::csIBeam:
      return XC_xterm;
    case TCursorShape::csSizeAll:
      return XC_fleur;
    case TCursorShape::csSizeNESW:
      return XC_bottom_left_corner;
    case TCursorShape::csSizeNS:
      return XC_sb_v_double_arrow;
    case TCursorShape::csSizeNWSE:
      return XC_bottom_right_corner;
    case TCursorShape::csSizeWE:
      return XC_sb_h_double_arrow;
    case TCursorShape::csUpArrow:
      return XC_center_ptr;
    case TCursorShape::csWait:
      return XC_watch;
    case TCursorShape::csNo:
      return XC_X_cursor;
    case TCursorShape::csHandPoint:
      return XC_hand2;
    case TCursorShape::csHelp:
      return XC_question_arrow;
    case TCursorShape::csAppStart:
      return XC_watch;
    default:
      return XC_left_ptr;
  }
}

}  // namespace zelk::platform
