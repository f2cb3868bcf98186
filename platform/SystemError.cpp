#include "platform/SystemError.h"

#include "platform/software/SoftwareSystemErrors.h"

namespace zelk::platform {

namespace {

TSystemErrors*& InstalledErrors() {
  static TSystemErrors* errors = nullptr;
  return errors;
}

}  // namespace

TSystemErrors& SystemErrors() {
  static TSoftwareSystemErrors software;
  TSystemErrors* installed = InstalledErrors();
  return installed ? *installed : software;
}

void SetSystemErrors(TSystemErrors* errors) { InstalledErrors() = errors; }

}  // namespace zelk::platform
