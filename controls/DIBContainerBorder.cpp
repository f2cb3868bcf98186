// The container's image border: the client area shrinks by the border's
// edges, and the border is drawn into the buffer under or over the controls.
// A change of the border's edges re-sizes (AutoSize), re-aligns and repaints.
// With AutoSize the container takes the size that holds its border and the
// children it does not align.
#include <algorithm>

#include "controls/DIBBorder.h"
#include "controls/DIBContainer.h"
#include "dib/WinDIB.h"

namespace zelk {

TComponent* TCustomDIBContainer::BorderComponent() const { return dibBorder_; }

void TCustomDIBContainer::SetDIBBorder(TDIBBorder* border) {
  if (dibBorder_ != nullptr) {
    dibBorder_->RemoveFreeNotification(this);
    // A border tells one container of its changes: the last that took it.
    if (dibBorder_->OnChange.Target() == this) dibBorder_->OnChange.Clear();
  }
  dibBorder_ = border;
  if (border != nullptr) {
    border->FreeNotification(this);
    border->OnChange = TNotifyEvent::Bind<&TCustomDIBContainer::BorderChanged>(this);
  }
  BorderChanged(border);
}

void TCustomDIBContainer::BorderChanged(TObject*) {
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

bool TCustomDIBContainer::CanAutoSize(int32_t& newWidth, int32_t& newHeight) {
  // Aligned children take their size from the container: they do not count.
  int32_t right = 0;
  int32_t bottom = 0;
  bool any = false;
  std::vector<TControl*> children(ControlList().begin(), ControlList().end());
  children.insert(children.end(), WinControlList().begin(), WinControlList().end());
  for (const TControl* child : children) {
    if (child->Align() != TAlign::alNone || !(child->Visible() || HasState(csDesigning))) continue;
    right = std::max(right, child->Left() + child->Width());
    bottom = std::max(bottom, child->Top() + child->Height());
    any = true;
  }
  if (!any) return false;
  // The client area is inset by the border: the rest of the size is the
  // border's right and bottom edges.
  const TRect client = AdjustClientRect(ClientRect());
  newWidth = right + (Width() - client.Right);
  newHeight = bottom + (Height() - client.Bottom);
  return true;
}

}  // namespace zelk
