#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "resources/ValueReader.h"
#include "resources/ValueWriter.h"
#include "runtime/Exceptions.h"
#include "runtime/Stream.h"

namespace zelk::tests {
namespace {

// A value written and the reader positioned at its start.
class ValueStream : public ::testing::Test {
 protected:
  TBinaryValueWriter& Writer() { return writer_; }
  TBinaryValueReader& Reader() {
    stream_.SetPosition(0);
    return reader_;
  }
  std::vector<uint8_t> Bytes() { return stream_.ToVector(); }
  uint8_t FirstTag() { return Bytes().at(0); }

 private:
  TMemoryStream stream_;
  TBinaryValueWriter writer_{stream_};
  TBinaryValueReader reader_{stream_};
};

TEST_F(ValueStream, IntegersTakeTheSmallestTagThatHoldsThem) {
  const std::pair<int64_t, uint8_t> cases[] = {
      {0, 2},          {-11, 2},        {127, 2},       {-128, 2},       {128, 3},
      {245, 3},        {-129, 3},       {32767, 3},     {-32768, 3},     {32768, 4},
      {2039583, 4},    {INT32_MAX, 4},  {INT32_MIN, 4}, {int64_t{INT32_MAX} + 1, 19},
      {INT64_MIN, 19}, {INT64_MAX, 19},
  };
  for (const auto& [value, tag] : cases) {
    TMemoryStream stream;
    TBinaryValueWriter(stream).WriteInteger(value);
    ASSERT_EQ(stream.ToVector().at(0), tag) << value;
    stream.SetPosition(0);
    EXPECT_EQ(TBinaryValueReader(stream).ReadInteger(), value);
  }
}

TEST_F(ValueStream, FloatsAreExtendedAndComeBackExactly) {
  for (double value : {0.0, -0.0, 1.0 / 3.0, 44100.0, -1e300, std::numeric_limits<double>::denorm_min()}) {
    TMemoryStream stream;
    TBinaryValueWriter(stream).WriteFloat(value);
    ASSERT_EQ(stream.ToVector().size(), 11u);
    ASSERT_EQ(stream.ToVector()[0], 5);
    stream.SetPosition(0);
    const double read = TBinaryValueReader(stream).ReadFloat();
    EXPECT_EQ(std::signbit(read), std::signbit(value));
    EXPECT_EQ(read, value);
  }
}

TEST_F(ValueStream, AsciiTextIsShortOrLongStringAndOtherTextIsUtf16) {
  Writer().WriteString("Angle");
  Writer().WriteString(std::string(256, 'x'));
  Writer().WriteString("°");
  Writer().WriteText(u"plain");
  Writer().WriteText(u"\u00B0");
  const std::vector<uint8_t> bytes = Bytes();
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 7), (std::vector<uint8_t>{6, 5, 'A', 'n', 'g', 'l', 'e'}));
  EXPECT_EQ(bytes[7], 12);
  const std::vector<uint8_t> degree{18, 1, 0, 0, 0, 0xB0, 0x00};
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 7 + 5 + 256, bytes.begin() + 7 + 5 + 256 + 7), degree);
  TBinaryValueReader& reader = Reader();
  EXPECT_EQ(reader.ReadString(), "Angle");
  EXPECT_EQ(reader.ReadString(), std::string(256, 'x'));
  EXPECT_EQ(reader.ReadString(), "°");
  EXPECT_EQ(reader.ReadWideString(), u"plain");
  EXPECT_EQ(reader.ReadWideString(), u"\u00B0");
}

TEST_F(ValueStream, IdentifiersNamingConstantsTakeTheirOwnTags) {
  for (const char* ident : {"True", "False", "nil", "Null", "clBlack"}) Writer().WriteIdent(ident);
  EXPECT_EQ(Bytes(), (std::vector<uint8_t>{9, 8, 13, 0, 7, 7, 'c', 'l', 'B', 'l', 'a', 'c', 'k'}));
  TBinaryValueReader& reader = Reader();
  for (const char* ident : {"True", "False", "nil", "Null", "clBlack"}) EXPECT_EQ(reader.ReadIdent(), ident);
}

TEST_F(ValueStream, SetsBinaryBlocksAndStructureTagsComeBack) {
  const std::string_view members[] = {"pfHasEditor", "pfFlagsCanReplacing"};
  Writer().WriteSet(members);
  Writer().WriteBinary(std::vector<uint8_t>{1, 2, 3});
  Writer().WriteBoolean(true);
  Writer().WriteNil();
  Writer().WriteCollectionBegin();
  Writer().WriteListBegin();
  Writer().WriteListEnd();
  TBinaryValueReader& reader = Reader();
  ASSERT_EQ(reader.ReadValue(), TValueTag::vaSet);
  EXPECT_EQ(reader.ReadSetPayload(), (std::vector<std::string>{"pfHasEditor", "pfFlagsCanReplacing"}));
  ASSERT_EQ(reader.ReadValue(), TValueTag::vaBinary);
  EXPECT_EQ(reader.ReadBinaryPayload(), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_TRUE(reader.ReadBoolean());
  EXPECT_EQ(reader.ReadValue(), TValueTag::vaNil);
  EXPECT_EQ(reader.ReadValue(), TValueTag::vaCollection);
  reader.ReadListBegin();
  reader.ReadListEnd();
}

TEST_F(ValueStream, SkippingAValueLeavesTheReaderAtTheNextOne) {
  const std::string_view members[] = {"a", "b"};
  Writer().WriteInteger(100000);
  Writer().WriteFloat(2.5);
  Writer().WriteString("text");
  Writer().WriteString("°");
  Writer().WriteSet(members);
  Writer().WriteBinary(std::vector<uint8_t>(70, 1));
  Writer().WriteCollectionBegin();
  Writer().WriteInteger(3);
  Writer().WriteListBegin();
  Writer().WriteStr("Value");
  Writer().WriteInteger(1);
  Writer().WriteListEnd();
  Writer().WriteListEnd();
  Writer().WriteIdent("Marker");
  TBinaryValueReader& reader = Reader();
  for (int i = 0; i < 7; ++i) reader.SkipValue();
  EXPECT_EQ(reader.ReadIdent(), "Marker");
}

TEST_F(ValueStream, AValueOfTheWrongKindIsAnInvalidPropertyValue) {
  Writer().WriteString("x");
  const auto expectInvalid = [this](auto read) {
    try {
      read(Reader());
      ADD_FAILURE() << "no error";
    } catch (const EReadError& error) {
      EXPECT_STREQ(error.what(), "Ungültiger Eigenschaftswert");
    }
  };
  expectInvalid([](TBinaryValueReader& reader) { reader.ReadInteger(); });
  expectInvalid([](TBinaryValueReader& reader) { reader.ReadFloat(); });
  expectInvalid([](TBinaryValueReader& reader) { reader.ReadIdent(); });
  expectInvalid([](TBinaryValueReader& reader) { reader.ReadBoolean(); });
}

TEST_F(ValueStream, NamesLongerThanAShortStringCannotBeWritten) {
  try {
    Writer().WriteStr(std::string(256, 'n'));
    ADD_FAILURE() << "no error";
  } catch (const EWriteError& error) {
    EXPECT_EQ(error.Message(), "Bezeichner " + std::string(256, 'n') + " ist länger als 255 Bytes");
  }
}

}  // namespace
}  // namespace zelk::tests
