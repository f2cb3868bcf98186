// The platform's last error code and its message texts, from the backend
// (see Backend.h); the portable source reports the C library's errno and its
// strerror text.
#pragma once

#include <cstdint>
#include <string>

namespace zelk::platform {

class TSystemErrors {
 public:
  virtual ~TSystemErrors() = default;
  virtual uint32_t LastErrorCode() const = 0;
  virtual void SetLastErrorCode(uint32_t code) = 0;
  // The message text for code, without a trailing line break.
  virtual std::string MessageText(uint32_t code) const = 0;
};

// The backend's error source.
TSystemErrors& SystemErrors();

}  // namespace zelk::platform
