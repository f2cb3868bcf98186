#include <algorithm>

#include "platform/software/WindowCore.h"

namespace zelk::platform {

bool TWindowCore::SetTimer(TNativeWindow window, uint32_t id, uint32_t milliseconds, uint64_t now) {
  TCoreWindow* record = Find(window);
  if (record == nullptr) return false;
  // Like a real system, a timer fires at most once per millisecond.
  const uint32_t interval = std::max<uint32_t>(milliseconds, 1);
  record->Timers[id] = {interval, now + interval, ++timerSequence_};
  return true;
}

void TWindowCore::KillTimer(TNativeWindow window, uint32_t id) {
  if (TCoreWindow* record = Find(window)) record->Timers.erase(id);
}

bool TWindowCore::HasTimer(TNativeWindow window, uint32_t id) const {
  const TCoreWindow* record = Find(window);
  return record != nullptr && record->Timers.count(id) != 0;
}

size_t TWindowCore::TimerCount() const {
  size_t count = 0;
  for (const auto& [id, window] : windows_) count += window->Timers.size();
  return count;
}

std::optional<std::pair<TNativeWindow, uint32_t>> TWindowCore::NextDue(
    uint64_t now, const std::vector<std::pair<TNativeWindow, uint32_t>>& fired) const {
  std::optional<std::pair<TNativeWindow, uint32_t>> next;
  const TCoreTimer* earliest = nullptr;
  for (const auto& [id, window] : windows_) {
    for (const auto& [timerId, timer] : window->Timers) {
      if (timer.Due > now || std::find(fired.begin(), fired.end(), std::pair{id, timerId}) != fired.end()) continue;
      if (earliest == nullptr || timer.Due < earliest->Due ||
          (timer.Due == earliest->Due && timer.Sequence < earliest->Sequence)) {
        earliest = &timer;
        next.emplace(id, timerId);
      }
    }
  }
  return next;
}

void TWindowCore::FireDueTimers(uint64_t now, TTimerCatchUp catchUp, const std::function<void(uint64_t)>& clock) {
  std::vector<std::pair<TNativeWindow, uint32_t>> fired;
  // Handlers may set and kill timers and windows: look again each time.
  while (const auto due = NextDue(now, fired)) {
    const auto [window, id] = *due;
    TCoreTimer& timer = Find(window)->Timers[id];
    if (clock) clock(timer.Due);
    if (catchUp == TTimerCatchUp::tcEveryPeriod) {
      timer.Due += timer.Interval;
    } else {
      timer.Due = std::max(timer.Due + timer.Interval, now + timer.Interval);
      fired.push_back(*due);
    }
    TWindowEvent event;
    event.Kind = TWindowEventKind::ekTimer;
    event.Code = id;
    Deliver(window, event);
  }
}

}  // namespace zelk::platform
