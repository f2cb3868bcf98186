// X11 input in the seam's terms: key symbols as our virtual keys, typed
// characters as UTF-16 code units, modifier states as TModifierFlag, and
// cursor shapes as the cursor font's glyphs.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

#include "platform/WindowSystem.h"

namespace zelk::platform {

// The virtual key (KeyCodes.h) of a key symbol; 0 when it has none.
uint16_t VirtualKeyOf(KeySym symbol);
// A key symbol of a virtual key; NoSymbol when it has none.
KeySym KeySymOf(uint16_t virtualKey);
// The character a key press types, as one UTF-16 code unit; 0 for none.
char16_t CharacterOf(XKeyEvent& event);
// The keys and buttons of an X event's state.
uint32_t ModifiersOf(unsigned int state);
// The cursor font glyph of a shape (csNone has none: -1).
int CursorGlyphOf(TCursorShape shape);

}  // namespace zelk::platform
