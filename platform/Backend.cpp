#include "platform/Backend.h"

#include "runtime/DecimalSeparator.h"
#include "runtime/SystemCodePage.h"

namespace zelk::platform {

namespace {

TBackend& InstalledBackend() {
  static TBackend backend = [] {
    const TBackend& native = NativeBackend();
    if (native.CodePage != nullptr) SetSystemCodePage(native.CodePage);
    if (native.DecimalSeparator != 0) SetDecimalSeparator(native.DecimalSeparator);
    return native;
  }();
  return backend;
}

}  // namespace

TBackend& Backend() { return InstalledBackend(); }

void InstallBackend(const TBackend& backend) {
  TBackend& installed = InstalledBackend();
  installed = backend;
  if (backend.CodePage != nullptr) SetSystemCodePage(backend.CodePage);
  if (backend.DecimalSeparator != 0) SetDecimalSeparator(backend.DecimalSeparator);
}

}  // namespace zelk::platform
