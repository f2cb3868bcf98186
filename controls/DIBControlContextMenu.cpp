// The context menu shared by controls without a popup menu of their own.
#include "controls/DIBControl.h"

#include <memory>

#include "toolkit/Menus.h"

namespace zelk {

namespace {

// The context menu offered by controls without a popup menu of their own;
// lives as long as the library.
TPopupMenu& SharedContextMenu() {
  static std::unique_ptr<TPopupMenu, TFreeObject> menu(New<TPopupMenu>(nullptr));
  return *menu;
}

}  // namespace

TPopupMenu* TDIBContextMenu::Offered() const {
  if (control_.PopupMenu() != nullptr) return control_.PopupMenu();
  TPopupMenu& shared = SharedContextMenu();
  control_.ClearContextItems(shared);
  control_.AddContextItems(shared);
  return shared.Items()->Count() > 0 ? &shared : nullptr;
}

TPopupMenu* TCustomDIBControl::GetPopupMenu() { return contextMenu_.Offered(); }

void TCustomDIBControl::ClearContextItems(TPopupMenu& menu) { menu.Items()->Clear(); }

}  // namespace zelk
