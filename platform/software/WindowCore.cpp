#include "platform/software/WindowCore.h"

#include <algorithm>

namespace zelk::platform {

TCoreWindow& TWindowCore::Add(TNativeWindow id, std::unique_ptr<TCoreWindow> window) {
  TCoreWindow& added = *window;
  if (TCoreWindow* parent = Find(added.Parent)) parent->Children.push_back(id);
  windows_[id] = std::move(window);
  return added;
}

TCoreWindow* TWindowCore::Find(TNativeWindow window) const {
  const auto found = windows_.find(window);
  return found == windows_.end() ? nullptr : found->second.get();
}

bool TWindowCore::IsShowing(TNativeWindow window) const {
  const TCoreWindow* record = Find(window);
  if (record == nullptr) return false;
  for (; record != nullptr; record = Find(record->Parent)) {
    if (!record->Visible) return false;
  }
  return true;
}

bool TWindowCore::Place(TNativeWindow window, const TRect& bounds) {
  TCoreWindow* record = Find(window);
  if (record == nullptr) return false;
  const bool resized = bounds.Width() != record->Bounds.Width() || bounds.Height() != record->Bounds.Height();
  record->Bounds = bounds;
  if (resized) record->Invalid = TRectSet(record->ClientRect());
  return resized;
}

bool TWindowCore::Show(TNativeWindow window, bool visible) {
  TCoreWindow* record = Find(window);
  if (record == nullptr || record->Visible == visible) return false;
  record->Visible = visible;
  if (visible) record->Invalid = TRectSet(record->ClientRect());
  return true;
}

void TWindowCore::Invalidate(TNativeWindow window, const TRect& area) {
  if (TCoreWindow* record = Find(window)) record->Invalid.Add(IntersectRect(area, record->ClientRect()));
}

TPoint TWindowCore::ScreenOrigin(const TCoreWindow& window) const {
  TPoint origin = window.Bounds.TopLeft();
  for (const TCoreWindow* parent = Find(window.Parent); parent != nullptr; parent = Find(parent->Parent)) {
    origin = {origin.X + parent->Bounds.Left, origin.Y + parent->Bounds.Top};
  }
  return origin;
}

TNativeWindow TWindowCore::DeepestAt(TNativeWindow id, TPoint screenPoint) const {
  const TCoreWindow* window = Find(id);
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

TNativeWindow TWindowCore::WindowAt(TPoint screenPoint) const {
  for (auto window = windows_.rbegin(); window != windows_.rend(); ++window) {
    if (!IsRoot(*window->second)) continue;
    if (const TNativeWindow hit = DeepestAt(window->first, screenPoint)) return hit;
  }
  return 0;
}

std::vector<TNativeWindow> TWindowCore::TreeOrder() const {
  std::vector<TNativeWindow> order;
  for (const auto& [id, window] : windows_) {
    if (IsRoot(*window)) order.push_back(id);
  }
  for (size_t index = 0; index < order.size(); ++index) {
    const TCoreWindow* window = Find(order[index]);
    order.insert(order.end(), window->Children.begin(), window->Children.end());
  }
  return order;
}

TDetachedWindows TWindowCore::Detach(TNativeWindow root, bool tellRoot) {
  TDetachedWindows detached;
  detached.TellRoot = tellRoot;
  const TCoreWindow* record = Find(root);
  if (record == nullptr) return detached;
  if (TCoreWindow* parent = Find(record->Parent)) std::erase(parent->Children, root);
  std::vector<TNativeWindow> subtree{root};
  for (size_t index = 0; index < subtree.size(); ++index) {
    const TCoreWindow* member = Find(subtree[index]);
    subtree.insert(subtree.end(), member->Children.begin(), member->Children.end());
  }
  for (const TNativeWindow member : subtree) {
    const auto found = windows_.find(member);
    detached.Windows.emplace_back(member, std::move(found->second));
    windows_.erase(found);
    if (capture_ == member) capture_ = 0;
    if (focus_ == member) focus_ = 0;
  }
  return detached;
}

void TWindowCore::TellDestroyed(const TDetachedWindows& detached) const {
  TWindowEvent destroyed;
  destroyed.Kind = TWindowEventKind::ekDestroyed;
  for (size_t index = detached.TellRoot ? 0 : 1; index < detached.Windows.size(); ++index) {
    const auto& [id, window] = detached.Windows[index];
    if (window->Client != nullptr) window->Client->HandleWindowEvent(id, destroyed);
  }
}

void TWindowCore::Clear() {
  windows_.clear();
  capture_ = 0;
  focus_ = 0;
}

void TWindowCore::Deliver(TNativeWindow window, const TWindowEvent& event) const {
  const TCoreWindow* record = Find(window);
  if (record != nullptr && record->Client != nullptr) record->Client->HandleWindowEvent(window, event);
}

void TWindowCore::SetCapture(TNativeWindow window) {
  if (window == capture_ || (window != 0 && Find(window) == nullptr)) return;
  const TNativeWindow previous = capture_;
  capture_ = window;
  if (previous != 0 && window != 0) {
    TWindowEvent lost;
    lost.Kind = TWindowEventKind::ekCaptureLost;
    Deliver(previous, lost);
  }
}

void TWindowCore::MoveFocus(TNativeWindow window, const std::function<void(TNativeWindow previous)>& moved) {
  if (window == focus_ || (window != 0 && Find(window) == nullptr)) return;
  const TNativeWindow previous = focus_;
  focus_ = window;
  if (moved) moved(previous);
  TWindowEvent event;
  event.Kind = TWindowEventKind::ekFocusOut;
  if (previous != 0) Deliver(previous, event);
  // The window losing the focus may have moved it on already.
  event.Kind = TWindowEventKind::ekFocusIn;
  if (window != 0 && focus_ == window) Deliver(window, event);
}

}  // namespace zelk::platform
