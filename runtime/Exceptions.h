// Exceptions of the runtime. Every error carries a ready message text; the
// component stream reader wraps errors raised while a property is read into
// one EReadError that names the object and the property.
#pragma once

#include <exception>
#include <string>
#include <string_view>

namespace zelk {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& Message() const noexcept { return message_; }

 private:
  std::string message_;
};

#define ZELK_EXCEPTION_CLASS(Name, Base)     \
  class Name : public Base {                 \
   public:                                   \
    using Base::Base;                        \
  }

ZELK_EXCEPTION_CLASS(EStreamError, Exception);
ZELK_EXCEPTION_CLASS(EReadError, EStreamError);
ZELK_EXCEPTION_CLASS(EWriteError, EStreamError);
ZELK_EXCEPTION_CLASS(EFilerError, EStreamError);
ZELK_EXCEPTION_CLASS(EClassNotFound, EFilerError);
ZELK_EXCEPTION_CLASS(EPropertyError, Exception);
ZELK_EXCEPTION_CLASS(EComponentError, Exception);
ZELK_EXCEPTION_CLASS(EConvertError, Exception);
ZELK_EXCEPTION_CLASS(EListError, Exception);
ZELK_EXCEPTION_CLASS(EInvalidOperation, Exception);
ZELK_EXCEPTION_CLASS(EResNotFound, Exception);

// printf-style formatting of a message template such as "Resource %s not found".
// Only %s, %d and %% are used by the system's messages.
std::string FormatMessage(std::string_view pattern, std::initializer_list<std::string_view> args);
std::string FormatMessage(std::string_view pattern, std::string_view arg);

}  // namespace zelk
