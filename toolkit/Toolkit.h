// The window toolkit as a whole: its start and stop, the tick clock, the
// servicing of pending window events, message boxes, and the
// application-level key check that every key press offered as a shortcut
// reaches last (after the popup menus and the form).
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/KeyCodes.h"
#include "toolkit/Form.h"
#include "toolkit/Messages.h"

namespace zelk {

// Installs the platform backend linked into this binary (the system's code
// page and number format with it), registers the toolkit's component
// classes, and shows contained exceptions in message boxes. Call first, on
// the thread that will own the windows; calling it again does nothing.
void InitializeToolkit();
// Stops showing exceptions in message boxes.
void FinalizeToolkit();

// Milliseconds from the backend's clock, wrapping at 2^32.
uint32_t TickCount();
// Whether the key or mouse button (platform/KeyCodes.h) is held right now.
bool IsKeyDown(uint16_t virtualKey);
// Services pending window events: paints of invalidated windows, due timers
// and, where the backend reads its own queue, input. Never blocks.
void ProcessMessages();
// Shows text in a message box of the backend.
void ShowMessage(std::string_view text);

// The application's shortcut handler, asked for every key press no popup
// menu or form took; none at start.
void SetApplicationShortCut(TShortCutEvent handler);
bool IsApplicationShortCut(TMessage& keyMessage);

}  // namespace zelk
