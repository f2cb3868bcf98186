// TCustomDIBControl: the base of every image-drawn control. It has no window
// of its own: it is a windowless child of a TCustomDIBContainer, which owns
// the window and the off-screen buffer. When the container composes a frame
// it lends the control its scratch image (ControlDIB) at the control's size;
// the control's paint handler copies the composed background under it from
// the buffer into the scratch image, draws itself (PaintDIB) and blends the
// scratch image back into the buffer with Opacity.
//
// The base adds:
// - mouse enter and leave that survive mouse capture: a capturing control
//   that the mouse leaves reports OnMouseLeave only when the button is
//   released outside it;
// - press-and-hold repeat: with repeat enabled, a held left button re-sends
//   the press every RepeatInterval milliseconds at the latest mouse position
//   until release, leave or StopRepeat;
// - a DIB focus separate from the window focus, moved through the
//   container's DIB tab list (DIBTabOrder); the container window holds the
//   keyboard focus and routes keys to the focused control;
// - an Accelerator character (Alt plus it clicks the control), attached
//   controls that move with it, image links to one DIBImageList, a shared
//   context menu and a per-class list of template properties.
//
// Everything runs on the thread that owns the container's window.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "controls/DIBControlParts.h"
#include "controls/DIBFeature.h"
#include "dib/DIBImageOperation.h"
#include "platform/Canvas.h"
#include "runtime/ClassBuilder.h"
#include "runtime/Exceptions.h"
#include "runtime/Stream.h"
#include "toolkit/Control.h"
#include "toolkit/PointerState.h"
#include "toolkit/Publish.h"
#include "toolkit/WinControl.h"

namespace zelk {

class TCustomDIBContainer;
class TCustomDIBImageList;
class TControlList;
class TDIBImageLink;
class TDIBTimer;
class TPopupMenu;
class TWinDIB;

ZELK_EXCEPTION_CLASS(EDIBControlError, Exception);

// Which dialog keys a control handles itself.
enum class TWantKey : uint8_t { wkTab, wkArrows, wkAll };
ZELK_ENUM_NAMES(TWantKey, "wkTab", "wkArrows", "wkAll")
using TWantKeys = TSet<TWantKey>;

using TMouseButtons = TSet<TMouseButton>;

class TCustomDIBControl : public TControl {
  ZELK_CLASS(TCustomDIBControl, TControl)
  ZELK_MESSAGES()

  // owner must not be null; when it is not a container, the first container
  // among its components becomes the control's parent-to-be. Raises
  // Exception "Owner cannot be nil" or "Parent must be a TDIBContainer".
  explicit TCustomDIBControl(TComponent* owner);
  ~TCustomDIBControl() override;

  // --- settings (published by descendants) ---

  char Accelerator() const { return accelerator_; }
  void SetAccelerator(char accelerator) { accelerator_ = accelerator; }
  // Pluggable behaviours: they see every message before the control and
  // are built from their stored blocks when the control finishes loading.
  TDIBFeatures* DIBFeatures() const { return dibFeatures_.get(); }
  void SetDIBFeatures(TDIBFeatures* source);
  TCustomDIBImageList* DIBImageList() const { return dibImageList_; }
  // Sets the list on every image link of the control.
  virtual void SetDIBImageList(TCustomDIBImageList* list);
  // The index in the parent's DIB tab list, -1 when absent. Without a parent
  // or while loading, only the stored value changes.
  TTabOrder DIBTabOrder() const;
  void SetDIBTabOrder(TTabOrder order);
  // The stored value, applied when the control gets a parent or finishes
  // loading.
  TTabOrder StoredDIBTabOrder() const { return dibTabOrder_; }
  uint8_t Opacity() const { return opacity_; }
  void SetOpacity(uint8_t opacity);
  TWantKeys WantKeys() const { return wantKeys_; }
  void SetWantKeys(TWantKeys keys) { wantKeys_ = keys; }
  // Whether a press gives a control of the DIB tab list the focus (and its
  // container the window's keyboard focus). Off for a control whose keys
  // are reached by Tab only, so that a click leaves the keys with the host.
  bool FocusOnClick() const { return focusOnClick_; }
  void SetFocusOnClick(bool focus) { focusOnClick_ = focus; }

  // --- state ---

  TCustomDIBContainer* Container() const;
  bool DIBFocused() const { return dibFocused_; }
  bool MouseOver() const { return pointer_.Over(); }
  bool MouseInside() const { return pointer_.Inside(); }
  TMouseButtons ButtonsDown() const { return buttonsDown_; }
  TShiftState ShiftState() const { return shiftState_; }
  TPoint LastMousePosition() const { return lastMousePosition_; }
  // Tick count of the last invalidation that was not a pure move.
  uint32_t LastChangeTime() const { return lastChangeTime_; }
  // The scratch image lent by the container while the control paints; null
  // otherwise. Not owned.
  TWinDIB* ControlDIB() const { return controlDIB_; }
  void SetControlDIB(TWinDIB* dib) { controlDIB_ = dib; }
  // Bound to the scratch image while the control paints.
  platform::TCanvas* Canvas() const { return canvas_.get(); }
  // Controls that move with this one.
  TControlList* AttachedControls() const { return attachedControls_.List(); }
  TDIBTimer* RepeatTimer() const { return pressRepeat_.Timer(); }
  bool RepeatEnabled() const { return pressRepeat_.Enabled(); }
  void SetRepeatEnabled(bool enabled) { pressRepeat_.SetEnabled(enabled); }
  uint32_t RepeatInterval() const { return pressRepeat_.Interval(); }
  void SetRepeatInterval(uint32_t milliseconds) { pressRepeat_.SetInterval(milliseconds); }
  bool IsRepeating() const;
  // Names registered by AddTemplateProperty, in order ("Width" and
  // "Height" first).
  const std::vector<std::string>& TemplateProperties() const { return templateProperties_.Names(); }
  // Raises EDIBControlError when the class does not publish name or its kind
  // cannot be templated (see controls/DIBTemplate.h).
  void AddTemplateProperty(const std::string& name);
  // The image links the control owns, in creation order.
  const std::vector<std::unique_ptr<TDIBImageLink, TFreeObject>>& ImageLinks() const { return imageLinks_; }

  // Creates an image link that the control owns and frees with itself,
  // points link at it and keeps it in the image-link list: changes of its
  // picture reach DIBImageChanged.
  void CreateImageLink(TDIBImageLink*& link);
  // Hands the link back to the caller, who frees it; the control forgets it.
  void ReleaseImageLink(TDIBImageLink* link);

  // --- virtual operations ---

  // Lets the control enlarge the container's update rectangle before a
  // frame is composed; the base leaves it.
  virtual void ExtendUpdateRect(TRect& rect) {}
  // The control's own drawing into ControlDIB; the base fires OnPaintDIB.
  virtual void PaintDIB();
  virtual void DoBeforePaintDIB();
  virtual void DoAfterPaintDIB();
  // Hooks for the change between neither hovered nor focused and either.
  virtual void DoActivate() {}
  virtual void DoDeactivate() {}
  // Take or give up the DIB focus.
  virtual void DoDIBEnter();
  virtual void DoDIBExit();
  // Keys routed from the container; true when handled.
  virtual bool DoDIBKeyDown(TMessage& message);
  virtual bool DoDIBKeyPress(TMessage& message);
  virtual bool DoDIBKeyUp(TMessage& message);
  virtual void DoMouseEnter();
  virtual void DoMouseLeave();
  // Called by any of the control's image links when its picture changed
  // (or the link was set to Index) or was deleted; empty in the base.
  virtual void DIBImageChanged(int32_t index, TDIBImageOperation operation) {}
  // Whether the key-down message is a shortcut of a popup menu from the
  // control up, of the form or of the application (which then runs it).
  virtual bool IsDIBShortCut(TMessage& message);
  // The next repeat tick stops the repeat.
  virtual void StopRepeat() { pressRepeat_.RequestStop(); }
  // Control templates (controls/DIBTemplate.h): the pictures of the image
  // links and the properties named by AddTemplateProperty. Loading raises
  // on a damaged template and then changes nothing.
  virtual void LoadTemplate(TStream& stream);
  virtual void SaveTemplate(TStream& stream);

  // --- toolkit overrides ---

  void SetParent(TWinControl* parent) override;
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;
  void Invalidate() override;
  // Invalidate for the part area (control coordinates, right and bottom
  // exclusive) only: for a change that touches no other pixel.
  void InvalidateArea(const TRect& area);
  void Click() override;
  TPopupMenu* GetPopupMenu() override;
  void LoadingFinished() override;
  void WndProc(TMessage& message) override;

  // --- events ---

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnPaintDIB;
  TNotifyEvent OnBeforePaintDIB;
  TNotifyEvent OnAfterPaintDIB;

 protected:
  friend class TDIBContextMenu;  // fills the shared menu through the hooks

  void Notification(TComponent* component, TOperation operation) override;
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  // Context-menu hooks on the shared popup menu; no item in the base.
  virtual void ClearContextItems(TPopupMenu& menu);
  virtual void AddContextItems(TPopupMenu& menu) {}

  void WMPaint(TMessage& message);
  void WMSetFocus(TMessage& message);
  void WMKillFocus(TMessage& message);
  void WMKeyDown(TMessage& message);
  void WMKeyUp(TMessage& message);
  void WMChar(TMessage& message);
  void WMGetDlgCode(TMessage& message);
  void CMDialogChar(TMessage& message);
  void CMEnabledChanged(TMessage& message);

 private:
  void RepeatTick(TObject* sender);
  void ApplyStoredTabOrder();
  void ImageLinkChanged(TObject* sender, int32_t index, TDIBImageOperation operation);
  void PaintInto(TCustomDIBContainer& container);

  uint32_t lastChangeTime_ = 0;
  std::vector<std::unique_ptr<TDIBImageLink, TFreeObject>> imageLinks_;
  TCustomDIBImageList* dibImageList_ = nullptr;
  std::unique_ptr<platform::TCanvas, TFreeObject> canvas_;
  TWinDIB* controlDIB_ = nullptr;
  char accelerator_ = '\0';
  bool dibFocused_ = false;
  bool inBoundsChange_ = false;
  // The parts by concern, freed in reverse order: templates, repeat, then
  // the attached controls.
  TAttachedControls attachedControls_;
  TPressRepeat pressRepeat_;
  TTemplateProperties templateProperties_;
  TDIBContextMenu contextMenu_;
  TPoint lastMousePosition_;
  TShiftState shiftState_;
  TPointerPresence pointer_;
  std::unique_ptr<TDIBFeatures, TFreeObject> dibFeatures_;
  uint8_t opacity_ = 255;
  bool pureMove_ = false;
  TMouseButtons buttonsDown_;
  TTabOrder dibTabOrder_ = -1;
  TWantKeys wantKeys_{TWantKey::wkArrows};
  bool focusOnClick_ = true;
};

// The control as an image-drawn one; null when it is none.
inline TCustomDIBControl* AsDIBControl(TControl* control) {
  return control != nullptr && control->Is<TCustomDIBControl>() ? static_cast<TCustomDIBControl*>(control) : nullptr;
}

// Publishes the control base's settings and events on a descendant:
// Accelerator, DIBImageList, DIBTabOrder, Opacity, the focus, mouse-enter
// and key events, and the toolkit's control settings.
template <class T>
TClassBuilder<T>& PublishDIBControl(TClassBuilder<T>& builder) {
  PublishControl(builder);
  return builder.Property("Accelerator", &T::Accelerator, &T::SetAccelerator)
      .Default('\0')
      .Property("DIBFeatures", &T::DIBFeatures, &T::SetDIBFeatures)
      .Property("DIBImageList", &T::DIBImageList, &T::SetDIBImageList)
      .Property("DIBTabOrder", &T::DIBTabOrder, &T::SetDIBTabOrder)
      .Default(-1)
      .Property("Opacity", &T::Opacity, &T::SetOpacity)
      .Default(255)
      .Property("OnEnter", &T::OnEnter)
      .Property("OnExit", &T::OnExit)
      .Property("OnMouseEnter", &T::OnMouseEnter)
      .Property("OnMouseLeave", &T::OnMouseLeave)
      .Property("OnKeyDown", &T::OnKeyDown)
      .Property("OnKeyPress", &T::OnKeyPress)
      .Property("OnKeyUp", &T::OnKeyUp);
}

}  // namespace zelk
