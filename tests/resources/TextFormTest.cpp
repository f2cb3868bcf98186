#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestComponents.h"
#include "resources/TextFormCompiler.h"
#include "resources/TextFormPrinter.h"
#include "runtime/Exceptions.h"

namespace zelk::tests {
namespace {

std::vector<uint8_t> ValueBytes(std::string_view value) {
  // The bytes of the one property value in "object A: T P = value end".
  const std::vector<uint8_t> stream = Compiled("object A: T\n  P = " + std::string(value) + "\nend\n");
  const size_t start = 4 + 2 + 2 + 2;  // signature, class, name, property name
  return {stream.begin() + start, stream.end() - 2};
}

std::string CompileError(std::string_view text) {
  try {
    Compiled(text);
  } catch (const ETextFormError& error) {
    return error.Message();
  }
  return {};
}

TEST(TextForm, ValuesBecomeTheTagsOfTheirKind) {
  EXPECT_EQ(ValueBytes("-11"), (std::vector<uint8_t>{2, 0xF5}));
  EXPECT_EQ(ValueBytes("-5000000000"), (std::vector<uint8_t>{19, 0x00, 0x0E, 0xFA, 0xD5, 0xFE, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(ValueBytes("1.0"), (std::vector<uint8_t>{5, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}));
  EXPECT_EQ(ValueBytes("1e0"), ValueBytes("1.0"));
  EXPECT_EQ(ValueBytes("'°'"), (std::vector<uint8_t>{18, 1, 0, 0, 0, 0xB0, 0}));
  EXPECT_EQ(ValueBytes("#176"), (std::vector<uint8_t>{6, 1, 0xB0}));
  EXPECT_EQ(ValueBytes("'It''s'#13#10"), (std::vector<uint8_t>{6, 6, 'I', 't', '\'', 's', 13, 10}));
  EXPECT_EQ(ValueBytes("#9731"), (std::vector<uint8_t>{18, 1, 0, 0, 0, 0x03, 0x26}));
  EXPECT_EQ(ValueBytes("clBlack"), (std::vector<uint8_t>{7, 7, 'c', 'l', 'B', 'l', 'a', 'c', 'k'}));
  EXPECT_EQ(ValueBytes("True"), (std::vector<uint8_t>{9}));
  EXPECT_EQ(ValueBytes("`True`"), (std::vector<uint8_t>{7, 4, 'T', 'r', 'u', 'e'}));
  EXPECT_EQ(ValueBytes("Null"), (std::vector<uint8_t>{0}));
  EXPECT_EQ(ValueBytes("[a, b]"), (std::vector<uint8_t>{11, 1, 'a', 1, 'b', 0}));
  EXPECT_EQ(ValueBytes("[]"), (std::vector<uint8_t>{11, 0}));
  EXPECT_EQ(ValueBytes("{ 0a FF\n 10 }"), (std::vector<uint8_t>{10, 3, 0, 0, 0, 0x0A, 0xFF, 0x10}));
  EXPECT_EQ(ValueBytes("<>"), (std::vector<uint8_t>{14, 0}));
  EXPECT_EQ(ValueBytes("<item 3 X = 1 end>"), (std::vector<uint8_t>{14, 2, 3, 1, 1, 'X', 2, 1, 0, 0}));
  EXPECT_EQ(ValueBytes("(1 (2))"), (std::vector<uint8_t>{1, 2, 1, 1, 2, 2, 0, 0}));
}

TEST(TextForm, ObjectFlagsAndChildPositionsAreWrittenAsThePrefix) {
  const std::vector<uint8_t> stream = Compiled("object R: T inherited C: U [2] end inline V end end");
  const std::vector<uint8_t> expected = TBytes()
                                            .Root("T", "R")
                                            .Raw({0})
                                            .Raw({0xF3, 2, 2})
                                            .Str("U")
                                            .Str("C")
                                            .Raw({0, 0})
                                            .Raw({0xF4})
                                            .Str("V")
                                            .Str("")
                                            .Raw({0, 0, 0})
                                            .Bytes();
  EXPECT_EQ(stream, expected);
  // A class name of 240 bytes or more would read as a prefix byte; one goes first.
  const std::string longClass(240, 'T');
  const std::vector<uint8_t> longStream = Compiled("object " + longClass + " end");
  EXPECT_EQ(longStream.at(4), 0xF0);
  EXPECT_EQ(PrintComponentStream(longStream), "object " + longClass + "\nend\n");
}

// file() and picture() become binary values that the caller supplies from
// the path; without a source for them they are errors.
TEST(TextForm, FilesAndPicturesAreEmbeddedThroughTheirSources) {
  std::vector<std::string> asked;
  const auto source = [&asked](uint8_t first) {
    return [&asked, first](std::string_view path) {
      asked.emplace_back(path);
      return std::vector<uint8_t>{first, 8};
    };
  };
  const TTextFormSources sources{.File = source(7), .Picture = source(9)};
  const std::vector<uint8_t> stream =
      CompileComponentText("object A: T P = file('pictures/knob.dib') Q = picture('back.png') end", sources);
  EXPECT_EQ(asked, (std::vector<std::string>{"pictures/knob.dib", "back.png"}));
  EXPECT_EQ(std::vector<uint8_t>(stream.end() - 18, stream.end()),
            (std::vector<uint8_t>{10, 2, 0, 0, 0, 7, 8, 1, 'Q', 10, 2, 0, 0, 0, 9, 8, 0, 0}));
  EXPECT_EQ(CompileError("object A: T\n P = file('x')\nend"), "line 2: files cannot be embedded here");
  EXPECT_EQ(CompileError("object A: T\n P = picture('x')\nend"), "line 2: pictures cannot be embedded here");
  EXPECT_EQ(CompileError("object A: T P = picture end"), "line 1: expected '('");
  EXPECT_EQ(PrintComponentStream(Compiled("object A: T P = `picture` end")), "object A: T\n  P = `picture`\nend\n");
}

TEST(TextForm, SyntaxErrorsNameTheLine) {
  EXPECT_EQ(CompileError("object A: T\n  P =\nend"), "line 3: expected a value");
  EXPECT_EQ(CompileError("object A: T\n  P = 'open\nend"), "line 2: unterminated string");
  EXPECT_EQ(CompileError("object A: T\n  P = 1\n"), "line 3: expected 'end'");
  EXPECT_EQ(CompileError("A: T end"), "line 1: expected 'object'");
  EXPECT_EQ(CompileError("object A: T end end"), "line 1: text after the root object");
  EXPECT_EQ(CompileError("object A: T P = { 0 } end"), "line 1: odd number of hexadecimal digits");
  EXPECT_EQ(CompileError("object A: T P = 99999999999999999999 end"), "line 1: bad number '99999999999999999999'");
  EXPECT_EQ(CompileError("object A: T P = <item 5000000000 end> end"), "line 1: item position out of range");
  EXPECT_EQ(CompileError(std::string(300, '(')), "line 1: expected 'object'");
  EXPECT_EQ(CompileError("object A: T\n  `` = 1\nend"), "line 2: empty property name");
  std::string deep = "object A: T P = ";
  for (int i = 0; i < 1000; ++i) deep += '(';
  EXPECT_EQ(CompileError(deep), "line 1: nested too deeply");
}

// The canonical form: printing what was compiled gives the same text back.
constexpr std::string_view kCanonical = R"(object Form: TForm
  Count = -11
  Wide = 5000000000
  Ratio = 0.1
  Huge = 1.0e+300
  Tiny = -2.5e-07
  Odd = +Inf
  Title = 'It''s'#13#10'°☃'
  Keyword = `item`
  Raw = 'x'#176#0
  Empty = ''
  Colour = clBtnFace
  Enabled = True
  Off = False
  Link = nil
  Shade = Null
  Named = `True`
  Other = Form2.List
  `end` = 1
  `odd name` = `odd value`
  Flags = [pfHasEditor, `odd member`]
  NoFlags = []
  Items = <
    item
      Caption = 'one'
    end
    item 3
    end>
  NoItems = <>
  Data = {
    000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F
    20}
  NoData = {}
  Values = (
    1
    (
      'two')
    [three])
  NoValues = ()
  object Panel: TPanel
    inline TFrame [2]
    end
  end
  inherited List: TList
  end
  inherited `` [1]
  end
  object ``
  end
end
)";

TEST(TextForm, PrintingACompiledStreamGivesTheCanonicalTextBack) {
  EXPECT_EQ(PrintComponentStream(Compiled(kCanonical)), kCanonical);
}

TEST(TextForm, AnyStreamPrintsToTextThatPrintsTheSameOnceCompiled) {
  // Tags the compiler never writes: long, UTF-8 and ASCII-only wide text,
  // single, currency and date floats, a 32-bit integer that fits 8 bits.
  const std::vector<uint8_t> foreign = TBytes()
                                           .Root("T", "")
                                           .Str("Long").Raw({12}).Int32(3).Text("abc")
                                           .Str("Utf8").Raw({20}).Int32(2).Text("\xC2\xB0")
                                           .Str("WideAscii").Raw({18}).Int32(1).Raw({'a', 0})
                                           .Str("Lone").Raw({18}).Int32(1).Raw({0x00, 0xD8})
                                           .Str("Single").Raw({15, 0, 0, 0xC0, 0x3F})
                                           .Str("Money").Raw({16, 0x88, 0x13, 0, 0, 0, 0, 0, 0})
                                           .Str("Date").Raw({17, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F})
                                           .Str("Small").Raw({4}).Int32(1)
                                           .Raw({0, 0})
                                           .Bytes();
  const std::string printed = PrintComponentStream(foreign);
  EXPECT_EQ(printed,
            "object T\n"
            "  Long = 'abc'\n"
            "  Utf8 = '°'\n"
            "  WideAscii = 'a'\n"
            "  Lone = #55296\n"
            "  Single = 1.5\n"
            "  Money = 0.5\n"
            "  Date = 1.0\n"
            "  Small = 1\n"
            "end\n");
  EXPECT_EQ(PrintComponentStream(Compiled(printed)), printed);
}

TEST(TextForm, MalformedStreamsFailToPrintWithTheReadersError) {
  EXPECT_THROW(PrintComponentStream(TBytes().Text("TPF0").Str("T").Bytes()), EReadError);
  EXPECT_THROW(PrintComponentStream(TBytes().Root("T", "").Str("P").Raw({99}).Bytes()), EReadError);
}

}  // namespace
}  // namespace zelk::tests
