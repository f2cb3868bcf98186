// Built-in resources on Windows: RCDATA resources of the module that holds
// this code (the plug-in library, not the host's program), named after the
// root class in upper case. The resource functions compare names without
// regard to case.

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

#include "platform/BuiltInResourceSource.h"

namespace zelk::platform {

namespace {

// RT_RCDATA in its wide form.
const LPCWSTR kRawDataType = MAKEINTRESOURCEW(10);

HMODULE OwnModule() {
  HMODULE module = nullptr;
  const DWORD flags = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
  GetModuleHandleExW(flags, reinterpret_cast<LPCWSTR>(&FindBuiltInResource), &module);
  return module;
}

// Resource names are class names: plain ASCII.
std::wstring ResourceName(std::string_view name) {
  std::wstring wide;
  for (char c : name) {
    if (static_cast<unsigned char>(c) >= 0x80) return {};
    wide += static_cast<wchar_t>(c);
  }
  return wide;
}

}  // namespace

std::optional<std::span<const uint8_t>> FindBuiltInResource(std::string_view name) {
  const std::wstring wideName = ResourceName(name);
  // "#123" would ask for a numbered resource.
  if (wideName.empty() || wideName[0] == L'#') return std::nullopt;
  const HMODULE module = OwnModule();
  HRSRC info = FindResourceW(module, wideName.c_str(), kRawDataType);
  if (info == nullptr) return std::nullopt;
  HGLOBAL loaded = LoadResource(module, info);
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) return std::nullopt;
  return std::span<const uint8_t>(static_cast<const uint8_t*>(bytes), SizeofResource(module, info));
}

}  // namespace zelk::platform
