// The editor as the host sees it: its rectangle, opening inside the host's
// window, idle repaints and closing. All of it runs on the host's
// user-interface thread (hosts with a thread per plug-in window use several;
// the dispatcher's user-interface lock keeps them apart). The form itself
// comes from the module's OnEditOpen handler; the window toolkit places it
// into the host's native window.
#include <cmath>

#include "framework/FireEvent.h"
#include "framework/VST1Module.h"
#include "platform/Backend.h"
#include "platform/WindowSystem.h"
#include "toolkit/Form.h"
#include "toolkit/Toolkit.h"

namespace zelk {
namespace {

TCustomForm* AsForm(TComponent* editor) {
  return editor != nullptr && editor->Is<TCustomForm>() ? static_cast<TCustomForm*>(editor) : nullptr;
}

// A borderless child of the host's window at (0, 0), in its own size, shown.
void EmbedInHostWindow(TCustomForm& form, void* parentWindow) {
  form.SetParentWindow(reinterpret_cast<TNativeWindow>(parentWindow));
  form.SetBorderStyle(TFormBorderStyle::bsNone);
  form.SetBounds(0, 0, form.Width(), form.Height());
  form.Show();
}

// The form and every window inside it paint again at the next paint cycle.
void InvalidateWindows(TWinControl& control) {
  control.Invalidate();
  for (TWinControl* child : control.WinControlList()) InvalidateWindows(*child);
}

}  // namespace

// Hosts ask for the rectangle before opening (to size their window) and
// again after; they keep the address, so it points into the module.
intptr_t TCustomVST1Module::AnswerEditorRect(void* ptr) {
  if (ptr != nullptr) *static_cast<ERect**>(ptr) = &EditorRect;
  EditorRect.top = 0;
  EditorRect.left = 0;
  if (editorForm_ == nullptr) return 0;
  if (const TCustomForm* form = AsForm(editorForm_)) {
    EditorRect.bottom = static_cast<int16_t>(form->ClientHeight());
    EditorRect.right = static_cast<int16_t>(form->ClientWidth());
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
  // Some hosts open again without closing: the old form goes first, with
  // its close notification, so that no window is left behind.
  if (editorForm_ != nullptr) EditClose();
  // Without the host's window the editor would be a stray top-level window.
  if (parentWindow == nullptr) return 0;
  editorScale_ = ChooseEditorScale(parentWindow);
  TComponent* editor = nullptr;
  FireIfAssigned(OnEditOpen, this, editor);
  if (editor == nullptr) return 0;
  editorForm_ = editor;
  if (TCustomForm* form = AsForm(editor)) {
    // A window system that refuses the window (a screen it cannot draw on)
    // leaves no form behind; the dispatcher reports the reason.
    try {
      EmbedInHostWindow(*form, parentWindow);
    } catch (...) {
      FreeEditorForm();
      throw;
    }
  }
  // Bring module code and the new editor up to date without storing
  // anything or telling the host.
  if (OnParameterChange) {
    for (int32_t index = 0; index < numParams(); ++index) OnParameterChange(this, index, Parameters.Get(index));
  }
  // Painted before the host has the answer, so that a host whose first idle
  // call comes late shows no blank frame.
  ProcessMessages();
  return 1;
}

void TCustomVST1Module::EditClose() {
  FireIfAssigned(OnEditClose, this);
  FreeEditorForm();
}

// Hosts call this many times a second: with nothing changed it returns at
// once and nothing is painted.
void TCustomVST1Module::EditIdle() {
  if (editorForm_ == nullptr || !EditorNeedsUpdate.load(std::memory_order_relaxed)) return;
  FireIfAssigned(OnEditIdle, this);
  EditorNeedsUpdate.store(false, std::memory_order_relaxed);
  if (TCustomForm* form = AsForm(editorForm_)) InvalidateWindows(*form);
}

}  // namespace zelk
