// A picture library (libjpeg, libpng) opened when the first picture of its
// kind is decoded, not when the host loads the plug-in: loading costs time
// at every host's plug-in scan, and the plug-in's own pictures never need
// it. Where the library is missing only decoding such files fails.
//
// Each decoder keeps its library's functions in a table that it fills once
// (the first decode, on whichever thread comes first) and names them with
// macros over the usual names, so its calls read as plain library calls.
// The library stays loaded until the process ends.
#pragma once

#include <string>

#include "platform/DynamicLibrary.h"

namespace zelk {

class TCodecLibrary {
 public:
  // Opens the library of that file name (its soname, found the way the
  // system finds libraries).
  explicit TCodecLibrary(const char* fileName);

  // Looks the function up; the first name not found makes the library
  // unusable and its reason the Error.
  template <typename TFunction>
  void Bind(TFunction& function, const char* name) {
    if (!Error().empty()) return;
    function = reinterpret_cast<TFunction>(library_->FindSymbol(name));
    if (function == nullptr) error_ = library_->ErrorText();
  }

  // Empty while the library and every function bound so far were found.
  const std::string& Error() const { return error_; }

 private:
  platform::TDynamicLibrary* library_;  // never freed: the functions outlive this object
  std::string error_;
};

}  // namespace zelk
