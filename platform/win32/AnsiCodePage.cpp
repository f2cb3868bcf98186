// Conversions through CP_ACP, the code page the system is set to (1252 on
// Western systems, 932 on Japanese ones, ...). Characters it lacks become
// the code page's default character.

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/win32/AnsiCodePage.h"

namespace zelk::platform {

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows text is UTF-16");

class TAnsiCodePage final : public TCodePage {
 public:
  std::u16string ToWide(std::string_view text) const override {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::u16string wide(static_cast<size_t>(length > 0 ? length : 0), u'\0');
    if (length > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), size, reinterpret_cast<wchar_t*>(wide.data()), length);
    return wide;
  }

  std::string FromWide(std::u16string_view text) const override {
    if (text.empty()) return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_ACP, 0, wide, size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length > 0 ? length : 0), '\0');
    if (length > 0) WideCharToMultiByte(CP_ACP, 0, wide, size, narrow.data(), length, nullptr, nullptr);
    return narrow;
  }

  // Double-byte code pages (932, 936, 949, 950) mark the first byte of a pair.
  size_t CharacterLength(std::string_view text) const override {
    if (text.empty()) return 0;
    const bool pair = text.size() >= 2 && IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(text[0]));
    return pair ? 2 : 1;
  }
};

// Without state, so it is ready before any constructor runs.
const TAnsiCodePage kAnsiCodePage;

}  // namespace

const TCodePage& AnsiCodePage() { return kAnsiCodePage; }

}  // namespace zelk::platform
