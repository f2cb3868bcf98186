// The Windows backend: the system's colours, its ANSI code page and the
// decimal separator of its regional settings, with the portable surfaces,
// regions and error texts. Its windows are the headless ones until the
// Win32 window system is written.

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include "platform/Backend.h"
#include "platform/headless/HeadlessWindows.h"
#include "platform/software/SoftwareRegion.h"
#include "platform/software/SoftwareSurface.h"
#include "platform/software/SoftwareSystemErrors.h"
#include "platform/win32/AnsiCodePage.h"
#include "platform/win32/RegionalSettings.h"

namespace zelk::platform {

namespace {

// GetSysColor answers 0x00BBGGRR, the layout of our colour values.
int32_t Win32SystemColor(int index) { return static_cast<int32_t>(GetSysColor(index)); }

}  // namespace

const TBackend& NativeBackend() {
  static TSoftwareRegionFactory regions;
  static TSoftwareSystemErrors errors;
  static const TBackend backend{
      .Surfaces = &SoftwareSurfaceFactory(),
      .Regions = &regions,
      .Errors = &errors,
      .SystemColor = &Win32SystemColor,
      .Windows = &HeadlessWindows(),
      .CodePage = &AnsiCodePage(),
      .DecimalSeparator = RegionalDecimalSeparator(),
  };
  return backend;
}

}  // namespace zelk::platform
