// The system's error source: the thread's last error (GetLastError) and
// the system's message texts (FormatMessage), in the ANSI code page.
#pragma once

#include "platform/SystemError.h"

namespace zelk::platform {

class TWin32SystemErrors final : public TSystemErrors {
 public:
  uint32_t LastErrorCode() const override;
  void SetLastErrorCode(uint32_t code) override;
  // Empty for a code the system has no text for.
  std::string MessageText(uint32_t code) const override;
};

}  // namespace zelk::platform
