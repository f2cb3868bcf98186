// The product as an LV2 plug-in: one instance wraps one product module and
// drives it through its effect record exactly as a VST 2 host would, so
// that both plug-ins compute the same samples from the same calls.
//
// Threads, as LV2 defines them: instantiate, activate, deactivate, cleanup
// and the state calls on any thread the host uses for them (never together
// with run); connect_port and run on the audio thread. run is real-time
// safe: it only compares control values, sets changed parameters through
// the setParameter entry and calls the processReplacing entry.
#pragma once

#include <lv2/core/lv2.h>

namespace zelk::lv2 {

const LV2_Descriptor& PluginDescriptor();

}  // namespace zelk::lv2
