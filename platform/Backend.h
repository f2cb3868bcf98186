// The services of the platform backend, and how a backend installs itself.
//
// Exactly one backend library is linked into each binary (platform/headless
// for tests, tools and benchmarks; platform/x11 for the Linux plug-in;
// platform/win32 for the Windows libraries). It defines NativeBackend(),
// which answers its record of services. Nothing above platform/ asks which
// backend it runs on.
//
// The first use of Backend() installs NativeBackend(); the library start
// installs it explicitly, before anything is loaded. Installing applies the
// record's code page and decimal separator to the runtime. Tests substitute
// single services inside a TBackendScope. Window thread only.
#pragma once

#include <cstdint>

namespace zelk {
class TCodePage;
}

namespace zelk::platform {

class TRegionFactory;
class TSurfaceFactory;
class TSystemErrors;
class TWindowSystem;

// A system colour by index (clBtnFace is index 15) as 0x00BBGGRR.
using TSystemColorLookup = int32_t (*)(int index);

struct TBackend {
  TSurfaceFactory* Surfaces = nullptr;
  TRegionFactory* Regions = nullptr;
  TSystemErrors* Errors = nullptr;
  TSystemColorLookup SystemColor = nullptr;
  TWindowSystem* Windows = nullptr;  // windows, timers, the tick clock, message boxes
  // The 8-bit text code page; null keeps the runtime's own (UTF-8).
  const TCodePage* CodePage = nullptr;
  // The decimal separator of numbers shown to a person; 0 keeps the
  // runtime's own (from the locale environment).
  char DecimalSeparator = 0;
};

// Defined by the backend library linked into this binary.
const TBackend& NativeBackend();

// The services in use; every service is set.
TBackend& Backend();
void InstallBackend(const TBackend& backend);

// Puts the platform services in use back as they were at its creation when
// it goes (the runtime's code page and separator are the runtime's to reset).
class TBackendScope {
 public:
  TBackendScope() : saved_(Backend()) {}
  ~TBackendScope() { Backend() = saved_; }
  TBackendScope(const TBackendScope&) = delete;
  TBackendScope& operator=(const TBackendScope&) = delete;
  TBackend* operator->() { return &Backend(); }

 private:
  TBackend saved_;
};

}  // namespace zelk::platform
