// Controls that draw themselves on a canvas: TGraphicControl, without a
// window, painted by its parent into the parent's surface (wmPaint carries
// the surface handle, its origin moved to the control and its clip set to
// it), and TCustomControl, with a window of its own. Both bind Canvas for the
// time of the paint and call Paint.
#pragma once

#include <memory>

#include "platform/Canvas.h"
#include "runtime/Object.h"
#include "toolkit/WinControl.h"

namespace zelk {

class TGraphicControl : public TControl {
  ZELK_CLASS(TGraphicControl, TControl)
  ZELK_MESSAGES()

  explicit TGraphicControl(TComponent* owner);

  // Bound to the surface being painted while Paint runs; unbound otherwise.
  platform::TCanvas* Canvas() const { return canvas_.get(); }

 protected:
  virtual void Paint() {}
  void WMPaint(TMessage& message);

 private:
  std::unique_ptr<platform::TCanvas, TFreeObject> canvas_;
};

class TCustomControl : public TWinControl {
  ZELK_CLASS(TCustomControl, TWinControl)

  explicit TCustomControl(TComponent* owner);

  platform::TCanvas* Canvas() const { return canvas_.get(); }

 protected:
  // Paints on Canvas; the background is already filled with Color.
  virtual void Paint() {}
  void PaintWindow(platform::TSurfaceHandle dc) override;

 private:
  std::unique_ptr<platform::TCanvas, TFreeObject> canvas_;
};

// Binds canvas to a surface for the life of the scope, locked.
class TCanvasBinding {
 public:
  TCanvasBinding(platform::TCanvas& canvas, platform::TSurfaceHandle dc) : canvas_(canvas) {
    canvas_.Lock();
    canvas_.SetHandle(dc);
  }
  ~TCanvasBinding() {
    canvas_.SetHandle(0);
    canvas_.Unlock();
  }
  TCanvasBinding(const TCanvasBinding&) = delete;
  TCanvasBinding& operator=(const TCanvasBinding&) = delete;

 private:
  platform::TCanvas& canvas_;
};

}  // namespace zelk
