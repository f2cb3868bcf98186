// Window bitmaps: pixels in a platform surface (see platform/Surface.h) whose
// handle the platform can draw into through Canvas and copy to the screen
// from directly, the surface's layout being the bitmap engine's. The
// composing container keeps its off-screen picture in one; drawing paths use
// them as temporary surfaces.
//
// The surface, and with it Handle and Bits, is replaced at every size
// change: callers must not keep either across a resize. A new surface's
// pixels are all zero. Window thread only.
#pragma once

#include <memory>

#include "dib/AbstractSuperDIB.h"
#include "platform/Canvas.h"
#include "platform/Surface.h"

namespace zelk {

class TCustomWinDIB : public TAbstractSuperDIB {
  ZELK_CLASS(TCustomWinDIB, TAbstractSuperDIB)

  // Drawing on Canvas calls Changed, like any other change of the bitmap.
  TCustomWinDIB();
  ~TCustomWinDIB() override;

  // The device context the surface is selected in; 0 before the first SetSize.
  platform::TSurfaceHandle Handle() const;
  platform::TCanvas* Canvas() const { return canvas_.get(); }

 protected:
  // Raises "Windows error (<code>) <text>" when the platform refuses the
  // surface; Bits then stays empty.
  void AllocateBits() override;
  void FreeBits() override;

 private:
  void CanvasChanged(TObject* sender);

  std::unique_ptr<platform::TSurface> surface_;
  std::unique_ptr<platform::TCanvas, TFreeObject> canvas_;
};

// Publishes Angle, AutoSize, Canvas (read only), Handle (read only), Height,
// Masked, Opacity, Scale, Transparent, TransparentColor, TransparentMode and
// Width.
class TWinDIB : public TCustomWinDIB {
  ZELK_CLASS(TWinDIB, TCustomWinDIB)
};

}  // namespace zelk
