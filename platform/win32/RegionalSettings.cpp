#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

#include "platform/win32/AnsiCodePage.h"
#include "platform/win32/RegionalSettings.h"

namespace zelk::platform {

char RegionalDecimalSeparator() {
  wchar_t separator[8] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) == 0) return '.';
  const std::string narrow = AnsiCodePage().FromWide(reinterpret_cast<const char16_t*>(separator));
  return narrow.size() == 1 ? narrow[0] : '.';
}

}  // namespace zelk::platform
