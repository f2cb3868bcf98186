#include "platform/headless/HeadlessWindows.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/KeyCodes.h"
#include "platform/Region.h"

namespace zelk::platform {

namespace {

uint32_t ButtonFlag(TMouseButton button) {
  switch (button) {
    case TMouseButton::mbRight:
      return mfRightButton;
    case TMouseButton::mbMiddle:
      return mfMiddleButton;
    default:
      return mfLeftButton;
  }
}

}  // namespace

struct THeadlessWindowSystem::TWindow : TCoreWindow {
  std::vector<uint32_t> Pixels;  // top row first
  TCursorShape Cursor = TCursorShape::csArrow;

  void ResizePixels() {
    Pixels.assign(static_cast<size_t>(std::max(Bounds.Width(), 0)) * static_cast<size_t>(std::max(Bounds.Height(), 0)),
                  0);
  }
};

THeadlessWindowSystem::THeadlessWindowSystem() = default;
THeadlessWindowSystem::~THeadlessWindowSystem() = default;

THeadlessWindowSystem::TWindow* THeadlessWindowSystem::Find(TNativeWindow window) const {
  return static_cast<TWindow*>(core_.Find(window));
}

TNativeWindow THeadlessWindowSystem::CreateWindowRecord(TNativeWindow parent, const TRect& bounds,
                                                        TWindowClient* client) {
  if (parent != 0 && Find(parent) == nullptr) return 0;
  auto window = std::make_unique<TWindow>();
  window->Parent = parent;
  window->Client = client;
  window->Bounds = bounds;
  window->ResizePixels();
  const TNativeWindow id = ++lastWindow_;
  core_.Add(id, std::move(window));
  return id;
}

TNativeWindow THeadlessWindowSystem::CreateChild(TNativeWindow parent, const TRect& bounds, TWindowClient& client) {
  return CreateWindowRecord(parent, bounds, &client);
}

TNativeWindow THeadlessWindowSystem::CreateForeignWindow(const TRect& bounds) {
  const TNativeWindow id = CreateWindowRecord(0, bounds, nullptr);
  Find(id)->Visible = true;
  return id;
}

void THeadlessWindowSystem::DestroyWindow(TNativeWindow window) {
  const TDetachedWindows detached = core_.Detach(window, false);
  if (Find(hover_) == nullptr) hover_ = 0;
  core_.TellDestroyed(detached);
}

void THeadlessWindowSystem::PlaceWindow(TNativeWindow window, const TRect& bounds) {
  if (core_.Place(window, bounds)) Find(window)->ResizePixels();
}

void THeadlessWindowSystem::ShowWindow(TNativeWindow window, bool visible) { core_.Show(window, visible); }

void THeadlessWindowSystem::Invalidate(TNativeWindow window, const TRect& area) { core_.Invalidate(window, area); }

void THeadlessWindowSystem::Present(TNativeWindow window, const TRect& area, TSurface& surface, TPoint source) {
  TWindow* record = Find(window);
  if (record == nullptr) return;
  surface.Flush();
  const TRect target = IntersectRect(area, record->ClientRect());
  const uint8_t* bits = surface.Bits();
  const int32_t width = record->Bounds.Width();
  const int64_t surfaceWidth = surface.Width();
  const int64_t surfaceHeight = surface.Height();
  // The columns whose source lies inside the surface, found once; the rows
  // are bottom-up in the surface and top-down in the framebuffer. The pixel
  // bytes B, G, R, A are the framebuffer's little-endian 0xAARRGGBB.
  const int64_t sourceLeft = int64_t{source.X} - area.Left;
  const auto left = static_cast<int32_t>(std::max<int64_t>(target.Left, -sourceLeft));
  const auto right = static_cast<int32_t>(std::min<int64_t>(target.Right, surfaceWidth - sourceLeft));
  if (left >= right) return;
  for (int32_t y = target.Top; y < target.Bottom; ++y) {
    const int64_t sourceY = int64_t{source.Y} + (y - area.Top);
    if (sourceY < 0 || sourceY >= surfaceHeight) continue;
    const uint8_t* row = bits + ((surfaceHeight - 1 - sourceY) * surfaceWidth + sourceLeft) * 4;
    uint32_t* framebuffer = record->Pixels.data() + static_cast<size_t>(y) * width;
    if (!record->Region) {
      std::memcpy(framebuffer + left, row + int64_t{left} * 4, static_cast<size_t>(right - left) * 4);
      presentedPixels_ += static_cast<uint64_t>(right - left);
      continue;
    }
    for (int32_t x = left; x < right; ++x) {
      if (!record->Region->Contains({x, y})) continue;
      std::memcpy(framebuffer + x, row + int64_t{x} * 4, 4);
      ++presentedPixels_;
    }
  }
}

void THeadlessWindowSystem::SetCapture(TNativeWindow window) { core_.SetCapture(window); }

void THeadlessWindowSystem::SetFocus(TNativeWindow window) { core_.MoveFocus(window); }

void THeadlessWindowSystem::SetCursor(TNativeWindow window, TCursorShape shape) {
  if (TWindow* record = Find(window)) record->Cursor = shape;
}

void THeadlessWindowSystem::SetWindowRegion(TNativeWindow window, const TRegion* region) {
  TWindow* record = Find(window);
  if (record == nullptr) return;
  if (region == nullptr) {
    record->Region.reset();
    return;
  }
  TRectSet shape;
  for (const TRegionRect& rect : region->Rectangles()) shape.Add({rect.Left, rect.Top, rect.Right, rect.Bottom});
  record->Region = std::move(shape);
}

bool THeadlessWindowSystem::SetTimer(TNativeWindow window, uint32_t id, uint32_t milliseconds) {
  return core_.SetTimer(window, id, milliseconds, clock_);
}

void THeadlessWindowSystem::KillTimer(TNativeWindow window, uint32_t id) { core_.KillTimer(window, id); }

bool THeadlessWindowSystem::IsKeyDown(uint16_t virtualKey) const { return virtualKey < 256 && keys_[virtualKey]; }

uint32_t THeadlessWindowSystem::TickCount() const { return static_cast<uint32_t>(clock_); }

void THeadlessWindowSystem::Pump() {
  core_.PaintInvalid(paintDelivery_ == TPaintDelivery::pdBounds ? 1 : SIZE_MAX);
}

void THeadlessWindowSystem::ShowMessage(TNativeWindow, std::string_view text) {
  messages_.emplace_back(text);
  std::fprintf(stderr, "Zelk: %.*s\n", static_cast<int>(text.size()), text.data());
}

void THeadlessWindowSystem::NoteModifiers(uint32_t modifiers) {
  keys_[vkShift] = (modifiers & mfShift) != 0;
  keys_[vkControl] = (modifiers & mfControl) != 0;
  keys_[vkMenu] = (modifiers & mfAlt) != 0;
  keys_[vkLButton] = (modifiers & mfLeftButton) != 0;
  keys_[vkRButton] = (modifiers & mfRightButton) != 0;
  keys_[vkMButton] = (modifiers & mfMiddleButton) != 0;
}

void THeadlessWindowSystem::DeliverMouse(TWindowEventKind kind, TNativeWindow window, TPoint point,
                                         TMouseButton button, uint32_t modifiers, int32_t wheelDelta) {
  const TWindow* from = Find(window);
  if (from == nullptr) return;
  NoteModifiers(modifiers);
  const TPoint origin = core_.ScreenOrigin(*from);
  const TPoint screenPoint{origin.X + point.X, origin.Y + point.Y};
  const TNativeWindow target = core_.Capture() != 0 ? core_.Capture() : core_.WindowAt(screenPoint);
  if (target != hover_) {
    const TNativeWindow left = hover_;
    hover_ = target;
    TWindowEvent leave;
    leave.Kind = TWindowEventKind::ekMouseLeave;
    if (left != 0) core_.Deliver(left, leave);
  }
  const TWindow* to = Find(target);
  if (to == nullptr) return;
  const TPoint targetOrigin = core_.ScreenOrigin(*to);
  TWindowEvent event;
  event.Kind = kind;
  event.Point = {screenPoint.X - targetOrigin.X, screenPoint.Y - targetOrigin.Y};
  event.Button = button;
  event.Modifiers = modifiers;
  event.WheelDelta = wheelDelta;
  core_.Deliver(target, event);
}

void THeadlessWindowSystem::MoveMouse(TNativeWindow window, TPoint point, uint32_t modifiers) {
  DeliverMouse(TWindowEventKind::ekMouseMove, window, point, TMouseButton::mbLeft, modifiers);
}

void THeadlessWindowSystem::PressMouse(TNativeWindow window, TPoint point, TMouseButton button, uint32_t modifiers) {
  DeliverMouse(TWindowEventKind::ekMouseDown, window, point, button, modifiers | ButtonFlag(button));
}

void THeadlessWindowSystem::ReleaseMouse(TNativeWindow window, TPoint point, TMouseButton button,
                                         uint32_t modifiers) {
  DeliverMouse(TWindowEventKind::ekMouseUp, window, point, button, modifiers & ~ButtonFlag(button));
}

void THeadlessWindowSystem::TurnWheel(TNativeWindow window, TPoint point, int32_t wheelDelta, uint32_t modifiers) {
  DeliverMouse(TWindowEventKind::ekMouseWheel, window, point, TMouseButton::mbLeft, modifiers, wheelDelta);
}

void THeadlessWindowSystem::PressKey(uint16_t virtualKey, uint32_t modifiers) {
  SendKey(TWindowEventKind::ekKeyDown, virtualKey, modifiers);
}

void THeadlessWindowSystem::ReleaseKey(uint16_t virtualKey, uint32_t modifiers) {
  SendKey(TWindowEventKind::ekKeyUp, virtualKey, modifiers);
}

// Keeps the key-state table in step with the events, so IsKeyDown answers
// as a real keyboard would while the event is being handled.
void THeadlessWindowSystem::SendKey(TWindowEventKind kind, uint16_t virtualKey, uint32_t modifiers) {
  NoteModifiers(modifiers);
  if (virtualKey < 256) keys_[virtualKey] = kind == TWindowEventKind::ekKeyDown;
  TWindowEvent event;
  event.Kind = kind;
  event.Code = virtualKey;
  event.Modifiers = modifiers;
  core_.Deliver(core_.Focus(), event);
}

void THeadlessWindowSystem::TypeChar(char16_t character, uint32_t modifiers) {
  NoteModifiers(modifiers);
  TWindowEvent event;
  event.Kind = TWindowEventKind::ekChar;
  event.Code = character;
  event.Modifiers = modifiers;
  core_.Deliver(core_.Focus(), event);
}

void THeadlessWindowSystem::AdvanceClock(uint32_t milliseconds) {
  const uint64_t target = clock_ + milliseconds;
  // The clock stands at each timer's due time while it fires.
  core_.FireDueTimers(target, TTimerCatchUp::tcEveryPeriod, [this](uint64_t due) { clock_ = due; });
  clock_ = target;
}

bool THeadlessWindowSystem::Exists(TNativeWindow window) const { return Find(window) != nullptr; }

bool THeadlessWindowSystem::IsShowing(TNativeWindow window) const { return core_.IsShowing(window); }

TNativeWindow THeadlessWindowSystem::ParentOf(TNativeWindow window) const {
  const TWindow* record = Find(window);
  return record != nullptr ? record->Parent : 0;
}

TRect THeadlessWindowSystem::BoundsOf(TNativeWindow window) const {
  const TWindow* record = Find(window);
  return record != nullptr ? record->Bounds : TRect{};
}

TRect THeadlessWindowSystem::PendingPaint(TNativeWindow window) const {
  const TWindow* record = Find(window);
  return record != nullptr ? record->Invalid.Bounds() : TRect{};
}

uint32_t THeadlessWindowSystem::PixelAt(TNativeWindow window, int32_t x, int32_t y) const {
  const TWindow* record = Find(window);
  if (record == nullptr || !record->ClientRect().Contains({x, y})) return 0;
  return record->Pixels[static_cast<size_t>(y) * record->Bounds.Width() + x];
}

uint32_t THeadlessWindowSystem::VisiblePixelAt(TNativeWindow window, int32_t x, int32_t y) const {
  const TWindow* record = Find(window);
  if (record == nullptr) return 0;
  const TPoint origin = core_.ScreenOrigin(*record);
  const TPoint screenPoint{origin.X + x, origin.Y + y};
  const TNativeWindow shown = core_.DeepestAt(window, screenPoint);
  const TWindow* shownRecord = Find(shown);
  if (shownRecord == nullptr) return 0;
  const TPoint shownOrigin = core_.ScreenOrigin(*shownRecord);
  return PixelAt(shown, screenPoint.X - shownOrigin.X, screenPoint.Y - shownOrigin.Y);
}

void THeadlessWindowSystem::ResetCounters() {
  presentedPixels_ = 0;
  core_.ResetPaintCount();
}

TCursorShape THeadlessWindowSystem::CursorOf(TNativeWindow window) const {
  const TWindow* record = Find(window);
  return record != nullptr ? record->Cursor : TCursorShape::csArrow;
}

std::optional<std::vector<TRect>> THeadlessWindowSystem::RegionOf(TNativeWindow window) const {
  const TWindow* record = Find(window);
  if (record == nullptr || !record->Region) return std::nullopt;
  return record->Region->Rects();
}

bool THeadlessWindowSystem::HasTimer(TNativeWindow window, uint32_t id) const { return core_.HasTimer(window, id); }

THeadlessWindowSystem& HeadlessWindows() {
  static THeadlessWindowSystem windows;
  return windows;
}

}  // namespace zelk::platform
