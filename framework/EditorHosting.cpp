// The editor as the host sees it: its rectangle, opening inside the host's
// window, idle repaints and closing. All of it runs on the host's
// user-interface thread. The form itself comes from the module's OnEditOpen
// handler; placing it into the host's native window is the window toolkit's
// part and happens once forms exist.
#include "framework/FireEvent.h"
#include "framework/VST1Module.h"

namespace zelk {

// Hosts ask for the rectangle before opening (to size their window) and
// again after; they keep the address, so it points into the module.
intptr_t TCustomVST1Module::AnswerEditorRect(void* ptr) {
  if (ptr != nullptr) *static_cast<ERect**>(ptr) = &EditorRect;
  EditorRect.top = 0;
  EditorRect.left = 0;
  return editorForm_ != nullptr ? 1 : 0;
}

intptr_t TCustomVST1Module::EditOpen(void* parentWindow) {
  TComponent* form = nullptr;
  FireIfAssigned(OnEditOpen, this, form);
  if (form == nullptr) return 0;
  // Hosts that open twice without closing would otherwise leak the first form.
  if (editorForm_ != form) FreeEditorForm();
  editorForm_ = form;
  // Bring module code and the new editor up to date without storing
  // anything or telling the host.
  if (OnParameterChange) {
    for (int32_t index = 0; index < numParams(); ++index) OnParameterChange(this, index, Parameters.Get(index));
  }
  return 1;
}

void TCustomVST1Module::EditClose() {
  FireIfAssigned(OnEditClose, this);
  FreeEditorForm();
}

void TCustomVST1Module::EditIdle() {
  if (editorForm_ == nullptr || !EditorNeedsUpdate.load(std::memory_order_relaxed)) return;
  FireIfAssigned(OnEditIdle, this);
  EditorNeedsUpdate.store(false, std::memory_order_relaxed);
}

}  // namespace zelk
