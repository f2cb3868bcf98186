// Persistent objects: objects whose state can be copied to another object of
// a related kind (Assign/AssignTo) and streamed through their published
// properties and their extra streamed properties.
#pragma once

#include <string>

#include "runtime/Object.h"

namespace zelk {

class TFiler;

class TPersistent : public TObject {
  ZELK_CLASS(TPersistent, TObject)

  // Copies source into this object. The base asks the source to AssignTo
  // this object and refuses the assignment when neither side knows the other.
  virtual void Assign(TPersistent* source);
  // Declares extra streamed properties (none in the base).
  virtual void DefineProperties(TFiler& filer) {}
  // The object that owns this one in the persistent tree, if any.
  virtual TPersistent* GetOwner() { return nullptr; }
  // Dotted path for messages, e.g. "Form.Items".
  virtual std::string GetNamePath();

 protected:
  virtual void AssignTo(TPersistent* dest);
  // Raises EConvertError "%s kann nicht zu %s zugewiesen werden".
  [[noreturn]] void AssignError(TPersistent* source);
};

}  // namespace zelk
