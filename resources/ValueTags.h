// The tags of the values in a component stream, and the bytes that frame a
// stream: the signature and the flags of an object's prefix byte.
#pragma once

#include <cstdint>

namespace zelk {

enum class TValueTag : uint8_t {
  vaNull = 0,  // end of a list; as a value the identifier "Null"
  vaList = 1,
  vaInt8 = 2,
  vaInt16 = 3,
  vaInt32 = 4,
  vaExtended = 5,
  vaString = 6,  // short string: one length byte
  vaIdent = 7,
  vaFalse = 8,
  vaTrue = 9,
  vaBinary = 10,
  vaSet = 11,
  vaLString = 12,
  vaNil = 13,
  vaCollection = 14,
  vaSingle = 15,
  vaCurrency = 16,
  vaDate = 17,
  vaWString = 18,
  vaInt64 = 19,
  vaUTF8String = 20,
};

inline constexpr uint8_t kLastValueTag = 20;

inline constexpr char kStreamSignature[4] = {'T', 'P', 'F', '0'};

// Flags in the low nibble of an object's optional prefix byte (0xF0..0xFF).
enum TFilerFlag : uint8_t {
  ffInherited = 1,  // the component already exists: look it up by name
  ffChildPos = 2,   // an integer value with the child position follows
  ffInline = 4,
};
inline constexpr uint8_t kPrefixMarker = 0xF0;

}  // namespace zelk
