// Composing a frame into the buffer and presenting the update rectangle.
#include "controls/DIBContainer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "dib/WinDIB.h"

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

}  // namespace

const TClassInfo& TScratchDIB::StaticClass() {
  static const TClassInfo info = TClassBuilder<TScratchDIB>("TScratchDIB").Build();
  return info;
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

TScratchImages::TScratchImages() = default;

TScratchImages::~TScratchImages() = default;

TWinDIB& TScratchImages::Sized(int32_t width, int32_t height) {
  for (auto& scratch : images_) {
    if (scratch->Width() == width && scratch->Height() == height) return *scratch;
  }
  if (images_.size() < kMostScratchImages) images_.emplace_back(New<TScratchDIB>());
  TWinDIB& scratch = *images_.back();
  scratch.SetSize(static_cast<uint16_t>(width), static_cast<uint16_t>(height));
  return scratch;
}

TWinDIB& TScratchImages::Lend(int32_t width, int32_t height, const TRect& part) {
  auto& scratch = static_cast<TScratchDIB&>(Sized(width, height));
  // The bitmap clip is inclusive.
  scratch.SetClipRect({part.Left, part.Top, part.Right - 1, part.Bottom - 1});
  scratch.Reset();
  lent_ = &scratch;
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
      // Only the update rectangle's part of the scratch image reaches the
      // buffer: the background under the control and its own drawing stop
      // at it.
      const TRect part = IntersectRect(child->BoundsRect(), updateRect_).Offset(-child->Left(), -child->Top());
      TWinDIB& scratch = scratchImages_.Lend(control->Width(), control->Height(), part);
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

}  // namespace zelk
