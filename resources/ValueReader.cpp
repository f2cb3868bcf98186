#include "resources/ValueReader.h"

#include <bit>
#include <cstring>

#include "runtime/Float80.h"
#include "runtime/Exceptions.h"
#include "runtime/Messages.h"
#include "runtime/Stream.h"
#include "runtime/SystemCodePage.h"
#include "runtime/Text.h"

namespace zelk {

bool IsIntegerTag(TValueTag tag) {
  return tag == TValueTag::vaInt8 || tag == TValueTag::vaInt16 || tag == TValueTag::vaInt32 ||
         tag == TValueTag::vaInt64;
}

bool IsSmallIntegerTag(TValueTag tag) {
  return tag == TValueTag::vaInt8 || tag == TValueTag::vaInt16 || tag == TValueTag::vaInt32;
}

bool IsTextTag(TValueTag tag) {
  return tag == TValueTag::vaString || tag == TValueTag::vaLString || tag == TValueTag::vaWString ||
         tag == TValueTag::vaUTF8String;
}

TBinaryValueReader::TNesting::TNesting(TBinaryValueReader& reader) : reader_(reader) {
  if (reader_.depth_ >= kMaxNesting) InvalidFormat();
  ++reader_.depth_;
}

void TBinaryValueReader::InvalidValue() { throw EReadError(messages::kInvalidPropertyValue); }
void TBinaryValueReader::InvalidFormat() { throw EReadError(messages::kInvalidStreamFormat); }

void TBinaryValueReader::CheckAvailable(uint64_t byteCount) {
  const int64_t remaining = stream_.Remaining();
  if (remaining < 0 || byteCount > static_cast<uint64_t>(remaining)) throw EReadError(messages::kReadError);
}

void TBinaryValueReader::SkipBytes(uint64_t byteCount) {
  CheckAvailable(byteCount);
  stream_.Seek(static_cast<int64_t>(byteCount), TSeekOrigin::soCurrent);
}

uint8_t TBinaryValueReader::ReadByte() {
  uint8_t value = 0;
  stream_.ReadBuffer(&value, 1);
  return value;
}

uint8_t TBinaryValueReader::PeekByte() {
  const uint8_t value = ReadByte();
  stream_.Seek(-1, TSeekOrigin::soCurrent);
  return value;
}

uint64_t TBinaryValueReader::ReadLittleEndian(int byteCount) {
  uint8_t bytes[8] = {};
  stream_.ReadBuffer(bytes, byteCount);
  uint64_t value = 0;
  for (int i = byteCount - 1; i >= 0; --i) value = (value << 8) | bytes[i];
  return value;
}

uint32_t TBinaryValueReader::ReadLength(int unitSize) {
  const auto length = static_cast<int32_t>(static_cast<uint32_t>(ReadLittleEndian(4)));
  if (length < 0) throw EReadError(messages::kReadError);
  CheckAvailable(static_cast<uint64_t>(length) * static_cast<uint64_t>(unitSize));
  return static_cast<uint32_t>(length);
}

void TBinaryValueReader::ReadSignature() {
  char signature[sizeof kStreamSignature] = {};
  if (stream_.Read(signature, sizeof signature) != sizeof signature ||
      std::memcmp(signature, kStreamSignature, sizeof signature) != 0) {
    InvalidFormat();
  }
}

TObjectPrefix TBinaryValueReader::ReadPrefix() {
  TObjectPrefix prefix;
  const uint8_t first = ReadByte();
  if (first < kPrefixMarker) {
    stream_.Seek(-1, TSeekOrigin::soCurrent);
    return prefix;
  }
  prefix.Flags = first & 0x0F;
  if (prefix.Flags & ffChildPos) prefix.ChildPosition = ReadInt32();
  return prefix;
}

std::string TBinaryValueReader::ReadStr() {
  const uint8_t length = ReadByte();
  std::string text(length, '\0');
  stream_.ReadBuffer(text.data(), length);
  return text;
}

TValueTag TBinaryValueReader::ReadValue() {
  const uint8_t tag = ReadByte();
  if (tag > kLastValueTag) InvalidFormat();
  return static_cast<TValueTag>(tag);
}

TValueTag TBinaryValueReader::NextValue() {
  const uint8_t tag = PeekByte();
  if (tag > kLastValueTag) InvalidFormat();
  return static_cast<TValueTag>(tag);
}

void TBinaryValueReader::ReadListBegin() {
  if (ReadValue() != TValueTag::vaList) InvalidValue();
}

void TBinaryValueReader::ReadListEnd() {
  if (ReadValue() != TValueTag::vaNull) InvalidValue();
}

int64_t TBinaryValueReader::ReadIntegerPayload(TValueTag tag) {
  switch (tag) {
    case TValueTag::vaInt8:
      return static_cast<int8_t>(ReadByte());
    case TValueTag::vaInt16:
      return static_cast<int16_t>(static_cast<uint16_t>(ReadLittleEndian(2)));
    case TValueTag::vaInt32:
      return static_cast<int32_t>(static_cast<uint32_t>(ReadLittleEndian(4)));
    case TValueTag::vaInt64:
      return static_cast<int64_t>(ReadLittleEndian(8));
    default:
      InvalidValue();
  }
}

double TBinaryValueReader::ReadFloatPayload(TValueTag tag) {
  switch (tag) {
    case TValueTag::vaExtended:
      return Float80ToDouble(ReadExtendedPayload());
    case TValueTag::vaSingle:
      return std::bit_cast<float>(static_cast<uint32_t>(ReadLittleEndian(4)));
    case TValueTag::vaDate:
      return std::bit_cast<double>(ReadLittleEndian(8));
    case TValueTag::vaCurrency:
      // A signed count of ten-thousandths.
      return static_cast<double>(static_cast<int64_t>(ReadLittleEndian(8))) / 10000.0;
    default:
      InvalidValue();
  }
}

TFloat80Bytes TBinaryValueReader::ReadExtendedPayload() {
  TFloat80Bytes bytes;
  stream_.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  return bytes;
}

std::string TBinaryValueReader::ReadBytesPayload(TValueTag tag) {
  if (tag == TValueTag::vaString || tag == TValueTag::vaIdent) return ReadStr();
  if (tag != TValueTag::vaLString && tag != TValueTag::vaUTF8String) InvalidValue();
  std::string bytes(ReadLength(1), '\0');
  stream_.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  return bytes;
}

std::u16string TBinaryValueReader::ReadWidePayload() {
  const uint32_t count = ReadLength(2);
  std::u16string text;
  text.reserve(count);
  for (uint32_t i = 0; i < count; ++i) text += static_cast<char16_t>(ReadLittleEndian(2));
  return text;
}

std::vector<uint8_t> TBinaryValueReader::ReadBinaryPayload() {
  std::vector<uint8_t> bytes(ReadLength(1));
  stream_.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  return bytes;
}

std::vector<std::string> TBinaryValueReader::ReadSetPayload() {
  std::vector<std::string> names;
  for (std::string name = ReadStr(); !name.empty(); name = ReadStr()) names.push_back(std::move(name));
  return names;
}

int64_t TBinaryValueReader::ReadInteger() {
  const TValueTag tag = ReadValue();
  if (!IsIntegerTag(tag)) InvalidValue();
  return ReadIntegerPayload(tag);
}

int32_t TBinaryValueReader::ReadInt32() {
  const TValueTag tag = ReadValue();
  if (!IsIntegerTag(tag) || tag == TValueTag::vaInt64) InvalidValue();
  return static_cast<int32_t>(ReadIntegerPayload(tag));
}

TFloat80Bytes TBinaryValueReader::ReadExtended() {
  const TValueTag tag = ReadValue();
  if (tag == TValueTag::vaExtended) return ReadExtendedPayload();
  if (IsIntegerTag(tag)) return Int64ToFloat80(ReadIntegerPayload(tag));
  return DoubleToFloat80(ReadFloatPayload(tag));
}

double TBinaryValueReader::ReadFloat() {
  const TValueTag tag = ReadValue();
  if (IsIntegerTag(tag)) return static_cast<double>(ReadIntegerPayload(tag));
  return ReadFloatPayload(tag);
}

std::string TBinaryValueReader::ReadString() {
  const TValueTag tag = ReadValue();
  switch (tag) {
    case TValueTag::vaString:
    case TValueTag::vaLString:
      return ReadBytesPayload(tag);
    case TValueTag::vaWString:
      return WideToSystem(ReadWidePayload());
    case TValueTag::vaUTF8String:
      return Utf8ToSystem(ReadBytesPayload(tag));
    default:
      InvalidValue();
  }
}

std::u16string TBinaryValueReader::ReadWideString() {
  const TValueTag tag = ReadValue();
  switch (tag) {
    case TValueTag::vaString:
    case TValueTag::vaLString:
      return SystemToWide(ReadBytesPayload(tag));
    case TValueTag::vaWString:
      return ReadWidePayload();
    case TValueTag::vaUTF8String:
      return Utf8ToWide(ReadBytesPayload(tag));
    default:
      InvalidValue();
  }
}

std::string TBinaryValueReader::ReadIdent() {
  const TValueTag tag = ReadValue();
  switch (tag) {
    case TValueTag::vaIdent:
      return ReadStr();
    case TValueTag::vaFalse:
      return "False";
    case TValueTag::vaTrue:
      return "True";
    case TValueTag::vaNull:
      return "Null";
    case TValueTag::vaNil:
      return "nil";
    default:
      InvalidValue();
  }
}

bool TBinaryValueReader::ReadBoolean() {
  const TValueTag tag = ReadValue();
  if (tag != TValueTag::vaFalse && tag != TValueTag::vaTrue) InvalidValue();
  return tag == TValueTag::vaTrue;
}

void TBinaryValueReader::SkipValue() { SkipPayload(ReadValue()); }

void TBinaryValueReader::SkipPayload(TValueTag tag) {
  switch (tag) {
    case TValueTag::vaNull:
    case TValueTag::vaFalse:
    case TValueTag::vaTrue:
    case TValueTag::vaNil:
      return;
    case TValueTag::vaList: {
      TNesting nesting(*this);
      while (!EndOfList()) SkipValue();
      ReadListEnd();
      return;
    }
    case TValueTag::vaInt8:
      return SkipBytes(1);
    case TValueTag::vaInt16:
      return SkipBytes(2);
    case TValueTag::vaInt32:
    case TValueTag::vaSingle:
      return SkipBytes(4);
    case TValueTag::vaExtended:
      return SkipBytes(10);
    case TValueTag::vaCurrency:
    case TValueTag::vaDate:
    case TValueTag::vaInt64:
      return SkipBytes(8);
    case TValueTag::vaString:
    case TValueTag::vaIdent:
      return SkipBytes(ReadByte());
    case TValueTag::vaBinary:
    case TValueTag::vaLString:
    case TValueTag::vaUTF8String:
      return SkipBytes(ReadLength(1));
    case TValueTag::vaWString:
      return SkipBytes(uint64_t{ReadLength(2)} * 2);
    case TValueTag::vaSet:
      for (uint8_t length = ReadByte(); length != 0; length = ReadByte()) SkipBytes(length);
      return;
    case TValueTag::vaCollection:
      return SkipCollection();
  }
  InvalidFormat();
}

void TBinaryValueReader::SkipCollection() {
  TNesting nesting(*this);
  while (!EndOfList()) {
    if (IsSmallIntegerTag(NextValue())) SkipValue();  // an item position
    ReadListBegin();
    TNesting item(*this);
    while (!EndOfList()) {
      SkipBytes(ReadByte());  // the property name
      SkipValue();
    }
    ReadListEnd();
  }
  ReadListEnd();
}

}  // namespace zelk
