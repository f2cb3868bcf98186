// The toolkit's settings and events as a published class declares them,
// for the classes that publish them (panels, forms, the image-drawn
// controls):
//
//   TClassBuilder<TPanel> builder("TPanel");
//   PublishControl(builder);
//   PublishWinControl(builder);
//   return builder.Property("BevelOuter", ...).Build();
//
// Left, Top, Width, Height, Cursor and Hint are published by TControl itself.
#pragma once

#include "runtime/ClassBuilder.h"
#include "toolkit/Font.h"
#include "toolkit/Menus.h"
#include "toolkit/WinControl.h"

namespace zelk {

// Align, AutoSize, Color, Enabled, Font, ParentColor, ParentFont, PopupMenu,
// Visible and the mouse events.
template <class T>
TClassBuilder<T>& PublishControl(TClassBuilder<T>& builder) {
  return builder.Property("Align", &T::Align, &T::SetAlign)
      .Default(TAlign::alNone)
      .Property("AutoSize", &T::AutoSize, &T::SetAutoSize)
      .Default(false)
      .Property("Color", &T::Color, &T::SetColor)
      .Idents(ColorIdents())
      .Stored(&T::IsColorStored)
      .Property("Enabled", &T::Enabled, &T::SetEnabled)
      .Default(true)
      .Property("Font", &T::Font, &T::SetFont)
      .Stored(&T::IsFontStored)
      .Property("ParentColor", &T::ParentColor, &T::SetParentColor)
      .Default(true)
      .Property("ParentFont", &T::ParentFont, &T::SetParentFont)
      .Default(true)
      .Property("PopupMenu", &T::PopupMenu, &T::SetPopupMenu)
      .Property("Visible", &T::Visible, &T::SetVisible)
      .Default(true)
      .Property("OnClick", &T::OnClick)
      .Property("OnMouseDown", &T::OnMouseDown)
      .Property("OnMouseMove", &T::OnMouseMove)
      .Property("OnMouseUp", &T::OnMouseUp);
}

// TabOrder, TabStop, UseDockManager and the focus and key events.
template <class T>
TClassBuilder<T>& PublishWinControl(TClassBuilder<T>& builder) {
  return builder.Property("TabOrder", &T::TabOrder, &T::SetTabOrder)
      .Default(-1)
      .Property("TabStop", &T::TabStop, &T::SetTabStop)
      .Default(false)
      .Property("UseDockManager", &T::UseDockManager, &T::SetUseDockManager)
      .Default(false)
      .Property("OnEnter", &T::OnEnter)
      .Property("OnExit", &T::OnExit)
      .Property("OnKeyDown", &T::OnKeyDown)
      .Property("OnKeyPress", &T::OnKeyPress)
      .Property("OnKeyUp", &T::OnKeyUp);
}

}  // namespace zelk
