// The editor as the host sees it: its rectangle, opening inside the host's
// window, idle refreshes and closing. All of it runs on the host's
// user-interface thread (hosts with a thread per plug-in window use several;
// the dispatcher's user-interface lock keeps them apart). The editor itself
// comes from the module's OnEditOpen handler; an adapter registered by the
// layer that knows it (PluginEditor.h) places it into the host's window.
#include <cmath>
#include <limits>

#include "framework/FireEvent.h"
#include "framework/VST1Module.h"
#include "platform/Backend.h"
#include "platform/WindowSystem.h"

namespace zelk {

// Hosts ask for the rectangle before opening (to size their window) and
// again after; they keep the address, so it points into the module.
intptr_t TCustomVST1Module::AnswerEditorRect(void* ptr) {
  if (ptr != nullptr) *static_cast<ERect**>(ptr) = &EditorRect;
  EditorRect.top = 0;
  EditorRect.left = 0;
  if (editorForm_ == nullptr) return 0;
  if (editor_ != nullptr) {
    const TEditorSize size = editor_->Size();
    EditorRect.bottom = static_cast<int16_t>(size.Height);
    EditorRect.right = static_cast<int16_t>(size.Width);
  }
  return 1;
}

void TCustomVST1Module::SetHostEditorScale(float scale) {
  hostEditorScale_.store(std::isfinite(scale) && scale > 0.0f ? scale : 0.0f, std::memory_order_relaxed);
}

double TCustomVST1Module::ChooseEditorScale(void* parentWindow) const {
  const float hostScale = hostEditorScale_.load(std::memory_order_relaxed);
  if (hostScale > 0.0f) return hostScale;
  const double screenScale =
      platform::Backend().Windows->DisplayScale(reinterpret_cast<platform::TNativeWindow>(parentWindow));
  return std::isfinite(screenScale) && screenScale > 0.0 ? screenScale : 1.0;
}

intptr_t TCustomVST1Module::EditOpen(void* parentWindow) {
  // Some hosts open again without closing: the old editor goes first, with
  // its close notification, so that no window is left behind.
  if (editorForm_ != nullptr) EditClose();
  // Without the host's window the editor would be a stray top-level window.
  if (parentWindow == nullptr) return 0;
  editorScale_ = ChooseEditorScale(parentWindow);
  TComponent* component = nullptr;
  FireIfAssigned(OnEditOpen, this, component);
  if (component == nullptr) return 0;
  editorForm_ = component;
  // A window system that refuses the window (a screen it cannot draw on)
  // leaves no editor behind; the dispatcher reports the reason it gives.
  try {
    editor_ = AdaptPluginEditor(*component);
    if (editor_ != nullptr && !editor_->Open(parentWindow)) {
      FreeEditorForm();
      return 0;
    }
  } catch (...) {
    FreeEditorForm();
    throw;
  }
  // What the editor sets from now on is its own; nothing of it is known yet.
  editorValues_.assign(editorValues_.size(), std::numeric_limits<float>::quiet_NaN());
  // Bring module code and the new editor up to date without storing
  // anything or telling the host.
  if (OnParameterChange) {
    for (int32_t index = 0; index < numParams(); ++index) OnParameterChange(this, index, Parameters.Get(index));
  }
  // Painted before the host has the answer, so that a host whose first idle
  // call comes late shows no blank frame.
  PumpEditorWindows();
  return 1;
}

void TCustomVST1Module::EditClose() {
  FireIfAssigned(OnEditClose, this);
  FreeEditorForm();
}

// Hosts call this many times a second: with nothing changed it is one
// atomic load, and nothing is painted. The flag is cleared before the
// changes are taken: a change that lands in between is taken now and only
// leaves the flag set for one idle call that finds nothing.
void TCustomVST1Module::EditIdle() {
  if (editorForm_ == nullptr || !EditorNeedsUpdate.load(std::memory_order_relaxed)) return;
  FireIfAssigned(OnEditIdle, this);
  EditorNeedsUpdate.exchange(false, std::memory_order_acq_rel);
  const bool repaint = repaintRequested_.exchange(false, std::memory_order_relaxed);
  const TParameterSet changed = TakeChangesFromOthers();
  if (editor_ != nullptr && (repaint || !changed.Empty())) editor_->Idle(changed);
}

TParameterSet TCustomVST1Module::TakeChangesFromOthers() {
  TParameterSet changed = changedParameters_.Take();
  // ForEach reads each word before it visits its members, so removing the
  // member visited is safe.
  changed.ForEach([this, &changed](int32_t index) {
    float& editorValue = editorValues_[static_cast<size_t>(index)];
    if (editorValue == Parameters.Get(index)) changed.Remove(index);
    editorValue = std::numeric_limits<float>::quiet_NaN();
  });
  return changed;
}

// The library has no thread of its own: a window system whose events it
// reads itself (X11) is serviced here.
void TCustomVST1Module::PumpEditorWindows() {
  if (editor_ != nullptr) editor_->Pump();
}

}  // namespace zelk
