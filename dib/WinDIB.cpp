#include "dib/WinDIB.h"

#include "dib/DIBPlatformError.h"
#include "platform/SystemError.h"
#include "runtime/ClassBuilder.h"

namespace zelk {

const TClassInfo& TCustomWinDIB::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCustomWinDIB>("TCustomWinDIB").Build();
  return info;
}

const TClassInfo& TWinDIB::StaticClass() {
  static const TClassInfo info = TClassBuilder<TWinDIB>("TWinDIB")
                                     .ReadOnly("Canvas", &TWinDIB::Canvas)
                                     .ReadOnly("Handle", &TWinDIB::Handle)
                                     .Build();
  return info;
}

TCustomWinDIB::TCustomWinDIB() : canvas_(New<platform::TCanvas>()) {
  canvas_->OnChange = TNotifyEvent::Bind<&TCustomWinDIB::CanvasChanged>(this);
}

TCustomWinDIB::~TCustomWinDIB() { ReleaseBits(); }

platform::TSurfaceHandle TCustomWinDIB::Handle() const { return surface_ ? surface_->Handle() : 0; }

void TCustomWinDIB::AllocateBits() {
  platform::SystemErrors().SetLastErrorCode(0);
  std::unique_ptr<platform::TSurface> surface = platform::SurfaceFactory().CreateSurface(Width(), Height());
  if (!surface) RaiseLastPlatformError();
  surface->Flush();
  surface_ = std::move(surface);
  SetBitsPointer(surface_->Bits());
  canvas_->Bind(surface_.get());
}

void TCustomWinDIB::FreeBits() {
  if (surface_) surface_->Flush();
  canvas_->Bind(nullptr);
  surface_.reset();
  SetBitsPointer(nullptr);
}

void TCustomWinDIB::CanvasChanged(TObject*) { Changed(); }

}  // namespace zelk
