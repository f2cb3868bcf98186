// Sequential byte streams with position and size. TMemoryStream keeps its
// bytes in one contiguous buffer; TReadOnlyMemoryStream reads a buffer it does
// not own (an embedded resource, a block inside another stream).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zelk {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
 public:
  virtual ~TStream() = default;

  // Reads up to count bytes; answers how many were read (0 at the end).
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  // Writes up to count bytes; answers how many were written.
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  // Moves the position (clamped at 0) and answers the new position.
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

  virtual int64_t Size();
  virtual void SetSize(int64_t newSize);
  int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
  void SetPosition(int64_t position) { Seek(position, TSeekOrigin::soBeginning); }
  int64_t Remaining() { return Size() - Position(); }

  // Read or write exactly count bytes; a short transfer raises EReadError
  // "Stream-Lesefehler" or EWriteError "Stream-Schreibfehler".
  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);

  template <class T>
  T ReadValue() {
    T value{};
    ReadBuffer(&value, sizeof value);
    return value;
  }
  template <class T>
  void WriteValue(const T& value) {
    WriteBuffer(&value, sizeof value);
  }
};

// A stream over memory: the base of the owning and the read-only form.
class TCustomMemoryStream : public TStream {
 public:
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return size_; }

  const uint8_t* Memory() const { return data_; }
  std::span<const uint8_t> Bytes() const { return {data_, static_cast<size_t>(size_)}; }

 protected:
  void SetPointer(const uint8_t* data, int64_t size);
  const uint8_t* data_ = nullptr;
  int64_t size_ = 0;
  int64_t position_ = 0;
};

// Reads bytes that live elsewhere; writing is refused (answers 0).
class TReadOnlyMemoryStream : public TCustomMemoryStream {
 public:
  explicit TReadOnlyMemoryStream(std::span<const uint8_t> bytes);
  int64_t Write(const void* buffer, int64_t count) override;
};

class TMemoryStream : public TCustomMemoryStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::span<const uint8_t> bytes);

  int64_t Write(const void* buffer, int64_t count) override;
  void SetSize(int64_t newSize) override;
  void Clear();
  uint8_t* Memory() { return storage_.data(); }
  using TCustomMemoryStream::Memory;
  std::vector<uint8_t> ToVector() const { return {data_, data_ + size_}; }

 private:
  void Reserve(int64_t capacity);
  std::vector<uint8_t> storage_;
};

}  // namespace zelk
