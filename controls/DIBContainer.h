// TCustomDIBContainer: the one window behind a group of image-drawn
// controls. It keeps an off-screen buffer of its own size and composes every
// frame into it: the background (its Color; an image from an image list in
// TCustomDIBImageContainer), the border when drawn under the controls, each
// image-drawn child (painting through the shared scratch image), the border
// when drawn over them, then the BeforePaint/AfterPaint events. Only the
// update rectangle is composed and presented; children may enlarge it
// (ExtendUpdateRect), which re-requests the paint.
//
// The container window holds the keyboard focus for its image-drawn
// children: one of them is the active control and receives the keys the
// control asks for; Tab and Shift+Tab move through the DIB tab list and
// the windowed children before leaving the container.
//
// TDIBImageContainer publishes the image container. Window thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "controls/DIBContainerParts.h"
#include "controls/DIBControl.h"
#include "dib/DIBImageOperation.h"
#include "runtime/ClassBuilder.h"
#include "toolkit/Panel.h"

namespace zelk {

class TAbstractSuperDIB;
class TDIBBorder;
class TDIBImageLink;
class TWinDIB;

enum class TBorderDrawPosition : uint8_t { bdOverControls, bdUnderControls };
ZELK_ENUM_NAMES(TBorderDrawPosition, "bdOverControls", "bdUnderControls")

enum class TTileMethod : uint8_t { tmCenter, tmTile };
ZELK_ENUM_NAMES(TTileMethod, "tmCenter", "tmTile")

using TDIBPaintEvent = TEvent<void(TObject* Sender, const TAbstractSuperDIB* DIB)>;

class TCustomDIBContainer : public TCustomPanel {
  ZELK_CLASS(TCustomDIBContainer, TCustomPanel)
  ZELK_MESSAGES()

  explicit TCustomDIBContainer(TComponent* owner);
  ~TCustomDIBContainer() override;

  // The composed frame, the container's size.
  TWinDIB* Buffer() const { return buffer_.get(); }
  // Lent to each image-drawn child while it paints: one per child size (up
  // to a few sizes), so that a frame allocates nothing once every size was
  // painted. The one lent last.
  TWinDIB* ScratchImage() const { return scratchImages_.Lent(); }
  // The area being composed (right and bottom exclusive); the last one
  // after the composition.
  const TRect& UpdateRect() const { return updateRect_; }
  // A frame is being composed: the children paint for it now.
  bool Composing() const { return composing_; }

  TCustomDIBControl* ActiveControl() const { return activeControl_; }
  // Where tab navigation stands: the active control, else the windowed
  // child holding the focus; none otherwise.
  TControl* ActiveTabControl() const;
  // Moves the DIB focus: the old control gets wmKillFocus, the new one
  // wmSetFocus; fires OnActiveControlChange. Ignored while it runs.
  virtual void SetActiveControl(TCustomDIBControl* control);

  // The image-drawn children in DIB tab order.
  const std::vector<TCustomDIBControl*>& DIBTabList() const { return tabList_.Controls(); }
  int DIBTabIndex(const TCustomDIBControl* control) const;
  // Places control at index: appended when index is not below the count,
  // left out when it is negative. TabStop follows whether the list is empty.
  void PlaceInTabList(TCustomDIBControl* control, int index);
  // Builds the list from the children's stored DIBTabOrder values.
  virtual void RebuildTabList();
  // Moves the DIB focus to the next (or previous) candidate; true when it
  // moved inside the container.
  bool SelectNextDIB(bool goForward);

  TDIBBorder* DIBBorder() const { return dibBorder_; }
  virtual void SetDIBBorder(TDIBBorder* border);
  TBorderDrawPosition BorderDrawPosition() const { return borderDrawPosition_; }
  void SetBorderDrawPosition(TBorderDrawPosition position);

  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;
  void LoadingFinished() override;
  void WndProc(TMessage& message) override;
  // An image-drawn child leaves the tab list and the DIB focus with it.
  void RemoveControl(TControl* control) override;

  TNotifyEvent OnActiveControlChange;
  TDIBPaintEvent BeforePaint;
  TDIBPaintEvent AfterPaint;

 protected:
  virtual void DoBeforePaint();
  virtual void DoAfterPaint();
  // The container's own background within the update rectangle.
  virtual void PaintBackground();
  void PaintPlainBackground();
  TRect AdjustClientRect(TRect rect) const override;
  // The size that holds the border and every child that is not aligned;
  // refused without such children.
  bool CanAutoSize(int32_t& newWidth, int32_t& newHeight) override;
  void Notification(TComponent* component, TOperation operation) override;
  void DoEnter() override;
  void DoExit() override;

  void WMPaint(TMessage& message);
  void WMGetDlgCode(TMessage& message) { message.Result = dlgcWantAllKeys; }
  void WMKeyDown(TMessage& message);
  void WMKeyUp(TMessage& message);
  void WMChar(TMessage& message);
  void WMSetFocus(TMessage& message);
  void WMKillFocus(TMessage& message);
  void WMSetCursor(TMessage& message);
  void WMLButtonUp(TMessage& message);
  void CMFocusChanged(TMessage& message);

 private:
  // --- composing (DIBContainerCompose.cpp, the border in
  // DIBContainerBorder.cpp) ---

  void Compose(const TRect& update);
  void CopyToSurface(platform::TSurface& target, const TRect& update);
  void PaintControlsIntoBuffer();
  bool OpaqueChildrenCover(const TRect& update) const;
  // The sunken frames around the framed windowed children (Ctl3D).
  void DrawWindowedFrames();
  void DrawBorder();
  void BorderChanged(TObject* sender);
  TComponent* BorderComponent() const;

  std::unique_ptr<TWinDIB, TFreeObject> buffer_;
  TScratchImages scratchImages_;
  TRect updateRect_;
  bool composing_ = false;
  bool repaintPending_ = false;
  TDIBBorder* dibBorder_ = nullptr;
  TBorderDrawPosition borderDrawPosition_ = TBorderDrawPosition::bdOverControls;

  // --- focus and keys (DIBContainerInput.cpp) ---

  // A child leaving the container leaves the tab list and the DIB focus.
  void ForgetControl(TCustomDIBControl& control);
  TWinControl* LastWindowedTabStop() const;
  bool SelectNextFrom(TControl* current, bool goForward);
  bool TakesKey(TMessage& message);
  bool ForwardKey(TMessage& message);
  int CandidateIndex(const TControl* control) const;

  TDIBTabList tabList_;
  TCustomDIBControl* activeControl_ = nullptr;
  bool inActiveChange_ = false;
};

class TCustomDIBImageContainer : public TCustomDIBContainer {
  ZELK_CLASS(TCustomDIBImageContainer, TCustomDIBContainer)

  explicit TCustomDIBImageContainer(TComponent* owner);
  ~TCustomDIBImageContainer() override;

  // The background picture; DIBIndex -1: none.
  TDIBImageLink* IndexImage() const { return indexImage_.get(); }
  void SetIndexImage(TDIBImageLink* link);
  TCustomDIBImageList* DIBImageList() const;
  void SetDIBImageList(TCustomDIBImageList* list);
  TTileMethod TileMethod() const { return tileMethod_; }
  void SetTileMethod(TTileMethod method);

 protected:
  // A deleted background picture leaves none; a change of it repaints.
  virtual void DIBImageChanged(int32_t index, TDIBImageOperation operation);
  void PaintBackground() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void ImageLinkChanged(TObject* sender, int32_t index, TDIBImageOperation operation);
  void PaintTiles(TAbstractSuperDIB& image);

  std::unique_ptr<TDIBImageLink, TFreeObject> indexImage_;
  TTileMethod tileMethod_ = TTileMethod::tmCenter;
};

// Publishes DIBImageList, IndexImage, TileMethod, BorderDrawPosition,
// DIBBorder, the paint and active-control events and the panel's settings.
class TDIBImageContainer : public TCustomDIBImageContainer {
  ZELK_CLASS(TDIBImageContainer, TCustomDIBImageContainer)

  using TCustomDIBImageContainer::TCustomDIBImageContainer;
};

// Registers the container and control classes for streaming.
void RegisterDIBControlClasses();

}  // namespace zelk
