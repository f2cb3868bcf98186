// Extended values (80-bit floats, tag 5) that are not exactly doubles go
// from a stream into a property and back, and through the text form, bit
// for bit; integers read into them exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "TestComponents.h"
#include "resources/TextFormPrinter.h"
#include "runtime/Float80.h"
#include "tests/support/Float80Bytes.h"

namespace zelk::tests {
namespace {

// Finite values no double holds: pi, -1/3, 1 + 2^-63, 1.5 x 2^12289 and
// 2^-16367 (beyond the double range on either side).
const TFloat80Bytes kFiniteValues[] = {
    Extended(0xC90FDAA22168C235, 0x4000), Extended(0xAAAAAAAAAAAAAAAB, 0xBFFD),
    Extended(0x8000000000000001, 0x3FFF), Extended(0xC000000000000000, 0x7000),
    Extended(0x8000000000000000, 0x0010),
};
// A quiet NaN whose payload no double holds.
const TFloat80Bytes kNaNWithPayload = Extended(0xC000000000001234, 0x7FFF);

std::vector<uint8_t> StreamWithScale(const std::vector<uint8_t>& value) {
  std::vector<uint8_t> stream = TBytes().Root("TTestRoot", "").Str("Scale").Bytes();
  stream.insert(stream.end(), value.begin(), value.end());
  stream.insert(stream.end(), {0, 0});
  return stream;
}

std::vector<uint8_t> Tagged(const TFloat80Bytes& bytes) {
  std::vector<uint8_t> value = {5};
  value.insert(value.end(), bytes.begin(), bytes.end());
  return value;
}

// The value after "Scale" in a stream, tag included.
std::vector<uint8_t> ScaleValueIn(const std::vector<uint8_t>& stream) {
  const std::string name = "\x05Scale";
  const auto at = std::search(stream.begin(), stream.end(), name.begin(), name.end());
  if (at == stream.end() || stream.end() - at < 6 + 11) return {};
  return {at + 6, at + 6 + 11};
}

TEST(ExtendedValues, GoFromTheStreamToThePropertyAndBackBitForBit) {
  std::vector<TFloat80Bytes> values(std::begin(kFiniteValues), std::end(kFiniteValues));
  values.push_back(kNaNWithPayload);
  for (const TFloat80Bytes& bytes : values) {
    auto root = NewRoot();
    ASSERT_EQ(ReadInto(*root, StreamWithScale(Tagged(bytes))), "");
    if constexpr (kLongDoubleIsFloat80) {
      EXPECT_EQ(std::memcmp(&root->Scale, bytes.data(), bytes.size()), 0);
    }
    EXPECT_EQ(ScaleValueIn(Written(*root)), Tagged(bytes));
  }
}

TEST(ExtendedValues, PrintAndCompileBackExactly) {
  for (const TFloat80Bytes& bytes : kFiniteValues) {
    const std::vector<uint8_t> stream = StreamWithScale(Tagged(bytes));
    const std::string text = PrintComponentStream(stream);
    EXPECT_EQ(Compiled(text), stream) << text;
  }
  // Values a double holds keep their shortest text.
  EXPECT_EQ(PrintComponentStream(StreamWithScale(Tagged(DoubleToFloat80(0.1)))),
            "object TTestRoot\n  Scale = 0.1\nend\n");
}

// Integer tags hold up to 64 significant bits, all of which fit.
TEST(ExtendedValues, IntegersAreReadExactly) {
  auto root = NewRoot();
  const int64_t big = (int64_t{1} << 62) + 1;
  std::vector<uint8_t> value = {19};
  for (int i = 0; i < 8; ++i) value.push_back(static_cast<uint8_t>(big >> (8 * i)));
  ASSERT_EQ(ReadInto(*root, StreamWithScale(value)), "");
  EXPECT_EQ(ScaleValueIn(Written(*root)), Tagged(Extended(0x8000000000000002, 0x403D)));
}

}  // namespace
}  // namespace zelk::tests
