// The threads that are inside a module's parameter set operation right now.
// A host may answer the automation report by setting the same parameter
// again from within its callback: that nested call, on the same thread, is
// dropped so that it cannot recurse. Calls from other threads (the host's
// automation beside the editor's knob) go through, so the last value set
// wins. No lock and no allocation: setParameter arrives on the audio thread
// too.
#pragma once

#include <array>
#include <atomic>
#include <thread>

namespace zelk {

class TParameterUpdaters {
 public:
  // Registers the calling thread. False when the thread is already inside
  // (a nested call), or when more threads than the slots hold are inside at
  // once; such a call is dropped.
  bool Enter();
  // Unregisters the calling thread after a successful Enter.
  void Leave();
  // Whether any thread is inside.
  bool Any() const;

 private:
  static constexpr size_t kSlots = 8;
  std::array<std::atomic<std::thread::id>, kSlots> threads_{};
};

}  // namespace zelk
