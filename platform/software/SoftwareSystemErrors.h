// The portable error source: error codes are the C library's errno values,
// their texts its strerror texts. The last code is kept per thread.
#pragma once

#include "platform/SystemError.h"

namespace zelk::platform {

class TSoftwareSystemErrors final : public TSystemErrors {
 public:
  uint32_t LastErrorCode() const override;
  void SetLastErrorCode(uint32_t code) override;
  std::string MessageText(uint32_t code) const override;
};

}  // namespace zelk::platform
