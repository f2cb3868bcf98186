// The start and stop of everything the plug-in library holds, in the
// order the parts build on each other. The library calls them when the host
// loads and unloads it; programs that host the product in process (tests,
// tools) call them too. Start again after a stop is allowed.
#pragma once

#include "framework/VstInterface.h"

namespace zelk {

// The window toolkit (the platform backend with the system's code page and
// number format, before any text is read; its component classes), the
// application object, the framework (floating-point masks, module classes),
// the image library (picture loaders, rotation tables, compressors), the
// image-drawn controls and the editor's classes, then the product's class.
bool StartLibrary();
// Empties the registries and frees the application object, unless modules
// are left open (they still use it; the process is then usually ending).
void StopLibrary() noexcept;

// Starts the library when constructed and stops it when destroyed: a
// library's entry file holds one at namespace scope, so that loading the
// library starts it and unloading stops it.
struct TLibraryLifetime {
  TLibraryLifetime() { StartLibrary(); }
  ~TLibraryLifetime() { StopLibrary(); }
  TLibraryLifetime(const TLibraryLifetime&) = delete;
  TLibraryLifetime& operator=(const TLibraryLifetime&) = delete;
};

// A new product module talking to host, as the entry points hand it out:
// its effect record, or null when the module cannot be built (a missing
// resource, an exception of a handler while the settings load, memory); the
// host then reports that the plug-in could not be loaded. A host that passes
// no callback still gets a working module: every host query answers as for
// an absent host.
AEffect* CreateEffect(audioMasterCallback host) noexcept;

}  // namespace zelk
