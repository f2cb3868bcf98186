#include "resources/ValueWriter.h"

#include <limits>

#include "runtime/Float80.h"
#include "runtime/Exceptions.h"
#include "runtime/Messages.h"
#include "runtime/Stream.h"
#include "runtime/Text.h"

namespace zelk {

namespace {
constexpr size_t kShortStringLimit = 255;

bool IsAsciiText(std::u16string_view text) {
  for (char16_t unit : text) {
    if (unit >= 0x80) return false;
  }
  return true;
}
}  // namespace

void TBinaryValueWriter::WriteTag(TValueTag tag) {
  const auto byte = static_cast<uint8_t>(tag);
  stream_.WriteBuffer(&byte, 1);
}

void TBinaryValueWriter::WriteLittleEndian(uint64_t value, int byteCount) {
  uint8_t bytes[8];
  for (int i = 0; i < byteCount; ++i) bytes[i] = static_cast<uint8_t>(value >> (8 * i));
  stream_.WriteBuffer(bytes, byteCount);
}

void TBinaryValueWriter::WriteLength(size_t length) {
  if (length > static_cast<size_t>(std::numeric_limits<int32_t>::max())) throw EWriteError(messages::kWriteError);
  WriteLittleEndian(length, 4);
}

void TBinaryValueWriter::WriteInteger(int64_t value) {
  if (value >= INT8_MIN && value <= INT8_MAX) {
    WriteTag(TValueTag::vaInt8);
    WriteLittleEndian(static_cast<uint64_t>(value), 1);
  } else if (value >= INT16_MIN && value <= INT16_MAX) {
    WriteTag(TValueTag::vaInt16);
    WriteLittleEndian(static_cast<uint64_t>(value), 2);
  } else if (value >= INT32_MIN && value <= INT32_MAX) {
    WriteTag(TValueTag::vaInt32);
    WriteLittleEndian(static_cast<uint64_t>(value), 4);
  } else {
    WriteTag(TValueTag::vaInt64);
    WriteLittleEndian(static_cast<uint64_t>(value), 8);
  }
}

void TBinaryValueWriter::WriteFloat(double value) { WriteExtended(DoubleToFloat80(value)); }

void TBinaryValueWriter::WriteExtended(const TFloat80Bytes& bytes) {
  WriteTag(TValueTag::vaExtended);
  stream_.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TBinaryValueWriter::WriteString(std::string_view text) {
  if (IsAscii(text)) {
    WriteBytesString(text);
  } else {
    WriteWideString(SystemToWide(text));
  }
}

void TBinaryValueWriter::WriteText(std::u16string_view text) {
  if (!IsAsciiText(text)) return WriteWideString(text);
  std::string bytes;
  bytes.reserve(text.size());
  for (char16_t unit : text) bytes += static_cast<char>(unit);
  WriteBytesString(bytes);
}

void TBinaryValueWriter::WriteBytesString(std::string_view bytes) {
  if (bytes.size() <= kShortStringLimit) {
    WriteTag(TValueTag::vaString);
    WriteStr(bytes);
    return;
  }
  WriteTag(TValueTag::vaLString);
  WriteLength(bytes.size());
  stream_.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TBinaryValueWriter::WriteWideString(std::u16string_view text) {
  WriteTag(TValueTag::vaWString);
  WriteLength(text.size());
  for (char16_t unit : text) WriteLittleEndian(unit, 2);
}

void TBinaryValueWriter::WriteIdent(std::string_view ident) {
  if (SameText(ident, "False")) return WriteTag(TValueTag::vaFalse);
  if (SameText(ident, "True")) return WriteTag(TValueTag::vaTrue);
  if (SameText(ident, "Null")) return WriteTag(TValueTag::vaNull);
  if (SameText(ident, "nil")) return WriteTag(TValueTag::vaNil);
  WriteTag(TValueTag::vaIdent);
  WriteStr(ident);
}

void TBinaryValueWriter::WriteBoolean(bool value) { WriteTag(value ? TValueTag::vaTrue : TValueTag::vaFalse); }

void TBinaryValueWriter::WriteSet(std::span<const std::string_view> names) {
  WriteTag(TValueTag::vaSet);
  for (std::string_view name : names) {
    // An empty name would end the set early.
    if (name.empty()) throw EWriteError(messages::kInvalidPropertyValue);
    WriteStr(name);
  }
  WriteStr({});
}

void TBinaryValueWriter::WriteBinary(std::span<const uint8_t> bytes) {
  WriteTag(TValueTag::vaBinary);
  WriteLength(bytes.size());
  stream_.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TBinaryValueWriter::WriteNil() { WriteTag(TValueTag::vaNil); }
void TBinaryValueWriter::WriteListBegin() { WriteTag(TValueTag::vaList); }
void TBinaryValueWriter::WriteListEnd() { WriteTag(TValueTag::vaNull); }
void TBinaryValueWriter::WriteCollectionBegin() { WriteTag(TValueTag::vaCollection); }

void TBinaryValueWriter::WriteSignature() { stream_.WriteBuffer(kStreamSignature, sizeof kStreamSignature); }

void TBinaryValueWriter::WritePrefix(uint8_t flags, std::optional<int64_t> childPosition) {
  flags = static_cast<uint8_t>((flags & 0x0F & ~ffChildPos) | (childPosition ? ffChildPos : 0));
  if (flags == 0) return;
  const uint8_t prefix = kPrefixMarker | flags;
  stream_.WriteBuffer(&prefix, 1);
  if (childPosition) WriteInteger(*childPosition);
}

void TBinaryValueWriter::WriteObjectHeader(std::string_view className, std::string_view name, uint8_t flags,
                                           std::optional<int64_t> childPosition) {
  const bool ambiguousLength = className.empty() || className.size() >= kPrefixMarker;
  if ((flags & 0x0F & ~ffChildPos) == 0 && !childPosition && ambiguousLength) {
    stream_.WriteBuffer(&kPrefixMarker, 1);
  } else {
    WritePrefix(flags, childPosition);
  }
  WriteStr(className);
  WriteStr(name);
}

void TBinaryValueWriter::WriteStr(std::string_view text) {
  if (text.size() > kShortStringLimit) throw EWriteError(FormatMessage(messages::kNameTooLong, text));
  const auto length = static_cast<uint8_t>(text.size());
  stream_.WriteBuffer(&length, 1);
  stream_.WriteBuffer(text.data(), length);
}

}  // namespace zelk
