// New GUIDs: random, marked as version 4 in the layout that stored images
// use, so that their text form reads "{xxxxxxxx-xxxx-4xxx-[89AB]xxx-...}".
#include <gtest/gtest.h>

#include <set>

#include "dib/DIBGuid.h"
#include "platform/Guid.h"

namespace zelk::tests {
namespace {

using namespace platform;

TEST(GuidTest, RandomBytesGetTheVersionAndVariantBitsAndKeepTheRest) {
  TGuidBytes zeros{};
  TGuidBytes ones{};
  ones.fill(0xFF);
  const TGuidBytes fromZeros = RandomGuidFromBytes(zeros);
  const TGuidBytes fromOnes = RandomGuidFromBytes(ones);
  for (size_t index = 0; index < kGuidByteSize; ++index) {
    const uint8_t zeroExpected = index == 7 ? 0x40 : index == 8 ? 0x80 : 0x00;
    const uint8_t oneExpected = index == 7 ? 0x4F : index == 8 ? 0xBF : 0xFF;
    EXPECT_EQ(fromZeros[index], zeroExpected) << index;
    EXPECT_EQ(fromOnes[index], oneExpected) << index;
  }
  EXPECT_EQ(GUIDToString(GUIDFromBytes(fromZeros)), "{00000000-0000-4000-8000-000000000000}");
}

TEST(GuidTest, NewGuidsDifferAndReadAsVersionFour) {
  std::set<std::string> seen;
  for (int count = 0; count < 100; ++count) {
    const std::optional<TGuidBytes> bytes = CreateGuid();
    ASSERT_TRUE(bytes.has_value());
    const std::string text = GUIDToString(GUIDFromBytes(*bytes));
    EXPECT_EQ(text[15], '4') << text;
    EXPECT_NE(std::string("89AB").find(text[20]), std::string::npos) << text;
    EXPECT_TRUE(seen.insert(text).second) << text << " came twice";
  }
}

}  // namespace
}  // namespace zelk::tests
