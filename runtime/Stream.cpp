#include "runtime/Stream.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "runtime/Exceptions.h"
#include "runtime/Messages.h"

namespace zelk {

int64_t TStream::Size() {
  const int64_t position = Seek(0, TSeekOrigin::soCurrent);
  const int64_t size = Seek(0, TSeekOrigin::soEnd);
  Seek(position, TSeekOrigin::soBeginning);
  return size;
}

void TStream::SetSize(int64_t) { throw EStreamError("Stream size cannot be changed"); }

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count < 0 || (count > 0 && Read(buffer, count) != count)) throw EReadError(messages::kReadError);
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count < 0 || (count > 0 && Write(buffer, count) != count)) throw EWriteError(messages::kWriteError);
}

void TCustomMemoryStream::SetPointer(const uint8_t* data, int64_t size) {
  data_ = data;
  size_ = size;
}

int64_t TCustomMemoryStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || position_ >= size_) return 0;
  const int64_t available = std::min(count, size_ - position_);
  std::memcpy(buffer, data_ + position_, static_cast<size_t>(available));
  position_ += available;
  return available;
}

int64_t TCustomMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = 0;
  if (origin == TSeekOrigin::soCurrent) base = position_;
  if (origin == TSeekOrigin::soEnd) base = size_;
  // Saturate instead of overflowing on absurd offsets.
  if (offset > 0 && base > std::numeric_limits<int64_t>::max() - offset) {
    position_ = std::numeric_limits<int64_t>::max();
  } else {
    position_ = std::max<int64_t>(0, base + offset);
  }
  return position_;
}

TReadOnlyMemoryStream::TReadOnlyMemoryStream(std::span<const uint8_t> bytes) {
  SetPointer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

int64_t TReadOnlyMemoryStream::Write(const void*, int64_t) { return 0; }

TMemoryStream::TMemoryStream(std::span<const uint8_t> bytes) {
  storage_.assign(bytes.begin(), bytes.end());
  SetPointer(storage_.data(), static_cast<int64_t>(storage_.size()));
}

void TMemoryStream::Reserve(int64_t capacity) {
  if (capacity <= static_cast<int64_t>(storage_.size())) return;
  // Grow geometrically so that many small writes stay linear overall.
  const int64_t grown = std::max<int64_t>(capacity, static_cast<int64_t>(storage_.size()) * 3 / 2 + 64);
  storage_.resize(static_cast<size_t>(grown));
  data_ = storage_.data();
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  if (position_ > std::numeric_limits<int64_t>::max() - count) return 0;
  const int64_t end = position_ + count;
  Reserve(end);
  std::memcpy(storage_.data() + position_, buffer, static_cast<size_t>(count));
  position_ = end;
  size_ = std::max(size_, end);
  return count;
}

void TMemoryStream::SetSize(int64_t newSize) {
  newSize = std::max<int64_t>(0, newSize);
  Reserve(newSize);
  if (newSize > size_) std::memset(storage_.data() + size_, 0, static_cast<size_t>(newSize - size_));
  size_ = newSize;
  position_ = std::min(position_, size_);
}

void TMemoryStream::Clear() {
  storage_.clear();
  storage_.shrink_to_fit();
  data_ = nullptr;
  size_ = 0;
  position_ = 0;
}

}  // namespace zelk
