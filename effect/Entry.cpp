// The library's entry points: `main`, the name VST 2 hosts look for, and
// `VSTPluginMain`, the name newer hosts try first. Both create one product
// module per call and hand the host its effect record.
//
// Threads: hosts call the entry point on their user-interface thread, some
// from a scanning thread or process that loads, probes and unloads the
// library at once; each call builds an independent module, and nothing is
// shared between modules beyond the class registry filled at load time.
#include "effect/LibraryStart.h"

// The exported name `main` is given as an assembler name: the C++ name
// `main` is reserved for the program's own entry function.
#define ZELK_STRINGIFY_EXPANDED(text) #text
#define ZELK_STRINGIFY(text) ZELK_STRINGIFY_EXPANDED(text)
#define ZELK_EXPORT_NAME(name) __asm__(ZELK_STRINGIFY(__USER_LABEL_PREFIX__) name)

// On Windows the module-definition files name the exports: Zelk.def both
// entry points, Zelk32.def `main` alone for 32-bit hosts. dllexport would
// add exports of its own and use the assembler name, which 32-bit Windows
// decorates ("_main").
#if defined(_WIN32)
#define ZELK_ENTRY_EXPORT
#else
#define ZELK_ENTRY_EXPORT ZELK_VST_EXPORT
#endif

namespace zelk {

namespace {

// Constructed when the host loads the library, destroyed when it unloads it.
const TLibraryLifetime libraryLifetime;

}  // namespace

}  // namespace zelk

extern "C" {

ZELK_ENTRY_EXPORT AEffect* ZELK_VST_CALL VSTPluginMain(audioMasterCallback host);
ZELK_ENTRY_EXPORT AEffect* ZELK_VST_CALL ZelkMain(audioMasterCallback host) ZELK_EXPORT_NAME("main");

AEffect* ZELK_VST_CALL VSTPluginMain(audioMasterCallback host) { return zelk::CreateEffect(host); }

AEffect* ZELK_VST_CALL ZelkMain(audioMasterCallback host) { return zelk::CreateEffect(host); }

}  // extern "C"
