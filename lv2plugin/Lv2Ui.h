// The product's editor as an LV2 user interface for X11 (ui:X11UI): the
// same editor form the VST 2 plug-in opens, embedded in the window the host
// passes as ui:parent and driven by the host's idle calls (ui:idleInterface);
// the library starts no thread for it.
//
// An LV2 interface sees no plug-in instance, so each one holds a module of
// its own that mirrors the control ports: port_event sets its parameter as
// setParameter does (the knob follows at the next idle call), and the
// module's automation reports become writes of the control port. Gesture
// reports (audioMasterBeginEdit and audioMasterEndEdit) become ui:touch.
//
// Threads: every call on the host's user-interface thread.
#pragma once

#include <lv2/ui/ui.h>

namespace zelk::lv2 {

const LV2UI_Descriptor& UiDescriptor();

}  // namespace zelk::lv2
