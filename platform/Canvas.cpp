#include "platform/Canvas.h"

#include "runtime/ClassBuilder.h"

namespace zelk::platform {

namespace {

constexpr char kCanvasNoDrawingMessage[] = "Canvas does not allow drawing";

TColorResolver& InstalledResolver() {
  static TColorResolver resolver = nullptr;
  return resolver;
}

bool IsSystemColorValue(TCanvasColor color) { return (static_cast<uint32_t>(color) >> 24) == 0xFFu; }

}  // namespace

void SetCanvasColorResolver(TColorResolver resolver) { InstalledResolver() = resolver; }

TCanvasColor ResolveCanvasColor(TCanvasColor color) {
  if (!IsSystemColorValue(color)) return static_cast<TCanvasColor>(static_cast<uint32_t>(color) & 0xFFFFFFu);
  const TColorResolver resolver = InstalledResolver();
  if (resolver == nullptr) return kCanvasBlack;
  return static_cast<TCanvasColor>(static_cast<uint32_t>(resolver(color)) & 0xFFFFFFu);
}

const TClassInfo& TCanvas::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCanvas>("TCanvas").Build();
  return info;
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

TSurface& TCanvas::RequireSurface() {
  TSurface* surface = SurfaceFactory().SurfaceOf(handle_);
  if (surface == nullptr) throw EInvalidOperation(kCanvasNoDrawingMessage);
  surface->Flush();
  return *surface;
}

void TCanvas::MoveTo(int32_t x, int32_t y) {
  penX_ = x;
  penY_ = y;
}

}  // namespace zelk::platform
