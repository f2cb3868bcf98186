// The window toolkit's forms behind the framework's editor seam
// (framework/PluginEditor.h): a form that a module's OnEditOpen handler
// returns becomes a borderless child of the host's window at (0, 0), shown
// in its own size, repainted whole after a change, pumped through the
// toolkit's message loop and freed when the editor closes.
//
// A form that shows parameters also derives from TParameterView: its
// ParametersChanged hears, at each idle call after a change, the parameters
// that others (the host, automation, programs) changed, never the ones the
// form set itself through its parameter port.
#pragma once

#include "framework/ChangedParameters.h"

namespace zelk {

class TParameterView {
 public:
  // Before the form is repainted; read the values through the port.
  virtual void ParametersChanged(const TParameterSet& changed) = 0;

 protected:
  ~TParameterView() = default;
};

// Registers the form adapter with the framework. Called once by the
// library's start (and by programs that host plain forms); further calls do
// nothing.
void RegisterFormEditor();

}  // namespace zelk
