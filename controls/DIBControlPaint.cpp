// Painting into the scratch image the container lends, blended back into
// its buffer with Opacity.
#include "controls/DIBControl.h"

#include <algorithm>

#include "controls/DIBContainer.h"
#include "dib/WinDIB.h"

namespace zelk {

void TCustomDIBControl::SetOpacity(uint8_t opacity) {
  if (opacity == opacity_) return;
  opacity_ = opacity;
  Invalidate();
}

// --- painting ---

void TCustomDIBControl::WMPaint(TMessage& message) {
  TCustomDIBContainer* container = Container();
  if (container == nullptr || controlDIB_ == nullptr || container->Buffer() == nullptr) return;
  PaintInto(*container);
}

void TCustomDIBControl::PaintInto(TCustomDIBContainer& container) {
  TWinDIB& buffer = *container.Buffer();
  TWinDIB& scratch = *controlDIB_;
  canvas_->Lock();
  try {
    // The composed background under the control; a control partly left of
    // or above the buffer gets it shifted into place.
    buffer.Draw(Left() < 0 ? -Left() : 0, Top() < 0 ? -Top() : 0, Width(), Height(), scratch,
                static_cast<uint16_t>(std::max(Left(), 0)), static_cast<uint16_t>(std::max(Top(), 0)));
    canvas_->SetHandle(scratch.Handle());
    DoBeforePaintDIB();
    PaintDIB();
    DoAfterPaintDIB();
    if (HasState(csDesigning)) {
      canvas_->Pen().Style = platform::TPenStyle::psDash;
      canvas_->Pen().Color = 0;
      canvas_->Brush().Style = platform::TBrushStyle::bsClear;
      canvas_->Rectangle(0, 0, Width(), Height());
    }
    scratch.SetOpacity(opacity_);
    scratch.Draw(Left(), Top(), Width(), Height(), buffer, 0, 0);
  } catch (...) {
    canvas_->SetHandle(0);
    canvas_->Unlock();
    throw;
  }
  canvas_->SetHandle(0);
  canvas_->Unlock();
}

void TCustomDIBControl::PaintDIB() {
  if (OnPaintDIB) OnPaintDIB(this);
}

void TCustomDIBControl::DoBeforePaintDIB() {
  if (OnBeforePaintDIB) OnBeforePaintDIB(this);
}

void TCustomDIBControl::DoAfterPaintDIB() {
  if (OnAfterPaintDIB) OnAfterPaintDIB(this);
}

}  // namespace zelk
