// TWinControl: a control with a window of the backend. It holds children
// (controls without windows, painted and fed with the mouse by it, and
// windowed ones with windows of their own), aligns them, takes the keyboard
// focus and moves it through tab orders, and turns its window's events into
// messages.
//
// Painting: a paint event of the window becomes wmPaint with WParam 0; the
// window's paint surface is bound with its clip set to the update rectangle
// (BeginPaint), the control paints its background (EraseBackground),
// PaintWindow and then its windowless children in order, each with the
// origin moved to it and clipped to it, skipping those outside the update
// rectangle; EndPaint presents the update rectangle. A wmPaint with a surface
// handle in WParam paints into that surface's current clip instead.
//
// Keys go to the focused windowed control. A key down is first offered as a
// shortcut (popup menus from the control up, the form, the application),
// then to the parents (cmChildKey), then, when the control's dialog code does
// not claim it, to the form as a dialog key (Tab and Shift+Tab move the
// focus); otherwise it arrives as wmKeyDown. A character typed with Alt is
// offered to every control of the form as cmDialogChar (accelerators) before
// it arrives as wmChar. With KeyPreview the form sees key events first.
//
// A window's event handlers run on the window thread; an exception from one
// goes to the application's exception handler.
#pragma once

#include <memory>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Region.h"
#include "platform/Surface.h"
#include "platform/WindowSystem.h"
#include "toolkit/Control.h"

namespace zelk {

using TNativeWindow = platform::TNativeWindow;
using TTabOrder = int16_t;

using TKeyEvent = TEvent<void(TObject* Sender, uint16_t& Key, TShiftState Shift)>;
using TKeyPressEvent = TEvent<void(TObject* Sender, char& Key)>;
using TDockDropEvent = TEvent<void(TObject* Sender, TDragDockObject* Source, int32_t X, int32_t Y)>;
using TDockOverEvent =
    TEvent<void(TObject* Sender, TDragDockObject* Source, int32_t X, int32_t Y, TDragState State, bool& Accept)>;
using TGetSiteInfoEvent =
    TEvent<void(TObject* Sender, TControl* DockClient, TRect& InfluenceRect, TPoint MousePos, bool& CanDock)>;
using TUnDockEvent = TEvent<void(TObject* Sender, TControl* Client, TWinControl* NewTarget, bool& Allow)>;

// The paint in progress: the surface painted into and the update rectangle.
struct TPaintStruct {
  platform::TSurfaceHandle DC = 0;
  TRect Paint;
};

class TWinControl : public TControl, private platform::TWindowClient {
  ZELK_CLASS(TWinControl, TControl)
  ZELK_MESSAGES()

  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  // The children without windows in order: painted and hit-tested in this
  // order (the last one on top).
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const { return controls_.at(static_cast<size_t>(index)); }
  const std::vector<TControl*>& ControlList() const { return controls_; }
  // The children with windows, in the order they were inserted.
  const std::vector<TWinControl*>& WinControlList() const { return winControls_; }
  virtual void InsertControl(TControl* control);
  virtual void RemoveControl(TControl* control);
  // The topmost visible child without a window at point (client
  // coordinates) that accepts it (cmHitTest), or none. allowDisabled also
  // finds disabled ones.
  TControl* ControlAtPos(TPoint point, bool allowDisabled) const;
  // Sends message to every child in order until one answers non-zero.
  void Broadcast(TMessage& message);
  bool ContainsControl(const TControl* control) const;

  // The window; created with the parents' windows when first asked for.
  TNativeWindow Handle();
  bool HandleAllocated() const { return handle_ != 0; }
  void HandleNeeded() { Handle(); }
  // A foreign native window this control's window becomes a child of (a
  // host's editor window); only for controls without a parent. Setting it
  // re-creates the window there.
  TNativeWindow ParentWindow() const { return parentWindow_; }
  void SetParentWindow(TNativeWindow parentWindow);
  // Destroys the window (and the children's); it is created again when needed.
  void DestroyHandle();
  // A shaped window: only the region's points (client coordinates) belong
  // to it, for the mouse and for what it shows, on window systems with
  // window regions. Null gives it its whole rectangle back. The region is
  // copied and kept for windows created later.
  void SetWindowRegion(const platform::TRegion* region);
  const platform::TRegion* WindowRegion() const { return windowRegion_.get(); }

  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;
  void SetParent(TWinControl* parent) override;
  void Invalidate() override;
  void InvalidateRect(const TRect& rect);
  // Aligns the children within the client area.
  void Realign();
  void DisableAlign() { ++alignDisabled_; }
  void EnableAlign();

  // Window timers: wmTimer with the id every milliseconds, on the window thread.
  bool SetTimer(uint32_t id, uint32_t milliseconds);
  void KillTimer(uint32_t id);

  // Tab order among the parent's windowed children; -1 without a parent.
  // Values read from a stream apply when loading finishes.
  TTabOrder TabOrder() const;
  void SetTabOrder(TTabOrder order);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool tabStop) { tabStop_ = tabStop; }
  // The windowed descendants in tab order, depth first.
  std::vector<TWinControl*> TabOrderList() const;
  // The next (or previous) control after current in tab order among this
  // control's descendants, cyclic; only those that can take the focus (and
  // are tab stops, with checkTabStop; and children of this one, with
  // checkParent).
  TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) const;
  void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);
  // The first or last tab stop among the descendants.
  TWinControl* FirstTabStop() const { return FindNextControl(nullptr, true, true, false); }
  TWinControl* LastTabStop() const { return FindNextControl(nullptr, false, true, false); }

  bool CanFocus() const;
  bool Focused() const;
  // Gives this control the keyboard focus (through its form, when it has one).
  virtual void SetFocus();

  // Three-dimensional look: a parent that draws frames (csFramed) sinks
  // the control into a shadow and highlight frame.
  bool Ctl3D() const { return ctl3D_; }
  void SetCtl3D(bool ctl3D);
  bool UseDockManager() const { return useDockManager_; }
  void SetUseDockManager(bool use) { useDockManager_ = use; }
  // Whether other controls may dock here. Kept and streamed: the toolkit
  // has no docking, so a dock site paints no dock manager either.
  bool DockSite() const { return dockSite_; }
  void SetDockSite(bool dockSite) { dockSite_ = dockSite; }

  // Key events: fire the form's (KeyPreview) and then this control's
  // events; true when the key was used up (set to 0). Controls without a
  // window that get keys from their parent ask their form here.
  virtual bool DoKeyDown(TMessage& message);
  virtual bool DoKeyUp(TMessage& message);
  virtual bool DoKeyPress(TMessage& message);

  void WndProc(TMessage& message) override;
  void LoadingFinished() override;
  std::vector<TComponent*> GetChildren(TComponent* root) const override;

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  // Dock events, stored and read; they do not fire (see DockSite).
  TDockDropEvent OnDockDrop;
  TDockOverEvent OnDockOver;
  TGetSiteInfoEvent OnGetSiteInfo;
  TUnDockEvent OnUnDock;

 protected:
  // The client area left to aligned children.
  virtual TRect AdjustClientRect(TRect rect) const { return rect; }
  virtual void AlignControls(TControl* control, TRect rect);
  // Binds the window's paint surface, clipped to the update rectangle.
  TPaintStruct BeginPaint();
  // Presents the update rectangle and releases the surface.
  void EndPaint(const TPaintStruct& paint);
  // The update rectangle of the paint being delivered, cut to the client
  // area, for controls that compose and present their window themselves;
  // the paint is then taken (a later BeginPaint finds nothing).
  TRect TakeUpdateRect();
  // Paints this control and its windowless children into dc's clip region.
  void PaintHandler(platform::TSurfaceHandle dc);
  // Fills the client area with Color.
  virtual void EraseBackground(platform::TSurfaceHandle dc);
  virtual void PaintWindow(platform::TSurfaceHandle dc) {}
  // Paints the windowless children from first (all of them for none).
  void PaintControls(platform::TSurfaceHandle dc, TControl* first);

  virtual void KeyDown(uint16_t& key, TShiftState shift);
  virtual void KeyUp(uint16_t& key, TShiftState shift);
  virtual void KeyPress(char& key);
  virtual void DoEnter();
  virtual void DoExit();
  // Whether the key down is a shortcut of a popup menu from here up, of the
  // form or of the application (which then runs it).
  bool IsMenuKey(TMessage& message);

  void ReleaseControl() override;
  void WMPaint(TMessage& message);
  void WMSetFocus(TMessage& message);
  void WMKillFocus(TMessage& message);
  void WMKeyDown(TMessage& message);
  void WMKeyUp(TMessage& message);
  void WMChar(TMessage& message);
  void WMSetCursor(TMessage& message);
  void CMChildKey(TMessage& message);
  void CMBroadcast(TMessage& message) { Broadcast(message); }
  void CMEnter(TMessage& message) { DoEnter(); }
  void CMExit(TMessage& message) { DoExit(); }
  void CMColorChanged(TMessage& message);
  void CMFontChanged(TMessage& message);
  void CMEnabledChanged(TMessage& message);
  void CMVisibleChanged(TMessage& message);

 private:
  friend class TControl;
  bool IsControlMouseMsg(TMessage& message);
  void CreateHandle();
  void UpdateWindowPlacement();
  void HandleWindowEvent(TNativeWindow window, const platform::TWindowEvent& event) override;
  void HandleMouseEvent(const platform::TWindowEvent& event);
  void HandleKeyEvent(const platform::TWindowEvent& event);
  void HandleCharEvent(const platform::TWindowEvent& event);
  void HandleWindowGone();
  void AnchorChildren(int32_t deltaWidth, int32_t deltaHeight);
  void TrackMouse(TPoint point);
  // The control a mouse message at point goes to: the capture's holder,
  // else the child there, else this.
  TControl* MouseTarget(TPoint point);
  // Whether the control clicked at point takes the keyboard focus.
  bool ClickTakesKeys(TPoint point);
  void FixupTabList();
  void UpdateTabOrder(TTabOrder order);

  TNativeWindow handle_ = 0;
  TNativeWindow parentWindow_ = 0;
  std::vector<TControl*> controls_;       // windowless children
  std::vector<TWinControl*> winControls_;  // windowed children
  std::vector<TWinControl*> tabList_;     // windowed children in tab order
  TTabOrder tabOrder_ = -1;               // as read, until loading finishes
  bool tabStop_ = false;
  bool useDockManager_ = false;
  bool dockSite_ = false;
  bool ctl3D_ = true;
  int alignDisabled_ = 0;
  TRect updateRect_;
  std::unique_ptr<platform::TSurface> paintSurface_;
  std::unique_ptr<platform::TRegion> windowRegion_;
  platform::TCursorShape cursorShape_ = platform::TCursorShape::csArrow;
};

// The control whose window has the keyboard focus, or none.
TWinControl* FocusedWinControl();
// The form holding control (the topmost parent when that is a form), or none.
class TCustomForm;
TCustomForm* GetParentForm(const TControl* control);

}  // namespace zelk
