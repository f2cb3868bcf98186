// TBinaryValueReader: the value level of a component stream. Reads tags and
// their payloads, the signature and the object prefix, and skips whole
// values. Every length is checked against the bytes that remain before
// anything is allocated, and lists and collections nest at most
// kMaxNesting deep, so hostile bytes end in an EReadError, never in a crash
// or a huge allocation.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "resources/ValueTags.h"
#include "runtime/Filer.h"
#include "runtime/Float80.h"

namespace zelk {

class TStream;

struct TObjectPrefix {
  uint8_t Flags = 0;  // TFilerFlag bits
  int64_t ChildPosition = 0;
};

class TBinaryValueReader : public TValueReader {
 public:
  static constexpr int kMaxNesting = 256;

  explicit TBinaryValueReader(TStream& stream) : stream_(stream) {}

  // Values for property hooks; a tag that does not fit the request raises
  // EReadError "Ungültiger Eigenschaftswert".
  int64_t ReadInteger() override;      // tags 2, 3, 4, 19
  double ReadFloat() override;         // tags 5, 15, 16, 17 and the integer tags
  std::string ReadString() override;   // tags 6, 12, 18, 20 in the system code page
  std::string ReadIdent() override;    // tags 7, 8, 9, 0, 13 as names
  bool ReadBoolean() override;         // tags 8, 9
  void SkipValue() override;

  int32_t ReadInt32();                 // tags 2, 3, 4
  // Tag 5 as stored; tags 15, 16, 17 converted, the integer tags exactly.
  TFloat80Bytes ReadExtended();
  std::u16string ReadWideString();     // tags 18, 20, 6, 12 as UTF-16

  // Stream framing. ReadSignature raises "Ungültiges Stream-Format".
  void ReadSignature();
  TObjectPrefix ReadPrefix();
  std::string ReadStr();  // a short string: length byte, then the bytes
  TValueTag ReadValue();  // consumes one tag
  TValueTag NextValue();  // the next tag, not consumed
  bool EndOfList() { return PeekByte() == 0; }
  void ReadListBegin();   // tag 1
  void ReadListEnd();     // tag 0

  // Payloads, after their tag has been read with ReadValue.
  int64_t ReadIntegerPayload(TValueTag tag);   // 2, 3, 4, 19
  double ReadFloatPayload(TValueTag tag);      // 5, 15, 16, 17
  TFloat80Bytes ReadExtendedPayload();         // 5
  std::string ReadBytesPayload(TValueTag tag); // 6, 7, 12, 20: the bytes as stored
  std::u16string ReadWidePayload();            // 18
  std::vector<uint8_t> ReadBinaryPayload();    // 10
  std::vector<std::string> ReadSetPayload();   // 11: the element names
  void SkipPayload(TValueTag tag);

  // Counts one level of list or object nesting for as long as it lives.
  class TNesting {
   public:
    explicit TNesting(TBinaryValueReader& reader);
    ~TNesting() { --reader_.depth_; }
    TNesting(const TNesting&) = delete;
    TNesting& operator=(const TNesting&) = delete;

   private:
    TBinaryValueReader& reader_;
  };

  TStream& Stream() { return stream_; }

 protected:
  [[noreturn]] static void InvalidValue();
  [[noreturn]] static void InvalidFormat();

 private:
  uint8_t ReadByte();
  uint8_t PeekByte();
  uint64_t ReadLittleEndian(int byteCount);
  // A 4-byte length, checked against the remaining bytes (times unitSize).
  uint32_t ReadLength(int unitSize);
  void CheckAvailable(uint64_t byteCount);
  void SkipBytes(uint64_t byteCount);
  void SkipCollection();

  TStream& stream_;
  int depth_ = 0;
};

bool IsIntegerTag(TValueTag tag);       // 2, 3, 4, 19
bool IsSmallIntegerTag(TValueTag tag);  // 2, 3, 4
bool IsTextTag(TValueTag tag);

}  // namespace zelk
