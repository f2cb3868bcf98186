// Control templates: the template properties of a class and loading and
// saving a template (controls/DIBTemplate.h).
#include "controls/DIBControl.h"

#include <algorithm>

#include "controls/DIBTemplate.h"

namespace zelk {

void TCustomDIBControl::AddTemplateProperty(const std::string& name) {
  CheckTemplateProperty(*this, name);
  if (std::find(templateProperties_.begin(), templateProperties_.end(), name) == templateProperties_.end()) {
    templateProperties_.push_back(name);
  }
}

void TCustomDIBControl::LoadTemplate(TStream& stream) { LoadControlTemplate(*this, stream); }

void TCustomDIBControl::SaveTemplate(TStream& stream) { SaveControlTemplate(*this, stream); }

}  // namespace zelk
