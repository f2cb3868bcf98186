// Class descriptions of the control base and the containers, and their
// registration for component streams.
#include "controls/DIBBorder.h"
#include "controls/DIBContainer.h"
#include "dib/DIBImageLink.h"
#include "dib/DIBImageList.h"
#include "runtime/ClassRegistry.h"
#include "toolkit/Font.h"
#include "toolkit/Menus.h"

namespace zelk {

const TClassInfo& TCustomDIBControl::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCustomDIBControl>("TCustomDIBControl").Build();
  return info;
}

const TClassInfo& TCustomDIBContainer::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCustomDIBContainer>("TCustomDIBContainer").Build();
  return info;
}

const TClassInfo& TCustomDIBImageContainer::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCustomDIBImageContainer>("TCustomDIBImageContainer").Build();
  return info;
}

const TClassInfo& TDIBImageContainer::StaticClass() {
  using T = TDIBImageContainer;
  // In the container's published order; Left, Top, Width, Height, Cursor,
  // Hint and Tag keep the places their base classes give them.
  static const TClassInfo info = TClassBuilder<T>("TDIBImageContainer")
          .Property("DIBImageList", &T::DIBImageList, &T::SetDIBImageList)
          .Property("IndexImage", &T::IndexImage, &T::SetIndexImage)
          .Property("TileMethod", &T::TileMethod, &T::SetTileMethod)
          .Default(TTileMethod::tmCenter)
          .Property("OnActiveControlChange", &T::OnActiveControlChange)
          .Property("AfterPaint", &T::AfterPaint)
          .Property("BeforePaint", &T::BeforePaint)
          .Property("BorderDrawPosition", &T::BorderDrawPosition, &T::SetBorderDrawPosition)
          .Default(TBorderDrawPosition::bdOverControls)
          .Property("DIBBorder", &T::DIBBorder, &T::SetDIBBorder)
          .Property("Align", &T::Align, &T::SetAlign)
          .Default(TAlign::alNone)
          .Property("Anchors", &T::Anchors, &T::SetAnchors)
          .Default(kDefaultAnchors)
          .Property("AutoSize", &T::AutoSize, &T::SetAutoSize)
          .Default(false)
          .Property("BiDiMode", &T::BiDiMode, &T::SetBiDiMode)
          .Stored(&T::IsBiDiModeStored)
          .Property("Color", &T::Color, &T::SetColor)
          .Idents(ColorIdents())
          .Stored(&T::IsColorStored)
          .Property("Constraints", &T::Constraints, &T::SetConstraints)
          .Property("DockSite", &T::DockSite, &T::SetDockSite)
          .Default(false)
          .Property("DragCursor", &T::DragCursor, &T::SetDragCursor)
          .Idents(CursorIdents())
          .Default(crDrag)
          .Property("DragKind", &T::DragKind, &T::SetDragKind)
          .Default(TDragKind::dkDrag)
          .Property("DragMode", &T::DragMode, &T::SetDragMode)
          .Default(TDragMode::dmManual)
          .Property("Enabled", &T::Enabled, &T::SetEnabled)
          .Default(true)
          .Property("Font", &T::Font, &T::SetFont)
          .Stored(&T::IsFontStored)
          .Property("HelpContext", &T::HelpContext, &T::SetHelpContext)
          .Default(0)
          .Property("OnKeyDown", &T::OnKeyDown)
          .Property("OnKeyPress", &T::OnKeyPress)
          .Property("OnKeyUp", &T::OnKeyUp)
          .Property("ParentBiDiMode", &T::ParentBiDiMode, &T::SetParentBiDiMode)
          .Default(true)
          .Property("ParentColor", &T::ParentColor, &T::SetParentColor)
          .Default(true)
          .Property("ParentFont", &T::ParentFont, &T::SetParentFont)
          .Default(true)
          .Property("ParentShowHint", &T::ParentShowHint, &T::SetParentShowHint)
          .Default(true)
          .Property("PopupMenu", &T::PopupMenu, &T::SetPopupMenu)
          .Property("ShowHint", &T::ShowHint, &T::SetShowHint)
          .Stored(&T::IsShowHintStored)
          .Property("TabOrder", &T::TabOrder, &T::SetTabOrder)
          .Default(-1)
          .Property("TabStop", &T::TabStop, &T::SetTabStop)
          .Default(false)
          .Property("UseDockManager", &T::UseDockManager, &T::SetUseDockManager)
          .Default(false)
          .Property("Visible", &T::Visible, &T::SetVisible)
          .Default(true)
          .Property("OnCanResize", &T::OnCanResize)
          .Property("OnClick", &T::OnClick)
          .Property("OnConstrainedResize", &T::OnConstrainedResize)
          .Property("OnContextPopup", &T::OnContextPopup)
          .Property("OnDockDrop", &T::OnDockDrop)
          .Property("OnDockOver", &T::OnDockOver)
          .Property("OnDblClick", &T::OnDblClick)
          .Property("OnDragDrop", &T::OnDragDrop)
          .Property("OnDragOver", &T::OnDragOver)
          .Property("OnEndDock", &T::OnEndDock)
          .Property("OnEndDrag", &T::OnEndDrag)
          .Property("OnEnter", &T::OnEnter)
          .Property("OnExit", &T::OnExit)
          .Property("OnGetSiteInfo", &T::OnGetSiteInfo)
          .Property("OnMouseDown", &T::OnMouseDown)
          .Property("OnMouseMove", &T::OnMouseMove)
          .Property("OnMouseUp", &T::OnMouseUp)
          .Property("OnResize", &T::OnResize)
          .Property("OnStartDock", &T::OnStartDock)
          .Property("OnStartDrag", &T::OnStartDrag)
          .Property("OnUnDock", &T::OnUnDock)
          .Build();
  return info;
}

void RegisterDIBControlClasses() { RegisterClasses({&TDIBImageContainer::StaticClass()}); }

}  // namespace zelk
