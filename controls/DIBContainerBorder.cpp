// The container's image border: the client area shrinks by the border's
// edges, and the border is drawn into the buffer under or over the controls.
#include "controls/DIBBorder.h"
#include "controls/DIBContainer.h"
#include "dib/WinDIB.h"

namespace zelk {

TComponent* TCustomDIBContainer::BorderComponent() const { return dibBorder_; }

void TCustomDIBContainer::SetDIBBorder(TDIBBorder* border) {
  if (dibBorder_ != nullptr) dibBorder_->RemoveFreeNotification(this);
  dibBorder_ = border;
  if (border != nullptr) border->FreeNotification(this);
  if (AutoSize()) AdjustSize();
  Realign();
  Invalidate();
}

void TCustomDIBContainer::DrawBorder() {
  if (dibBorder_ != nullptr) dibBorder_->Draw(*buffer_, ClientRect());
}

TRect TCustomDIBContainer::AdjustClientRect(TRect rect) const {
  rect = TCustomPanel::AdjustClientRect(rect);
  if (dibBorder_ == nullptr) return rect;
  rect.Left += dibBorder_->BorderLeft()->GetSize();
  rect.Top += dibBorder_->BorderTop()->GetSize();
  rect.Right -= dibBorder_->BorderRight()->GetSize();
  rect.Bottom -= dibBorder_->BorderBottom()->GetSize();
  return rect;
}

bool TCustomDIBContainer::CanAutoSize(int32_t& newWidth, int32_t& newHeight) { return false; }

}  // namespace zelk
