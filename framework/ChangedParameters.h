// Which parameters changed since the editor last looked.
//
// TChangedParameters is written by whichever thread sets a parameter (the
// host's automation, audio or user-interface thread) and taken by the
// user-interface thread at each idle call: one bit per parameter in atomic
// 64-bit words, set and taken without a lock. TParameterSet is what a take
// hands out, a plain value the editor reads at leisure.
#pragma once

#include <atomic>
#include <bit>
#include <cstdint>
#include <memory>
#include <vector>

namespace zelk {

class TParameterSet {
 public:
  TParameterSet() = default;
  explicit TParameterSet(std::vector<uint64_t> words) : words_(std::move(words)) {}

  bool Contains(int32_t index) const;
  bool Empty() const;
  void Remove(int32_t index);
  // Calls visit(index) for every member, lowest first.
  template <class Visit>
  void ForEach(Visit&& visit) const {
    for (size_t word = 0; word < words_.size(); ++word) {
      for (uint64_t bits = words_[word]; bits != 0; bits &= bits - 1) {
        visit(static_cast<int32_t>(word * 64 + static_cast<size_t>(std::countr_zero(bits))));
      }
    }
  }

 private:
  std::vector<uint64_t> words_;
};

class TChangedParameters {
 public:
  // Only while the parameter list itself changes (settings being loaded),
  // never while other threads mark: the marks so far are kept.
  void Resize(int32_t count);
  int32_t Count() const { return count_; }

  // Any thread; an index outside the parameters is ignored.
  void Mark(int32_t index);
  void MarkAll();
  // User-interface thread: the parameters marked since the last take,
  // which are unmarked from now on.
  TParameterSet Take();

 private:
  std::unique_ptr<std::atomic<uint64_t>[]> words_;
  size_t wordCount_ = 0;
  int32_t count_ = 0;
};

}  // namespace zelk
