#include "platform/win32/Win32SystemErrors.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace zelk::platform {

uint32_t TWin32SystemErrors::LastErrorCode() const { return GetLastError(); }

void TWin32SystemErrors::SetLastErrorCode(uint32_t code) { SetLastError(code); }

std::string TWin32SystemErrors::MessageText(uint32_t code) const {
  char* buffer = nullptr;
  const DWORD length =
      FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text = length != 0 && buffer != nullptr ? std::string(buffer, length) : std::string();
  if (buffer != nullptr) LocalFree(buffer);
  // System texts end in a line break, some in a space before it.
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text;
}

}  // namespace zelk::platform
