// Counts the change notifications (a bitmap's or canvas's OnChange) it is
// bound to and remembers who sent the last one.
#pragma once

#include "runtime/Event.h"
#include "runtime/Object.h"

namespace zelk::tests {

class TChangeCounter : public TObject {
 public:
  void Changed(TObject* sender) {
    ++Count;
    LastSender = sender;
  }
  TNotifyEvent Event() { return TNotifyEvent::Bind<&TChangeCounter::Changed>(this); }

  int Count = 0;
  TObject* LastSender = nullptr;
};

}  // namespace zelk::tests
