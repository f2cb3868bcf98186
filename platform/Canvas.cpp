#include "platform/Canvas.h"

#include <algorithm>

#include "platform/Backend.h"
#include "runtime/ClassBuilder.h"

namespace zelk::platform {

namespace {

constexpr char kCanvasNoDrawingMessage[] = "Canvas does not allow drawing";

TRect SurfaceRect(TSurface& surface) { return {0, 0, surface.Width(), surface.Height()}; }

TRegionKind KindOf(const TDeviceState& state) {
  if (!state.Clipped) return TRegionKind::rkSimple;
  if (state.Clip.IsEmpty()) return TRegionKind::rkEmpty;
  return state.Clip.Rects().size() == 1 ? TRegionKind::rkSimple : TRegionKind::rkComplex;
}

}  // namespace

const TClassInfo& TCanvas::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCanvas>("TCanvas").Build();
  return info;
}

TSurface::~TSurface() {
  // Canvases outliving their surface are left unbound rather than dangling.
  while (!canvases_.empty()) canvases_.back()->Unbind();
}

TCanvas::~TCanvas() { Unbind(); }

TSurfaceHandle TCanvas::Handle() const { return surface_ != nullptr ? surface_->Handle() : 0; }

void TCanvas::SetHandle(TSurfaceHandle handle) { Bind(handle != 0 ? SurfaceFactory().SurfaceOf(handle) : nullptr); }

void TCanvas::Bind(TSurface* surface) {
  if (surface == surface_) return;
  Unbind();
  surface_ = surface;
  if (surface_ != nullptr) surface_->canvases_.push_back(this);
}

void TCanvas::Unbind() {
  if (surface_ == nullptr) return;
  auto& canvases = surface_->canvases_;
  canvases.erase(std::remove(canvases.begin(), canvases.end(), this), canvases.end());
  surface_ = nullptr;
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

TSurface& TCanvas::RequireSurface() {
  if (surface_ == nullptr) throw EInvalidOperation(kCanvasNoDrawingMessage);
  surface_->Flush();
  return *surface_;
}

TPoint TCanvas::Origin() const { return surface_ != nullptr ? surface_->DeviceState().Origin : TPoint{}; }

void TCanvas::MoveOrigin(int32_t dx, int32_t dy) {
  TDeviceState& state = RequireSurface().DeviceState();
  state.Origin = {state.Origin.X + dx, state.Origin.Y + dy};
}

int TCanvas::SaveState() {
  TSurface& surface = RequireSurface();
  surface.SavedStates().push_back(surface.DeviceState());
  return static_cast<int>(surface.SavedStates().size());
}

void TCanvas::RestoreState(int depth) {
  TSurface& surface = RequireSurface();
  std::vector<TDeviceState>& saved = surface.SavedStates();
  if (depth == -1) depth = static_cast<int>(saved.size());
  if (depth < 1 || depth > static_cast<int>(saved.size())) return;
  surface.DeviceState() = saved[static_cast<size_t>(depth - 1)];
  saved.resize(static_cast<size_t>(depth - 1));
}

TRect TCanvas::ClipBox() const {
  if (surface_ == nullptr) return {};
  const TDeviceState& state = surface_->DeviceState();
  TRectSet visible(SurfaceRect(*surface_));
  if (state.Clipped) visible = state.Clip;
  return visible.Bounds().IsEmpty() ? TRect{} : visible.Bounds().Offset(-state.Origin.X, -state.Origin.Y);
}

TRegionKind TCanvas::IntersectClipRect(const TRect& rect) {
  TDeviceState& state = BeginClipChange();
  state.Clip.Intersect(rect.Offset(state.Origin.X, state.Origin.Y));
  return KindOf(state);
}

TRegionKind TCanvas::ExcludeClipRect(const TRect& rect) {
  TDeviceState& state = BeginClipChange();
  state.Clip.Subtract(rect.Offset(state.Origin.X, state.Origin.Y));
  return KindOf(state);
}

// An unclipped surface clips to its whole area once a clip is changed.
TDeviceState& TCanvas::BeginClipChange() {
  TSurface& surface = RequireSurface();
  TDeviceState& state = surface.DeviceState();
  if (!state.Clipped) state.Clip = TRectSet(SurfaceRect(surface));
  state.Clipped = true;
  return state;
}

void TCanvas::ResetClip() {
  TDeviceState& state = RequireSurface().DeviceState();
  state.Clipped = false;
  state.Clip.Clear();
}

bool TCanvas::RectVisible(const TRect& rect) const {
  if (surface_ == nullptr) return false;
  const TDeviceState& state = surface_->DeviceState();
  const TRect device = IntersectRect(rect.Offset(state.Origin.X, state.Origin.Y), SurfaceRect(*surface_));
  if (device.IsEmpty()) return false;
  return !state.Clipped || state.Clip.Intersects(device);
}

void TCanvas::MoveTo(int32_t x, int32_t y) {
  penX_ = x;
  penY_ = y;
}

void TCanvas::CopyToWindow(TNativeWindow window, const TRect& windowArea, TPoint source) {
  TSurface& surface = RequireSurface();
  const TPoint origin = surface.DeviceState().Origin;
  Backend().Windows->Present(window, windowArea, surface, {source.X + origin.X, source.Y + origin.Y});
}

}  // namespace zelk::platform
