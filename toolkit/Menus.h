// Menus: TMenuItem trees held by a TMenu, and TPopupMenu, the menu a control
// offers (its PopupMenu). A menu takes key presses as shortcuts: a key down
// whose key and Shift, Ctrl and Alt state match an enabled, visible item's
// ShortCut clicks that item. Menu items read from a component stream are
// children of the menu (or of their parent item) and are owned by the root.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/Component.h"
#include "runtime/Event.h"
#include "toolkit/Messages.h"

namespace zelk {

// A key code with scShift, scCtrl and scAlt; 0 is none.
using TShortCut = uint16_t;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
inline constexpr TShortCut scNone = 0;

TShortCut ShortCut(uint16_t key, TShiftState shift);
// The shortcut a key-down message stands for.
TShortCut ShortCutOfKey(const TMessage& keyMessage);

class TMenu;

class TMenuItem : public TComponent {
  ZELK_CLASS(TMenuItem, TComponent)

  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) { caption_ = std::move(caption); }
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut shortCut) { shortCut_ = shortCut; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { visible_ = visible; }

  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
  TMenuItem* Parent() const { return parent_; }
  void Add(TMenuItem* item) { Insert(Count(), item); }
  void Insert(int index, TMenuItem* item);
  void Remove(TMenuItem* item);
  void Clear();
  // The enabled, visible item below this one (depth first) with shortCut.
  TMenuItem* FindShortCut(TShortCut shortCut) const;

  // Fires OnClick when enabled.
  virtual void Click();

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;
  std::vector<TComponent*> GetChildren(TComponent* root) const override;
  void BeforeDestruction() override;

  TNotifyEvent OnClick;

 private:
  friend class TMenu;
  std::string caption_;
  TShortCut shortCut_ = scNone;
  bool enabled_ = true;
  bool visible_ = true;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on the root item of a menu
  std::vector<TMenuItem*> items_;
};

class TMenu : public TComponent {
  ZELK_CLASS(TMenu, TComponent)

  explicit TMenu(TComponent* owner);
  ~TMenu() override;

  // The root item; the menu's items are its children.
  TMenuItem* Items() const { return items_; }
  // Clicks the item whose shortcut the key-down message is; true when one did.
  bool IsShortCut(TMessage& keyMessage);

  std::vector<TComponent*> GetChildren(TComponent* root) const override;

 private:
  TMenuItem* items_;
};

class TPopupMenu : public TMenu {
  ZELK_CLASS(TPopupMenu, TMenu)

  using TMenu::TMenu;
};

}  // namespace zelk
