// The current value of every parameter, in parameter units.
//
// Values are written by whichever thread sets a parameter (the host's
// automation or user-interface thread, the editor) and read on the audio
// thread, so each value is an atomic 32-bit float: readers never see a torn
// value and take no lock. Resizing replaces the storage and is done only
// while the parameter list itself changes (when settings are loaded), never
// while the host processes audio.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

namespace zelk {

class TParameterValues {
 public:
  int32_t Count() const { return count_; }
  bool Contains(int32_t index) const { return index >= 0 && index < count_; }

  // Keeps the values of the indexes that remain; new entries are 0.0.
  void Resize(int32_t count);

  // 0.0 for an index outside the store.
  float Get(int32_t index) const;
  // Does nothing for an index outside the store.
  void Set(int32_t index, float value);

 private:
  std::unique_ptr<std::atomic<float>[]> values_;
  int32_t count_ = 0;
};

}  // namespace zelk
