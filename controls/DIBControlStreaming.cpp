// Settings applied when the control finishes loading: the features built
// from their stored blocks and the stored DIB tab order.
#include "controls/DIBControl.h"

#include "controls/DIBFeature.h"

namespace zelk {

void TCustomDIBControl::ApplyStoredTabOrder() {
  if (Container() != nullptr) SetDIBTabOrder(dibTabOrder_);
}

void TCustomDIBControl::SetDIBFeatures(TDIBFeatures* source) { dibFeatures_->Assign(source); }

void TCustomDIBControl::LoadingFinished() {
  TControl::LoadingFinished();
  dibFeatures_->BuildFeatures();
  ApplyStoredTabOrder();
}

}  // namespace zelk
