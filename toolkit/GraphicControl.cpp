#include "toolkit/GraphicControl.h"

#include "runtime/ClassBuilder.h"

namespace zelk {

const TClassInfo& TGraphicControl::StaticClass() {
  static const TClassInfo info = TClassBuilder<TGraphicControl>("TGraphicControl").Build();
  return info;
}

const TMessageTable& TGraphicControl::StaticMessages() {
  static const TMessageTable table =
      TMessageTableBuilder<TGraphicControl>().On<&TGraphicControl::WMPaint>(wmPaint).Build();
  return table;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), canvas_(New<platform::TCanvas>()) {}

void TGraphicControl::WMPaint(TMessage& message) {
  if (message.WParam == 0) return;
  TCanvasBinding binding(*canvas_, message.WParam);
  if (canvas_->HandleAllocated()) Paint();
}

const TClassInfo& TCustomControl::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCustomControl>("TCustomControl").Build();
  return info;
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), canvas_(New<platform::TCanvas>()) {}

void TCustomControl::PaintWindow(platform::TSurfaceHandle dc) {
  TCanvasBinding binding(*canvas_, dc);
  if (canvas_->HandleAllocated()) Paint();
}

}  // namespace zelk
