#include <gtest/gtest.h>

#include "runtime/Exceptions.h"
#include "runtime/Stream.h"
#include "runtime/Text.h"

namespace zelk::tests {
namespace {

TEST(MemoryStream, KeepsOneContiguousBufferAndReadsExactly) {
  TMemoryStream stream;
  const char text[] = "TPF0";
  stream.WriteBuffer(text, 4);
  stream.WriteValue<int32_t>(-2);
  EXPECT_EQ(stream.Size(), 8);
  EXPECT_EQ(stream.Memory()[0], 'T');
  stream.SetPosition(4);
  EXPECT_EQ(stream.ReadValue<int32_t>(), -2);
  char byte;
  try {
    stream.ReadBuffer(&byte, 1);
    FAIL();
  } catch (const EReadError& error) {
    EXPECT_STREQ(error.what(), "Stream-Lesefehler");
  }
}

TEST(MemoryStream, SizeChangesZeroFillAndClampThePosition) {
  TMemoryStream stream;
  stream.SetSize(3);
  EXPECT_EQ(stream.Bytes()[2], 0);
  stream.SetPosition(3);
  stream.SetSize(1);
  EXPECT_EQ(stream.Position(), 1);
  EXPECT_EQ(stream.Seek(-10, TSeekOrigin::soCurrent), 0);
}

TEST(ReadOnlyMemoryStream, ReadsForeignBytesAndRefusesWrites) {
  const uint8_t bytes[] = {1, 2, 3};
  TReadOnlyMemoryStream stream(bytes);
  EXPECT_EQ(stream.ReadValue<uint8_t>(), 1);
  EXPECT_THROW(stream.WriteValue<uint8_t>(9), EWriteError);
  EXPECT_EQ(bytes[1], 2);
}

// Limits on texts count characters and never split one.
TEST(Text, LimitsNeverSplitACharacter) {
  const std::string degrees = "90\xC2\xB0";  // "90°"
  EXPECT_EQ(CharacterCount(degrees), 3u);
  EXPECT_EQ(FirstCharacters(degrees, 3), degrees);
  EXPECT_EQ(FirstCharacters(degrees, 2), "90");
  EXPECT_EQ(FitBytes(degrees, 3), "90");
  char buffer[4];
  CopyToBuffer(buffer, sizeof buffer, degrees);
  EXPECT_STREQ(buffer, "90");
  CopyToBuffer(nullptr, 8, degrees);  // writes nothing, does not fail
  CopyToBuffer(buffer, 1, degrees);
  EXPECT_STREQ(buffer, "");
}

TEST(Text, WideTextBecomesTheSystemCodePage) {
  EXPECT_EQ(WideToSystem(u"\u00B0"), "\xC2\xB0");
  EXPECT_EQ(SystemToWide("\xC2\xB0"), u"\u00B0");
  EXPECT_EQ(WideToSystem(u"\xD800"), "\xEF\xBF\xBD");  // unpaired surrogate
  EXPECT_EQ(CharacterCount("\xC3"), 1u);                 // truncated sequence
}

TEST(Text, IdentifiersAndCaseInsensitiveNames) {
  EXPECT_TRUE(IsValidIdent("_2in2out"));
  EXPECT_FALSE(IsValidIdent("2in2out"));
  EXPECT_FALSE(IsValidIdent(""));
  EXPECT_FALSE(IsValidIdent("a.b"));
  EXPECT_TRUE(SameText("Owner", "oWNER"));
  EXPECT_FALSE(SameText("Owner", "Owners"));
}

TEST(Messages, FormatFillsPlaceholdersInOrder) {
  EXPECT_EQ(FormatMessage("Fehler beim Lesen von %s%s%s: %s", {"Zelk", ".", "Angle", "x"}),
            "Fehler beim Lesen von Zelk.Angle: x");
  EXPECT_EQ(FormatMessage("%s_%d", {"FmZelk", "1"}), "FmZelk_1");
}

}  // namespace
}  // namespace zelk::tests
