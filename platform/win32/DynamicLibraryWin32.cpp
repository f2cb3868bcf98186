// Shared libraries on Windows: LoadLibraryW with the UTF-8 path converted to
// UTF-16, so paths outside the ANSI code page load too.

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/DynamicLibrary.h"

namespace zelk::platform {

namespace {

std::wstring Utf8ToUtf16(const std::string& text) {
  if (text.empty()) {
    return {};
  }
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0);
  if (length <= 0) {
    return {};
  }
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string Utf16ToUtf8(const wchar_t* text, int length) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) {
    return {};
  }
  std::string narrow(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, length, narrow.data(), size, nullptr, nullptr);
  return narrow;
}

// The system's text for an error code, on one line.
std::string SystemMessage(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
      reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string message = length > 0 ? Utf16ToUtf8(buffer, static_cast<int>(length)) : std::string();
  LocalFree(buffer);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
    message.pop_back();
  }
  return message.empty() ? "error " + std::to_string(code) : message;
}

}  // namespace

bool TDynamicLibrary::Open(const std::string& utf8Path) {
  Close();
  m_Path = utf8Path;
  const std::wstring widePath = Utf8ToUtf16(utf8Path);
  if (widePath.empty()) {
    m_ErrorText = "'" + utf8Path + "' is not a valid UTF-8 path";
    return false;
  }
  HMODULE module = LoadLibraryW(widePath.c_str());
  if (module == nullptr) {
    m_ErrorText = "'" + utf8Path + "': " + SystemMessage(GetLastError());
    return false;
  }
  m_Handle = module;
  m_ErrorText.clear();
  return true;
}

void TDynamicLibrary::Close() {
  if (m_Handle != nullptr) {
    FreeLibrary(static_cast<HMODULE>(m_Handle));
    m_Handle = nullptr;
  }
}

TDynamicLibrary::TSymbol TDynamicLibrary::LookUp(const char* name) const {
  FARPROC address = GetProcAddress(static_cast<HMODULE>(m_Handle), name);
  return reinterpret_cast<TSymbol>(address);
}

}  // namespace zelk::platform
