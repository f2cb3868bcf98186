#include "platform/software/SoftwareSystemErrors.h"

#include <cstring>

namespace zelk::platform {

namespace {
thread_local uint32_t lastErrorCode = 0;
}  // namespace

uint32_t TSoftwareSystemErrors::LastErrorCode() const { return lastErrorCode; }

void TSoftwareSystemErrors::SetLastErrorCode(uint32_t code) { lastErrorCode = code; }

std::string TSoftwareSystemErrors::MessageText(uint32_t code) const {
  std::string text = std::strerror(static_cast<int>(code));
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

}  // namespace zelk::platform
