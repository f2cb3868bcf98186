#include "platform/headless/HeadlessWindows.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/KeyCodes.h"
#include "platform/Region.h"

namespace zelk::platform {

namespace {

// Paint handlers that keep invalidating their own window would never let
// Pump return.
constexpr int kMostPaintRounds = 16;

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

struct THeadlessWindowSystem::TTimer {
  uint32_t Interval = 0;
  uint64_t Due = 0;
  uint64_t Sequence = 0;  // orders timers due at the same time
};

struct THeadlessWindowSystem::TWindow {
  TNativeWindow Parent = 0;
  TWindowClient* Client = nullptr;  // null for a foreign window
  TRect Bounds;
  bool Visible = false;
  std::optional<TRectSet> Region;
  TRectSet Invalid;
  std::vector<uint32_t> Pixels;  // top row first
  TCursorShape Cursor = TCursorShape::csArrow;
  std::map<uint32_t, TTimer> Timers;
  std::vector<TNativeWindow> Children;  // the last one on top

  TRect ClientRect() const { return {0, 0, Bounds.Width(), Bounds.Height()}; }
  void ResizePixels() {
    Pixels.assign(static_cast<size_t>(std::max(Bounds.Width(), 0)) * static_cast<size_t>(std::max(Bounds.Height(), 0)),
                  0);
  }
};

THeadlessWindowSystem::THeadlessWindowSystem() = default;
THeadlessWindowSystem::~THeadlessWindowSystem() = default;

THeadlessWindowSystem::TWindow* THeadlessWindowSystem::Find(TNativeWindow window) const {
  const auto found = windows_.find(window);
  return found == windows_.end() ? nullptr : found->second.get();
}

TNativeWindow THeadlessWindowSystem::CreateWindowRecord(TNativeWindow parent, const TRect& bounds,
                                                        TWindowClient* client) {
  TWindow* parentWindow = Find(parent);
  if (parent != 0 && parentWindow == nullptr) return 0;
  auto window = std::make_unique<TWindow>();
  window->Parent = parent;
  window->Client = client;
  window->Bounds = bounds;
  window->ResizePixels();
  const TNativeWindow id = ++lastWindow_;
  windows_[id] = std::move(window);
  if (parentWindow != nullptr) parentWindow->Children.push_back(id);
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
  TWindow* record = Find(window);
  if (record == nullptr) return;
  if (TWindow* parent = Find(record->Parent)) std::erase(parent->Children, window);
  // Every window of the subtree goes before any client hears of it.
  std::vector<TNativeWindow> subtree{window};
  for (size_t index = 0; index < subtree.size(); ++index) {
    const TWindow* member = Find(subtree[index]);
    subtree.insert(subtree.end(), member->Children.begin(), member->Children.end());
  }
  std::vector<std::pair<TNativeWindow, TWindowClient*>> told;
  for (const TNativeWindow member : subtree) {
    if (member != window && Find(member)->Client != nullptr) told.emplace_back(member, Find(member)->Client);
    windows_.erase(member);
    if (capture_ == member) capture_ = 0;
    if (focus_ == member) focus_ = 0;
    if (hover_ == member) hover_ = 0;
  }
  TWindowEvent destroyed;
  destroyed.Kind = TWindowEventKind::ekDestroyed;
  for (const auto& [member, client] : told) client->HandleWindowEvent(member, destroyed);
}

void THeadlessWindowSystem::PlaceWindow(TNativeWindow window, const TRect& bounds) {
  TWindow* record = Find(window);
  if (record == nullptr) return;
  const bool resized = bounds.Width() != record->Bounds.Width() || bounds.Height() != record->Bounds.Height();
  record->Bounds = bounds;
  if (!resized) return;
  record->ResizePixels();
  record->Invalid = TRectSet(record->ClientRect());
}

void THeadlessWindowSystem::ShowWindow(TNativeWindow window, bool visible) {
  TWindow* record = Find(window);
  if (record == nullptr || record->Visible == visible) return;
  record->Visible = visible;
  if (visible) record->Invalid = TRectSet(record->ClientRect());
}

void THeadlessWindowSystem::Invalidate(TNativeWindow window, const TRect& area) {
  if (TWindow* record = Find(window)) record->Invalid.Add(IntersectRect(area, record->ClientRect()));
}

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

void THeadlessWindowSystem::SetCapture(TNativeWindow window) {
  if (window == capture_ || (window != 0 && Find(window) == nullptr)) return;
  const TNativeWindow previous = capture_;
  capture_ = window;
  if (previous != 0 && window != 0) {
    TWindowEvent lost;
    lost.Kind = TWindowEventKind::ekCaptureLost;
    Deliver(previous, lost);
  }
}

void THeadlessWindowSystem::SetFocus(TNativeWindow window) {
  if (window == focus_ || (window != 0 && Find(window) == nullptr)) return;
  const TNativeWindow previous = focus_;
  focus_ = window;
  TWindowEvent event;
  event.Kind = TWindowEventKind::ekFocusOut;
  if (previous != 0) Deliver(previous, event);
  event.Kind = TWindowEventKind::ekFocusIn;
  if (window != 0 && focus_ == window) Deliver(window, event);
}

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
  TWindow* record = Find(window);
  if (record == nullptr) return false;
  // Like a real system, a timer fires at most once per millisecond.
  const uint32_t interval = std::max<uint32_t>(milliseconds, 1);
  record->Timers[id] = {interval, clock_ + interval, ++timerSequence_};
  return true;
}

void THeadlessWindowSystem::KillTimer(TNativeWindow window, uint32_t id) {
  if (TWindow* record = Find(window)) record->Timers.erase(id);
}

bool THeadlessWindowSystem::IsKeyDown(uint16_t virtualKey) const { return virtualKey < 256 && keys_[virtualKey]; }

uint32_t THeadlessWindowSystem::TickCount() const { return static_cast<uint32_t>(clock_); }

std::vector<TNativeWindow> THeadlessWindowSystem::TreeOrder() const {
  std::vector<TNativeWindow> order;
  for (const auto& [id, window] : windows_) {
    if (window->Parent == 0) order.push_back(id);
  }
  for (size_t index = 0; index < order.size(); ++index) {
    const TWindow* window = Find(order[index]);
    order.insert(order.end(), window->Children.begin(), window->Children.end());
  }
  return order;
}

bool THeadlessWindowSystem::PaintPending() {
  bool delivered = false;
  for (const TNativeWindow id : TreeOrder()) {
    TWindow* window = Find(id);
    if (window == nullptr || window->Invalid.IsEmpty() || !IsShowing(id)) continue;
    std::vector<TRect> areas = window->Invalid.Rects();
    if (paintDelivery_ == TPaintDelivery::pdBounds) areas = {window->Invalid.Bounds()};
    window->Invalid.Clear();
    for (const TRect& area : areas) {
      TWindowEvent paint;
      paint.Kind = TWindowEventKind::ekPaint;
      paint.Area = area;
      ++paintsDelivered_;
      delivered = true;
      Deliver(id, paint);
    }
  }
  return delivered;
}

void THeadlessWindowSystem::Pump() {
  for (int round = 0; round < kMostPaintRounds && PaintPending(); ++round) {
  }
}

void THeadlessWindowSystem::ShowMessage(TNativeWindow, std::string_view text) {
  messages_.emplace_back(text);
  std::fprintf(stderr, "Zelk: %.*s\n", static_cast<int>(text.size()), text.data());
}

void THeadlessWindowSystem::Deliver(TNativeWindow window, const TWindowEvent& event) {
  const TWindow* record = Find(window);
  if (record != nullptr && record->Client != nullptr) record->Client->HandleWindowEvent(window, event);
}

TPoint THeadlessWindowSystem::ScreenOrigin(const TWindow& window) const {
  TPoint origin = window.Bounds.TopLeft();
  for (const TWindow* parent = Find(window.Parent); parent != nullptr; parent = Find(parent->Parent)) {
    origin = {origin.X + parent->Bounds.Left, origin.Y + parent->Bounds.Top};
  }
  return origin;
}

TNativeWindow THeadlessWindowSystem::DeepestAt(TNativeWindow id, TPoint screenPoint) const {
  const TWindow* window = Find(id);
  if (window == nullptr || !window->Visible) return 0;
  const TPoint origin = ScreenOrigin(*window);
  const TPoint local{screenPoint.X - origin.X, screenPoint.Y - origin.Y};
  if (!window->ClientRect().Contains(local)) return 0;
  if (window->Region && !window->Region->Contains(local)) return 0;
  for (auto child = window->Children.rbegin(); child != window->Children.rend(); ++child) {
    if (const TNativeWindow hit = DeepestAt(*child, screenPoint)) return hit;
  }
  return id;
}

TNativeWindow THeadlessWindowSystem::WindowAt(TPoint screenPoint) const {
  for (auto window = windows_.rbegin(); window != windows_.rend(); ++window) {
    if (window->second->Parent != 0) continue;
    if (const TNativeWindow hit = DeepestAt(window->first, screenPoint)) return hit;
  }
  return 0;
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
  const TPoint origin = ScreenOrigin(*from);
  const TPoint screenPoint{origin.X + point.X, origin.Y + point.Y};
  const TNativeWindow target = capture_ != 0 ? capture_ : WindowAt(screenPoint);
  if (target != hover_) {
    const TNativeWindow left = hover_;
    hover_ = target;
    TWindowEvent leave;
    leave.Kind = TWindowEventKind::ekMouseLeave;
    if (left != 0) Deliver(left, leave);
  }
  const TWindow* to = Find(target);
  if (to == nullptr) return;
  const TPoint targetOrigin = ScreenOrigin(*to);
  TWindowEvent event;
  event.Kind = kind;
  event.Point = {screenPoint.X - targetOrigin.X, screenPoint.Y - targetOrigin.Y};
  event.Button = button;
  event.Modifiers = modifiers;
  event.WheelDelta = wheelDelta;
  Deliver(target, event);
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
  Deliver(focus_, event);
}

void THeadlessWindowSystem::TypeChar(char16_t character, uint32_t modifiers) {
  NoteModifiers(modifiers);
  TWindowEvent event;
  event.Kind = TWindowEventKind::ekChar;
  event.Code = character;
  event.Modifiers = modifiers;
  Deliver(focus_, event);
}

void THeadlessWindowSystem::AdvanceClock(uint32_t milliseconds) {
  const uint64_t target = clock_ + milliseconds;
  for (;;) {
    // The earliest due timer; handlers may set and kill timers, so look again each time.
    TNativeWindow dueWindow = 0;
    uint32_t dueId = 0;
    const TTimer* due = nullptr;
    for (const auto& [id, window] : windows_) {
      for (const auto& [timerId, timer] : window->Timers) {
        if (timer.Due > target) continue;
        if (due == nullptr || timer.Due < due->Due || (timer.Due == due->Due && timer.Sequence < due->Sequence)) {
          due = &timer;
          dueWindow = id;
          dueId = timerId;
        }
      }
    }
    if (due == nullptr) break;
    clock_ = due->Due;
    TTimer& timer = Find(dueWindow)->Timers[dueId];
    timer.Due += timer.Interval;
    TWindowEvent event;
    event.Kind = TWindowEventKind::ekTimer;
    event.Code = dueId;
    Deliver(dueWindow, event);
  }
  clock_ = target;
}

bool THeadlessWindowSystem::Exists(TNativeWindow window) const { return Find(window) != nullptr; }

bool THeadlessWindowSystem::IsShowing(TNativeWindow window) const {
  const TWindow* record = Find(window);
  if (record == nullptr) return false;
  for (; record != nullptr; record = Find(record->Parent)) {
    if (!record->Visible) return false;
  }
  return true;
}

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
  const TPoint origin = ScreenOrigin(*record);
  const TPoint screenPoint{origin.X + x, origin.Y + y};
  const TNativeWindow shown = DeepestAt(window, screenPoint);
  const TWindow* shownRecord = Find(shown);
  if (shownRecord == nullptr) return 0;
  const TPoint shownOrigin = ScreenOrigin(*shownRecord);
  return PixelAt(shown, screenPoint.X - shownOrigin.X, screenPoint.Y - shownOrigin.Y);
}

void THeadlessWindowSystem::ResetCounters() {
  presentedPixels_ = 0;
  paintsDelivered_ = 0;
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

size_t THeadlessWindowSystem::TimerCount() const {
  size_t count = 0;
  for (const auto& [handle, window] : windows_) count += window->Timers.size();
  return count;
}

bool THeadlessWindowSystem::HasTimer(TNativeWindow window, uint32_t id) const {
  const TWindow* record = Find(window);
  return record != nullptr && record->Timers.count(id) != 0;
}

THeadlessWindowSystem& HeadlessWindows() {
  static THeadlessWindowSystem windows;
  return windows;
}

}  // namespace zelk::platform
