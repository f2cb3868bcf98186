// The container's image border: the client area shrinks by the border's
// edges, and the border is drawn into the buffer under or over the controls.
#include "controls/DIBContainer.h"

namespace zelk {

TComponent* TCustomDIBContainer::BorderComponent() const { return nullptr; }

void TCustomDIBContainer::SetDIBBorder(TDIBBorder* border) {
  dibBorder_ = border;
  Realign();
  Invalidate();
}

void TCustomDIBContainer::DrawBorder() {}

TRect TCustomDIBContainer::AdjustClientRect(TRect rect) const { return TCustomPanel::AdjustClientRect(rect); }

bool TCustomDIBContainer::CanAutoSize(int32_t& newWidth, int32_t& newHeight) { return false; }

}  // namespace zelk
