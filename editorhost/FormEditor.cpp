#include "editorhost/FormEditor.h"

#include <memory>

#include "framework/PluginEditor.h"
#include "toolkit/Form.h"
#include "toolkit/Toolkit.h"

namespace zelk {

namespace {

// The form and every window inside it paint again at the next paint cycle.
void InvalidateWindows(TWinControl& control) {
  control.Invalidate();
  for (TWinControl* child : control.WinControlList()) InvalidateWindows(*child);
}

class TFormEditor final : public TPluginEditor {
 public:
  explicit TFormEditor(TCustomForm& form) : form_(&form) {}
  ~TFormEditor() override { TObject::Free(form_); }
  TFormEditor(const TFormEditor&) = delete;
  TFormEditor& operator=(const TFormEditor&) = delete;

  // A borderless child of the host's window at (0, 0), in its own size,
  // shown. The toolkit raises an error when the window system refuses.
  bool Open(void* parentWindow) override {
    form_->SetParentWindow(reinterpret_cast<TNativeWindow>(parentWindow));
    form_->SetBorderStyle(TFormBorderStyle::bsNone);
    form_->SetBounds(0, 0, form_->Width(), form_->Height());
    form_->Show();
    return true;
  }

  TEditorSize Size() const override { return {form_->ClientWidth(), form_->ClientHeight()}; }

  void Idle(const TParameterSet& changed) override {
    if (auto* view = dynamic_cast<TParameterView*>(form_); view != nullptr && !changed.Empty()) {
      view->ParametersChanged(changed);
    }
    InvalidateWindows(*form_);
  }

  void Pump() override { ProcessMessages(); }

 private:
  TCustomForm* form_;
};

std::unique_ptr<TPluginEditor> AdaptForm(TComponent& component) {
  if (!component.Is<TCustomForm>()) return nullptr;
  return std::make_unique<TFormEditor>(static_cast<TCustomForm&>(component));
}

}  // namespace

void RegisterFormEditor() { RegisterPluginEditorAdapter(&AdaptForm); }

}  // namespace zelk
