#include "framework/ChangedParameters.h"

#include <algorithm>

namespace zelk {

namespace {
constexpr int32_t kBitsPerWord = 64;

size_t WordOf(int32_t index) { return static_cast<size_t>(index) / kBitsPerWord; }
uint64_t BitOf(int32_t index) { return uint64_t{1} << (index % kBitsPerWord); }
size_t WordsFor(int32_t count) { return (static_cast<size_t>(count) + kBitsPerWord - 1) / kBitsPerWord; }
}  // namespace

bool TParameterSet::Contains(int32_t index) const {
  return index >= 0 && WordOf(index) < words_.size() && (words_[WordOf(index)] & BitOf(index)) != 0;
}

bool TParameterSet::Empty() const {
  return std::all_of(words_.begin(), words_.end(), [](uint64_t word) { return word == 0; });
}

void TParameterSet::Remove(int32_t index) {
  if (Contains(index)) words_[WordOf(index)] &= ~BitOf(index);
}

void TChangedParameters::Resize(int32_t count) {
  count = std::max(count, int32_t{0});
  if (count == count_) return;
  const size_t wordCount = WordsFor(count);
  auto resized = std::make_unique<std::atomic<uint64_t>[]>(wordCount);
  for (size_t word = 0; word < wordCount; ++word) {
    const uint64_t kept = word < wordCount_ ? words_[word].load(std::memory_order_relaxed) : 0;
    const bool lastWord = word + 1 == wordCount && count % kBitsPerWord != 0;
    resized[word].store(lastWord ? kept & (BitOf(count) - 1) : kept, std::memory_order_relaxed);
  }
  words_ = std::move(resized);
  wordCount_ = wordCount;
  count_ = count;
}

// Release: the value stored before the mark is seen by the thread that
// takes it.
void TChangedParameters::Mark(int32_t index) {
  if (index < 0 || index >= count_) return;
  words_[WordOf(index)].fetch_or(BitOf(index), std::memory_order_release);
}

void TChangedParameters::MarkAll() {
  for (int32_t index = 0; index < count_; index += kBitsPerWord) {
    const int32_t inWord = std::min(kBitsPerWord, count_ - index);
    const uint64_t bits = inWord == kBitsPerWord ? ~uint64_t{0} : (uint64_t{1} << inWord) - 1;
    words_[WordOf(index)].fetch_or(bits, std::memory_order_release);
  }
}

TParameterSet TChangedParameters::Take() {
  std::vector<uint64_t> taken(wordCount_);
  for (size_t word = 0; word < wordCount_; ++word) taken[word] = words_[word].exchange(0, std::memory_order_acquire);
  return TParameterSet(std::move(taken));
}

}  // namespace zelk
