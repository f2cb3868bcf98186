// What the framework needs of an editor, and nothing of how one is drawn.
//
// The module's OnEditOpen handler hands the framework a component (for the
// product a form); a layer above the framework registers an adapter that
// turns such a component into a TPluginEditor, so that the framework can
// embed, size, refresh and close it without knowing the window toolkit.
// User-interface thread, under the dispatcher's user-interface lock.
#pragma once

#include <memory>

#include "framework/ChangedParameters.h"

namespace zelk {

class TComponent;

struct TEditorSize {
  int32_t Width = 0;
  int32_t Height = 0;
};

class TPluginEditor {
 public:
  // Closes the editor's window and frees the component it adapts.
  virtual ~TPluginEditor() = default;

  // Shows the editor inside the host's native window; false when the
  // window system refuses (the caller then frees the editor).
  virtual bool Open(void* parentWindow) = 0;
  // The editor's client size in pixels.
  virtual TEditorSize Size() const = 0;
  // Something changed since the last idle call: changed holds the
  // parameters set by anyone but the editor itself (empty when module code
  // only asked for a repaint). The editor shows the new values and repaints.
  virtual void Idle(const TParameterSet& changed) = 0;
  // Lets the window system deliver what is pending (input, timers, paints).
  virtual void Pump() = 0;
};

// Turns the component an OnEditOpen handler made into an editor; null when
// the component is not of the adapter's kind.
using TPluginEditorAdapter = std::unique_ptr<TPluginEditor> (*)(TComponent& component);

// At library start. Adapters registered later are tried first; registering
// one again does nothing.
void RegisterPluginEditorAdapter(TPluginEditorAdapter adapter);
// Null when no registered adapter takes component.
std::unique_ptr<TPluginEditor> AdaptPluginEditor(TComponent& component);

}  // namespace zelk
