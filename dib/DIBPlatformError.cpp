#include "dib/DIBPlatformError.h"

#include "platform/SystemError.h"
#include "runtime/Exceptions.h"

namespace zelk {

std::string LastErrorText() {
  const platform::TSystemErrors& errors = platform::SystemErrors();
  return errors.MessageText(errors.LastErrorCode());
}

void RaiseLastPlatformError() {
  const uint32_t code = platform::SystemErrors().LastErrorCode();
  throw Exception("Windows error (" + std::to_string(code) + ") " + platform::SystemErrors().MessageText(code));
}

}  // namespace zelk
