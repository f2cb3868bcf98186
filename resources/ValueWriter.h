// TBinaryValueWriter: the value level of a component stream, the writing
// twin of TBinaryValueReader. Integers take the smallest of tags 2, 3 and 4
// (19 beyond 32 bits), plain ASCII text tag 6 (12 beyond 255 bytes), other
// text tag 18, floats tag 5.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "resources/ValueTags.h"
#include "runtime/Filer.h"
#include "runtime/Float80.h"

namespace zelk {

class TStream;

class TBinaryValueWriter : public TValueWriter {
 public:
  explicit TBinaryValueWriter(TStream& stream) : stream_(stream) {}

  void WriteInteger(int64_t value) override;
  void WriteFloat(double value) override;
  void WriteExtended(const TFloat80Bytes& bytes);  // tag 5, the bytes as they are
  // Text in the system code page.
  void WriteString(std::string_view text) override;
  // Tag 7, except "False", "True", "Null" and "nil", which have tags of their own.
  void WriteIdent(std::string_view ident) override;
  void WriteBoolean(bool value) override;

  void WriteText(std::u16string_view text);      // tag 6/12 when ASCII, else 18
  void WriteBytesString(std::string_view bytes);  // tag 6 (12 beyond 255 bytes), bytes as they are
  void WriteWideString(std::u16string_view text); // tag 18
  void WriteSet(std::span<const std::string_view> names);
  void WriteBinary(std::span<const uint8_t> bytes);
  void WriteNil();
  void WriteListBegin();
  void WriteListEnd();
  void WriteCollectionBegin();

  // Stream framing. A short string longer than 255 bytes raises EWriteError.
  void WriteSignature();
  void WritePrefix(uint8_t flags, std::optional<int64_t> childPosition = std::nullopt);
  // Prefix, class name and object name. A prefix byte is written also when
  // the class name's length byte would otherwise be taken for one (0xF0 or
  // more) or, being zero, for the end of a list of children.
  void WriteObjectHeader(std::string_view className, std::string_view name, uint8_t flags = 0,
                         std::optional<int64_t> childPosition = std::nullopt);
  void WriteStr(std::string_view text);
  void WriteTag(TValueTag tag);

  TStream& Stream() { return stream_; }

 private:
  void WriteLittleEndian(uint64_t value, int byteCount);
  void WriteLength(size_t length);

  TStream& stream_;
};

}  // namespace zelk
