#include "controls/DIBContainer.h"

#include <algorithm>
#include <cstring>

#include "dib/DIBImageLink.h"
#include "dib/DIBImageList.h"
#include "dib/WinDIB.h"
#include "platform/Backend.h"
#include "platform/KeyCodes.h"
#include "toolkit/Form.h"

namespace zelk {

namespace {

// The scratch image is reset to plain drawing settings before each child
// paints into it.
class TScratchDIB : public TWinDIB {
  ZELK_CLASS(TScratchDIB, TWinDIB)

  void Reset() {
    InitDefaults();
    Changed();
  }
};

TCustomDIBControl* AsDIBControl(TControl* control) {
  return control != nullptr && control->Is<TCustomDIBControl>() ? static_cast<TCustomDIBControl*>(control) : nullptr;
}

bool ShiftHeld() { return platform::Backend().Windows->IsKeyDown(vkShift); }

// Which dialog-key flag a key needs before a control may take it; 0: none.
uint32_t NeededDialogCode(uint16_t key) {
  switch (key) {
    case vkCancel:
    case vkReturn:
    case vkEscape:
    case vkExecute:
      return dlgcWantAllKeys;
    case vkTab:
      return dlgcWantTab;
    case vkLeft:
    case vkUp:
    case vkRight:
    case vkDown:
      return dlgcWantArrows;
    default:
      return 0;
  }
}

// The same for a character: the control characters that Tab, Return (also
// with Ctrl), Escape and Cancel type. Printable characters need nothing,
// also those whose code is a virtual key's ('%' is vkLeft, '+' vkExecute).
uint32_t NeededDialogCodeOfCharacter(uint8_t character) {
  switch (character) {
    case '\t':
      return dlgcWantTab;
    case '\r':
    case '\n':
    case 0x1B:  // Escape
    case 0x03:  // Cancel
      return dlgcWantAllKeys;
    default:
      return 0;
  }
}

}  // namespace

const TClassInfo& TScratchDIB::StaticClass() {
  static const TClassInfo info = TClassBuilder<TScratchDIB>("TScratchDIB").Build();
  return info;
}

const TMessageTable& TCustomDIBContainer::StaticMessages() {
  static const TMessageTable table = TMessageTableBuilder<TCustomDIBContainer>()
                                         .On<&TCustomDIBContainer::WMPaint>(wmPaint)
                                         .On<&TCustomDIBContainer::WMGetDlgCode>(wmGetDlgCode)
                                         .On<&TCustomDIBContainer::WMKeyDown>(wmKeyDown)
                                         .On<&TCustomDIBContainer::WMKeyUp>(wmKeyUp)
                                         .On<&TCustomDIBContainer::WMChar>(wmChar)
                                         .On<&TCustomDIBContainer::WMSetFocus>(wmSetFocus)
                                         .On<&TCustomDIBContainer::WMKillFocus>(wmKillFocus)
                                         .On<&TCustomDIBContainer::WMSetCursor>(wmSetCursor)
                                         .On<&TCustomDIBContainer::CMFocusChanged>(cmFocusChanged)
                                         .Build();
  return table;
}

TCustomDIBContainer::TCustomDIBContainer(TComponent* owner) : TCustomPanel(owner) {
  SetControlStyle(ControlStyle() | csAcceptsControls);
  buffer_.reset(New<TWinDIB>());
  SetTabStop(false);
  SetBorderWidth(0);
  SetBevelOuter(TPanelBevel::bvNone);
}

TCustomDIBContainer::~TCustomDIBContainer() = default;

// --- settings ---

void TCustomDIBContainer::SetBorderDrawPosition(TBorderDrawPosition position) {
  borderDrawPosition_ = position;
  Invalidate();
}

void TCustomDIBContainer::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  TCustomPanel::SetBounds(left, top, width, height);
  if (buffer_ && !HasState(csLoading) && Width() > 0 && Height() > 0) {
    buffer_->SetSize(static_cast<uint16_t>(Width()), static_cast<uint16_t>(Height()));
  }
}

void TCustomDIBContainer::LoadingFinished() {
  TCustomPanel::LoadingFinished();
  if (Width() > 0 && Height() > 0) buffer_->SetSize(static_cast<uint16_t>(Width()), static_cast<uint16_t>(Height()));
  RebuildTabList();
  Realign();
}

void TCustomDIBContainer::RemoveControl(TControl* control) {
  if (TCustomDIBControl* dibControl = AsDIBControl(control); dibControl != nullptr && control->Parent() == this) {
    ForgetControl(*dibControl);
  }
  TCustomPanel::RemoveControl(control);
}

// A child leaves the tab list and the DIB focus as it leaves the container:
// freed (whoever owns it), moved to another parent or left without one.
void TCustomDIBContainer::ForgetControl(TCustomDIBControl& control) {
  if (std::erase(tabList_, &control) > 0) SetTabStop(!tabList_.empty());
  if (activeControl_ != &control) return;
  activeControl_ = nullptr;
  // A control being freed hears nothing more, and tells nobody.
  if (control.HasState(csDestroying)) return;
  control.Perform(wmKillFocus);
  if (!HasState(csDestroying) && OnActiveControlChange) OnActiveControlChange(this);
}

void TCustomDIBContainer::Notification(TComponent* component, TOperation operation) {
  TCustomPanel::Notification(component, operation);
  if (operation != TOperation::opRemove || component == this || HasState(csDestroying)) return;
  if (auto* control = component->Is<TCustomDIBControl>() ? static_cast<TCustomDIBControl*>(component) : nullptr) {
    std::erase(tabList_, control);
    if (control == activeControl_) activeControl_ = nullptr;
    SetTabStop(!tabList_.empty());
  }
  if (dibBorder_ != nullptr && component == BorderComponent()) SetDIBBorder(nullptr);
}

// --- the active control and the DIB tab list ---

void TCustomDIBContainer::SetActiveControl(TCustomDIBControl* control) {
  if (inActiveChange_) return;
  inActiveChange_ = true;
  try {
    if (control != activeControl_ && activeControl_ != nullptr) activeControl_->Perform(wmKillFocus);
    activeControl_ = control;
    if (control != nullptr) control->Perform(wmSetFocus);
    if (OnActiveControlChange) OnActiveControlChange(this);
  } catch (...) {
    inActiveChange_ = false;
    throw;
  }
  inActiveChange_ = false;
}

int TCustomDIBContainer::DIBTabIndex(const TCustomDIBControl* control) const {
  const auto found = std::find(tabList_.begin(), tabList_.end(), control);
  return found == tabList_.end() ? -1 : static_cast<int>(found - tabList_.begin());
}

void TCustomDIBContainer::PlaceInTabList(TCustomDIBControl* control, int index) {
  if (index == DIBTabIndex(control)) return;
  std::erase(tabList_, control);
  if (index >= static_cast<int>(tabList_.size())) {
    tabList_.push_back(control);
  } else if (index >= 0) {
    tabList_.insert(tabList_.begin() + index, control);
  }
  SetTabStop(!tabList_.empty());
}

void TCustomDIBContainer::RebuildTabList() {
  std::vector<TCustomDIBControl*> slots(ControlList().size(), nullptr);
  for (TControl* child : ControlList()) {
    TCustomDIBControl* control = AsDIBControl(child);
    if (control == nullptr || control->StoredDIBTabOrder() < 0) continue;
    const auto slot = static_cast<size_t>(control->StoredDIBTabOrder());
    if (slot >= slots.size()) slots.resize(slot + 1, nullptr);
    slots[slot] = control;
  }
  for (size_t slot = 0; slot < slots.size(); ++slot) {
    if (slots[slot] != nullptr) PlaceInTabList(slots[slot], static_cast<int>(slot));
  }
}

// Tab navigation walks one sequence: the DIB tab list, then the windowed
// children in their tab order.
int TCustomDIBContainer::CandidateIndex(const TControl* control) const {
  if (control == nullptr) return -1;
  if (control->Is<TCustomDIBControl>()) return DIBTabIndex(static_cast<const TCustomDIBControl*>(control));
  if (control->Parent() != this || !control->Is<TWinControl>()) return -1;
  return static_cast<const TWinControl*>(control)->TabOrder() + static_cast<int>(tabList_.size());
}

bool TCustomDIBContainer::SelectNextDIB(bool goForward) { return SelectNextFrom(ActiveTabControl(), goForward); }

bool TCustomDIBContainer::SelectNextFrom(TControl* current, bool goForward) {
  std::vector<TControl*> sequence;
  for (TCustomDIBControl* control : tabList_) {
    if (control->Enabled() && control->Visible()) sequence.push_back(control);
  }
  for (TWinControl* child : TabOrderList()) {
    if (child->Parent() == this && child->TabStop() && child->CanFocus()) sequence.push_back(child);
  }
  const int currentIndex = CandidateIndex(current);
  TControl* result = nullptr;
  if (goForward) {
    for (TControl* candidate : sequence) {
      if (CandidateIndex(candidate) > currentIndex) {
        result = candidate;
        break;
      }
    }
  } else if (currentIndex >= 0) {
    for (auto it = sequence.rbegin(); it != sequence.rend(); ++it) {
      if (CandidateIndex(*it) < currentIndex) {
        result = *it;
        break;
      }
    }
  }
  if (TCustomDIBControl* control = AsDIBControl(result)) {
    SetActiveControl(control);
  } else {
    SetActiveControl(nullptr);
    if (result != nullptr) static_cast<TWinControl*>(result)->SetFocus();
  }
  return result != nullptr;
}

// --- painting ---

void TCustomDIBContainer::WMPaint(TMessage& message) {
  if (message.WParam != 0) {
    // Painting into a supplied surface: compose its clip box, which no child
    // widens, and copy it there. The next ordinary paint widens its own.
    platform::TCanvas target;
    target.SetHandle(message.WParam);
    if (!target.HandleAllocated()) return;
    repaintPending_ = false;
    const TRect update = IntersectRect(target.ClipBox(), ClientRect());
    if (update.IsEmpty()) return;
    Compose(update);
    CopyToSurface(*target.Surface(), update);
    return;
  }
  const TRect paint = TakeUpdateRect();
  if (paint.IsEmpty() || !HandleAllocated()) return;
  TRect update = paint;
  if (!repaintPending_) {
    for (TControl* child : ControlList()) {
      if (TCustomDIBControl* control = AsDIBControl(child)) control->ExtendUpdateRect(update);
    }
    update = IntersectRect(update, ClientRect());
    if (update.Left != paint.Left || update.Top != paint.Top || update.Right != paint.Right ||
        std::abs(update.Bottom - paint.Bottom) > 2) {
      // The children asked for more: paint the whole area at the next paint.
      repaintPending_ = true;
      InvalidateRect(update);
      return;
    }
  }
  repaintPending_ = false;
  Compose(update);
  platform::TCanvas source;
  source.SetHandle(buffer_->Handle());
  source.CopyToWindow(Handle(), update, update.TopLeft());
}

// Copies rows of the update rectangle from the buffer to a surface, at the
// same logical coordinates (the surface's origin applies).
void TCustomDIBContainer::CopyToSurface(platform::TSurface& target, const TRect& update) {
  target.Flush();
  const TPoint origin = target.DeviceState().Origin;
  const TRect onTarget = IntersectRect({update.Left + origin.X, update.Top + origin.Y, update.Right + origin.X,
                                        update.Bottom + origin.Y},
                                       {0, 0, target.Width(), target.Height()});
  if (onTarget.IsEmpty()) return;
  const auto bytes = static_cast<size_t>(onTarget.Width()) * 4;
  for (int32_t y = onTarget.Top; y < onTarget.Bottom; ++y) {
    const uint8_t* from = buffer_->ScanLine(y - origin.Y) + static_cast<size_t>(onTarget.Left - origin.X) * 4;
    uint8_t* to = target.Bits() + (static_cast<size_t>(target.Height() - 1 - y) * target.Width() + onTarget.Left) * 4;
    std::memcpy(to, from, bytes);
  }
}

void TCustomDIBContainer::Compose(const TRect& update) {
  if (buffer_->Width() != Width() || buffer_->Height() != Height()) {
    buffer_->SetSize(static_cast<uint16_t>(Width()), static_cast<uint16_t>(Height()));
  }
  updateRect_ = update;
  // The bitmap clip is inclusive; the update rectangle is not.
  buffer_->SetClipRect({update.Left, update.Top, update.Right - 1, update.Bottom - 1});
  composing_ = true;
  struct TComposingEnds {
    bool& composing;
    ~TComposingEnds() { composing = false; }
  } ends{composing_};
  DoBeforePaint();
  if (!OpaqueChildrenCover(update)) PaintBackground();
  if (borderDrawPosition_ == TBorderDrawPosition::bdUnderControls) DrawBorder();
  PaintControlsIntoBuffer();
  DrawWindowedFrames();
  DoAfterPaint();
}

void TCustomDIBContainer::DrawWindowedFrames() {
  constexpr TColor clBtnShadow = static_cast<TColor>(0xFF000010);
  constexpr TColor clBtnHighlight = static_cast<TColor>(0xFF000014);
  // One-pixel outline of rect (right and bottom exclusive).
  const auto outline = [this](TColor color, const TRect& rect) {
    buffer_->FillRect(color, rect.Left, rect.Top, rect.Width(), 1);
    buffer_->FillRect(color, rect.Left, rect.Bottom - 1, rect.Width(), 1);
    buffer_->FillRect(color, rect.Left, rect.Top, 1, rect.Height());
    buffer_->FillRect(color, rect.Right - 1, rect.Top, 1, rect.Height());
  };
  for (TWinControl* child : WinControlList()) {
    if (!child->Visible() || !child->Ctl3D() || !child->HasControlStyle(csFramed)) continue;
    const TRect bounds = child->BoundsRect();
    if (IntersectRect(bounds, updateRect_).IsEmpty()) continue;
    outline(clBtnShadow, {bounds.Left - 1, bounds.Top - 1, bounds.Right, bounds.Bottom});
    outline(clBtnHighlight, {bounds.Left, bounds.Top, bounds.Right + 1, bounds.Bottom + 1});
  }
}

bool TCustomDIBContainer::OpaqueChildrenCover(const TRect& update) const {
  const bool designing = HasState(csDesigning);
  for (TControl* child : ControlList()) {
    const bool shown = child->Visible() || (designing && !child->HasControlStyle(csNoDesignVisible));
    if (!shown || !child->HasControlStyle(csOpaque)) continue;
    const TRect bounds = child->BoundsRect();
    if (bounds.Left <= update.Left && bounds.Top <= update.Top && bounds.Right >= update.Right &&
        bounds.Bottom >= update.Bottom) {
      return true;
    }
  }
  return false;
}

// Children of up to this many sizes keep a scratch image each; more share
// the last one, which is re-sized as they need.
constexpr size_t kMostScratchImages = 8;

TWinDIB& TCustomDIBContainer::ScratchFor(int32_t width, int32_t height) {
  for (auto& scratch : scratchImages_) {
    if (scratch->Width() == width && scratch->Height() == height) return *(lentScratch_ = scratch.get());
  }
  if (scratchImages_.size() < kMostScratchImages) scratchImages_.emplace_back(New<TScratchDIB>());
  TWinDIB& scratch = *scratchImages_.back();
  scratch.SetSize(static_cast<uint16_t>(width), static_cast<uint16_t>(height));
  lentScratch_ = &scratch;
  return scratch;
}

void TCustomDIBContainer::PaintControlsIntoBuffer() {
  const bool designing = HasState(csDesigning);
  platform::TCanvas canvas;
  for (size_t index = 0; index < ControlList().size(); ++index) {
    TControl* child = ControlList()[index];
    const bool shown = child->Visible() || (designing && !child->HasControlStyle(csNoDesignVisible));
    if (!shown || child->Width() <= 0 || child->Height() <= 0) continue;
    if (IntersectRect(child->BoundsRect(), updateRect_).IsEmpty()) continue;
    if (TCustomDIBControl* control = AsDIBControl(child)) {
      auto& scratch = static_cast<TScratchDIB&>(ScratchFor(control->Width(), control->Height()));
      scratch.SetClipRect({0, 0, control->Width() - 1, control->Height() - 1});
      scratch.Reset();
      control->SetControlDIB(&scratch);
      try {
        control->Perform(wmPaint, buffer_->Handle(), 0);
      } catch (...) {
        control->SetControlDIB(nullptr);
        throw;
      }
      control->SetControlDIB(nullptr);
      continue;
    }
    // Other windowless children paint on the buffer's surface, moved to
    // their place and clipped to the update rectangle.
    canvas.SetHandle(buffer_->Handle());
    const int depth = canvas.SaveState();
    try {
      canvas.IntersectClipRect(updateRect_);
      canvas.MoveOrigin(child->Left(), child->Top());
      canvas.IntersectClipRect(child->ClientRect());
      child->Perform(wmPaint, buffer_->Handle(), 0);
    } catch (...) {
      canvas.RestoreState(depth);
      throw;
    }
    canvas.RestoreState(depth);
  }
}

void TCustomDIBContainer::PaintBackground() { PaintPlainBackground(); }

void TCustomDIBContainer::PaintPlainBackground() {
  if (updateRect_ == ClientRect()) {
    buffer_->Fill(Color());
  } else {
    buffer_->FillRect(Color(), updateRect_.Left, updateRect_.Top, updateRect_.Width(), updateRect_.Height());
  }
}

void TCustomDIBContainer::DoBeforePaint() {
  if (BeforePaint) BeforePaint(this, buffer_.get());
}

void TCustomDIBContainer::DoAfterPaint() {
  if (borderDrawPosition_ == TBorderDrawPosition::bdOverControls) DrawBorder();
  if (AfterPaint) AfterPaint(this, buffer_.get());
}

// --- keys and focus ---

bool TCustomDIBContainer::TakesKey(TMessage& message) {
  if (activeControl_ == nullptr) return false;
  if (message.Msg == wmKeyDown && activeControl_->IsDIBShortCut(message)) return false;
  if (HasState(csDesigning)) return true;
  if (activeControl_->Perform(cmChildKey, message.WParam, reinterpret_cast<intptr_t>(activeControl_)) != 0) {
    return false;
  }
  const uint32_t needed = message.Msg == wmChar ? NeededDialogCodeOfCharacter(static_cast<uint8_t>(message.WParam))
                                                : NeededDialogCode(static_cast<uint16_t>(message.WParam));
  if (needed == 0) return true;
  const auto code = static_cast<uint32_t>(activeControl_->Perform(wmGetDlgCode, 0, reinterpret_cast<intptr_t>(&message)));
  return (code & dlgcWantAllKeys) != 0 || (code & needed) != 0;
}

bool TCustomDIBContainer::ForwardKey(TMessage& message) {
  if (!TakesKey(message)) return false;
  TMessage routed = message;
  activeControl_->Perform(routed);
  message.Result = routed.Result;
  return true;
}

void TCustomDIBContainer::WMKeyDown(TMessage& message) {
  if (ForwardKey(message)) return;
  if (message.WParam == vkTab && (tabList_.size() > 0 || activeControl_ != nullptr)) {
    if (SelectNextDIB(!ShiftHeld())) return;
  }
  TCustomPanel::WMKeyDown(message);
  if (message.WParam == vkTab) {
    // The focus leaves the container as the form moves it on.
    if (TCustomForm* form = GetParentForm(this)) form->Perform(cmDialogKey, message.WParam, message.LParam);
  }
}

void TCustomDIBContainer::WMKeyUp(TMessage& message) {
  if (!ForwardKey(message)) TCustomPanel::WMKeyUp(message);
}

void TCustomDIBContainer::WMChar(TMessage& message) {
  if (!ForwardKey(message)) TCustomPanel::WMChar(message);
}

void TCustomDIBContainer::WMSetFocus(TMessage& message) {
  TCustomPanel::WMSetFocus(message);
  if (activeControl_ != nullptr || tabList_.empty()) return;
  if (ShiftHeld()) {
    // Backwards from a windowed child: the candidate before it. Backwards
    // from elsewhere: the last candidate, the last windowed tab stop first.
    auto* losing = reinterpret_cast<TControl*>(message.WParam);
    if (losing != nullptr && losing->Parent() == this && losing->Is<TWinControl>()) {
      SelectNextFrom(losing, false);
      return;
    }
    if (TWinControl* last = LastWindowedTabStop()) {
      last->SetFocus();
      return;
    }
  }
  const bool backward = ShiftHeld();
  TCustomDIBControl* first = nullptr;
  for (TCustomDIBControl* control : tabList_) {
    if (!control->Enabled() || !control->Visible()) continue;
    first = control;
    if (!backward) break;
  }
  if (first != nullptr) SetActiveControl(first);
}

TWinControl* TCustomDIBContainer::LastWindowedTabStop() const {
  TWinControl* last = nullptr;
  for (TWinControl* child : TabOrderList()) {
    if (child->Parent() == this && child->TabStop() && child->CanFocus()) last = child;
  }
  return last;
}

TControl* TCustomDIBContainer::ActiveTabControl() const {
  if (activeControl_ != nullptr) return activeControl_;
  TWinControl* focused = FocusedWinControl();
  return focused != nullptr && focused->Parent() == this ? focused : nullptr;
}

void TCustomDIBContainer::WMKillFocus(TMessage& message) {
  SetActiveControl(nullptr);
  TCustomPanel::WMKillFocus(message);
}

void TCustomDIBContainer::DoEnter() { TCustomPanel::DoEnter(); }

void TCustomDIBContainer::DoExit() { TCustomPanel::DoExit(); }

void TCustomDIBContainer::CMFocusChanged(TMessage& message) {
  auto* focused = reinterpret_cast<TControl*>(message.LParam);
  if (focused != this && focused != nullptr) {
    if (TCustomDIBControl* control = AsDIBControl(focused); control != nullptr && control->Parent() == this) {
      SetActiveControl(control);
    } else if (focused->Parent() == this && focused->Is<TWinControl>()) {
      // A windowed child that takes the focus becomes the active one: the
      // DIB focus goes, and tab navigation continues from it.
      SetActiveControl(nullptr);
    } else if (activeControl_ != nullptr) {
      SetActiveControl(nullptr);
    }
  }
  Broadcast(message);
}

// --- mouse ---

void TCustomDIBContainer::WndProc(TMessage& message) {
  if (message.Msg == wmLButtonUp) {
    TControl* capture = CaptureControl();
    if (capture != nullptr && capture != this && capture->Parent() == this) {
      const TPoint point = LParamToPoint(message.LParam);
      if (!capture->BoundsRect().Contains(point)) {
        capture->Perform(cmMouseLeave, 0, reinterpret_cast<intptr_t>(capture));
        TControl* under = ControlAtPos(point, false);
        if (under != nullptr && under != capture) under->Perform(cmMouseEnter, 0, reinterpret_cast<intptr_t>(under));
      }
    }
  }
  TCustomPanel::WndProc(message);
}

void TCustomDIBContainer::WMSetCursor(TMessage& message) {
  auto* control = reinterpret_cast<TControl*>(message.WParam);
  if (!HasState(csDesigning) && control != nullptr && control != this && control->Parent() == this &&
      control->Perform(wmSetCursor, message.WParam, message.LParam) == 1) {
    message.Result = 1;
    return;
  }
  TCustomPanel::WMSetCursor(message);
}

// --- TCustomDIBImageContainer ---

TCustomDIBImageContainer::TCustomDIBImageContainer(TComponent* owner)
    : TCustomDIBContainer(owner), indexImage_(New<TDIBImageLink>(this)) {
  indexImage_->OnImageChanged = TDIBImageChangedEvent::Bind<&TCustomDIBImageContainer::ImageLinkChanged>(this);
}

TCustomDIBImageContainer::~TCustomDIBImageContainer() { TObject::Free(indexImage_); }

void TCustomDIBImageContainer::SetIndexImage(TDIBImageLink* link) { indexImage_->Assign(link); }

TCustomDIBImageList* TCustomDIBImageContainer::DIBImageList() const { return indexImage_->DIBImageList(); }

void TCustomDIBImageContainer::SetDIBImageList(TCustomDIBImageList* list) {
  indexImage_->SetDIBImageList(list);
  Invalidate();
}

void TCustomDIBImageContainer::SetTileMethod(TTileMethod method) {
  tileMethod_ = method;
  Invalidate();
}

void TCustomDIBImageContainer::ImageLinkChanged(TObject* sender, int32_t index, TDIBImageOperation operation) {
  if (HasState(csDestroying)) return;
  DIBImageChanged(index, operation);
}

void TCustomDIBImageContainer::DIBImageChanged(int32_t index, TDIBImageOperation operation) {
  if (operation == TDIBImageOperation::ioDeleted) {
    // The link itself clears its index after this report.
    Invalidate();
  } else if (index == indexImage_->DIBIndex()) {
    Invalidate();
  }
}

void TCustomDIBImageContainer::Notification(TComponent* component, TOperation operation) {
  TCustomDIBContainer::Notification(component, operation);
}

void TCustomDIBImageContainer::PaintBackground() {
  TAbstractSuperDIB* image = nullptr;
  if (!indexImage_->IsValid() || !indexImage_->GetImage(image) || image == nullptr) {
    PaintPlainBackground();
    return;
  }
  if (tileMethod_ == TTileMethod::tmCenter && (image->Width() != Width() || image->Height() != Height())) {
    PaintPlainBackground();
  }
  if (image->Height() == 0 || image->Width() == 0) return;
  if (tileMethod_ == TTileMethod::tmCenter) {
    image->Draw(Width() / 2 - image->Width() / 2, Height() / 2 - image->Height() / 2, image->Width(),
                image->Height(), *Buffer(), 0, 0);
  } else {
    PaintTiles(*image);
  }
}

void TCustomDIBImageContainer::PaintTiles(TAbstractSuperDIB& image) {
  const TRect& update = UpdateRect();
  const int32_t tileWidth = image.Width();
  const int32_t tileHeight = image.Height();
  for (int32_t top = update.Top / tileHeight * tileHeight; top < update.Bottom; top += tileHeight) {
    for (int32_t left = update.Left / tileWidth * tileWidth; left < update.Right; left += tileWidth) {
      image.Draw(left, top, tileWidth, tileHeight, *Buffer(), 0, 0);
    }
  }
}

}  // namespace zelk
