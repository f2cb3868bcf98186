// What the plug-in library sets up when Windows loads it, after the C++
// static initialisers and before the host can call `main`: texts convert
// through the ANSI code page and numbers are shown with the decimal
// separator of the regional settings, as every other Windows program does.

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/win32/AnsiCodePage.h"
#include "platform/win32/RegionalSettings.h"
#include "runtime/DecimalSeparator.h"
#include "runtime/SystemCodePage.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    zelk::SetSystemCodePage(&zelk::platform::AnsiCodePage());
    zelk::SetDecimalSeparator(zelk::platform::RegionalDecimalSeparator());
  }
  return TRUE;
}
