// The Windows backend: surfaces as 32-bit DIB sections, GDI regions, the
// system's error texts and colours, real windows (Win32Windows.h), the ANSI
// code page and the decimal separator of the regional settings.

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "platform/Backend.h"
#include "platform/win32/AnsiCodePage.h"
#include "platform/win32/DibSectionSurface.h"
#include "platform/win32/GdiRegion.h"
#include "platform/win32/RegionalSettings.h"
#include "platform/win32/Win32SystemErrors.h"
#include "platform/win32/Win32Windows.h"

namespace zelk::platform {

namespace {

// GetSysColor answers 0x00BBGGRR, the layout of our colour values.
int32_t Win32SystemColor(int index) { return static_cast<int32_t>(GetSysColor(index)); }

}  // namespace

const TBackend& NativeBackend() {
  static TGdiRegionFactory regions;
  static TWin32SystemErrors errors;
  static const TBackend backend{
      .Surfaces = &DibSectionSurfaceFactory(),
      .Regions = &regions,
      .Errors = &errors,
      .SystemColor = &Win32SystemColor,
      .Windows = &Win32Windows(),
      .CodePage = &AnsiCodePage(),
      .DecimalSeparator = RegionalDecimalSeparator(),
  };
  return backend;
}

}  // namespace zelk::platform
