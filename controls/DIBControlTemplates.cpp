// Control templates: the template properties of a class and loading and
// saving a template (controls/DIBTemplate.h).
#include "controls/DIBControl.h"

#include <algorithm>

#include "controls/DIBTemplate.h"

namespace zelk {

void TTemplateProperties::Add(TCustomDIBControl& control, const std::string& name) {
  CheckTemplateProperty(control, name);
  if (std::find(names_.begin(), names_.end(), name) == names_.end()) names_.push_back(name);
}

void TCustomDIBControl::AddTemplateProperty(const std::string& name) { templateProperties_.Add(*this, name); }

void TCustomDIBControl::LoadTemplate(TStream& stream) { LoadControlTemplate(*this, stream); }

void TCustomDIBControl::SaveTemplate(TStream& stream) { SaveControlTemplate(*this, stream); }

}  // namespace zelk
