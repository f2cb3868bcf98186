#include "resources/TextFormCompiler.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>

#include "resources/TextFormSyntax.h"
#include "resources/ValueWriter.h"
#include "runtime/Float80.h"
#include "runtime/Stream.h"
#include "runtime/SystemCodePage.h"
#include "runtime/Text.h"

namespace zelk {

namespace {

enum class TTokenKind { tkName, tkQuotedName, tkString, tkInteger, tkFloat, tkSymbol, tkEnd };

struct TToken {
  TTokenKind Kind = TTokenKind::tkEnd;
  int Line = 0;
  std::string Text;        // names; the symbol character
  std::u16string Units;    // strings
  bool Wide = false;       // strings: needs UTF-16
  int64_t Integer = 0;
  TFloat80Bytes Float{};
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsNameChar(char c) { return IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '.'; }

// Digits of a float literal's mantissa, leading zeros not counted.
int SignificantDigits(std::string_view literal) {
  int count = 0;
  for (char c : literal) {
    if (c == 'e' || c == 'E') break;
    if (IsDigit(c) && (count > 0 || c != '0')) ++count;
  }
  return count;
}

// More digits than any double's shortest text: the literal names an
// extended value (TextFormSyntax.h).
constexpr int kMostDoubleDigits = 17;

bool ParseFloat(std::string_view literal, TFloat80Bytes& value) {
  const char* first = literal.data();
  const char* last = literal.data() + literal.size();
  if constexpr (kLongDoubleIsFloat80) {
    if (SignificantDigits(literal) > kMostDoubleDigits) {
      long double extended = 0.0L;
      const auto result = std::from_chars(first, last, extended);
      value = LongDoubleToFloat80(extended);
      return result.ec == std::errc() && result.ptr == last;
    }
  }
  double number = 0.0;
  const auto result = std::from_chars(first, last, number);
  value = DoubleToFloat80(number);
  return result.ec == std::errc() && result.ptr == last;
}

class TLexer {
 public:
  explicit TLexer(std::string_view text) : text_(text) {}

  TToken Next() {
    SkipBlanks();
    TToken token;
    token.Line = line_;
    if (at_ >= text_.size()) return token;
    const char c = text_[at_];
    if (c == '\'' || c == '#') return ReadString(token);
    if (c == '`') return ReadQuotedName(token);
    if (IsDigit(c) || ((c == '-' || c == '+') && at_ + 1 < text_.size() && (IsDigit(text_[at_ + 1]) || IsSpecialFloatAt(at_ + 1)))) {
      return ReadNumber(token);
    }
    if (IsNameChar(c) && !IsDigit(c) && c != '.') return ReadName(token);
    token.Kind = TTokenKind::tkSymbol;
    token.Text = std::string(1, c);
    ++at_;
    return token;
  }

  // The raw characters of a hexadecimal block up to its closing brace.
  std::string ReadUpTo(char terminator) {
    const size_t start = at_;
    while (at_ < text_.size() && text_[at_] != terminator) {
      if (text_[at_] == '\n') ++line_;
      ++at_;
    }
    if (at_ >= text_.size()) Fail("missing '" + std::string(1, terminator) + "'");
    return std::string(text_.substr(start, at_++ - start));
  }

  [[noreturn]] void Fail(const std::string& message) const {
    throw ETextFormError("line " + std::to_string(line_) + ": " + message);
  }

 private:
  void SkipBlanks() {
    while (at_ < text_.size()) {
      const char c = text_[at_];
      if (c == '\n') {
        ++line_;
        ++at_;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++at_;
      } else if (c == '/' && at_ + 1 < text_.size() && text_[at_ + 1] == '/') {
        while (at_ < text_.size() && text_[at_] != '\n') ++at_;
      } else {
        return;
      }
    }
  }

  bool IsSpecialFloatAt(size_t position) const {
    const std::string_view rest = text_.substr(position);
    return rest.starts_with("Inf") || rest.starts_with("NaN");
  }

  TToken ReadName(TToken& token) {
    const size_t start = at_;
    while (at_ < text_.size() && IsNameChar(text_[at_])) ++at_;
    token.Kind = TTokenKind::tkName;
    token.Text = std::string(text_.substr(start, at_ - start));
    if (!textform::IsPlainName(token.Text)) Fail("malformed name '" + token.Text + "'");
    return token;
  }

  TToken ReadQuotedName(TToken& token) {
    ++at_;
    token.Kind = TTokenKind::tkQuotedName;
    while (true) {
      if (at_ >= text_.size()) Fail("missing closing back quote");
      const char c = text_[at_++];
      if (c == '`') {
        if (at_ < text_.size() && text_[at_] == '`') {
          token.Text += '`';
          ++at_;
          continue;
        }
        return token;
      }
      if (c == '\n') ++line_;
      token.Text += c;
    }
  }

  TToken ReadString(TToken& token) {
    token.Kind = TTokenKind::tkString;
    while (at_ < text_.size() && (text_[at_] == '\'' || text_[at_] == '#')) {
      if (text_[at_] == '#') {
        ReadCharacterCode(token);
      } else {
        ReadQuoted(token);
      }
    }
    return token;
  }

  void ReadCharacterCode(TToken& token) {
    ++at_;
    const size_t start = at_;
    while (at_ < text_.size() && IsDigit(text_[at_])) ++at_;
    uint32_t code = 0;
    const auto [end, error] = std::from_chars(text_.data() + start, text_.data() + at_, code);
    if (start == at_ || error != std::errc() || code > 0x10FFFF) Fail("bad character code");
    if (code > 0xFF) token.Wide = true;
    if (code >= 0x10000) {
      token.Units += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
      token.Units += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      token.Units += static_cast<char16_t>(code);  // lone surrogates stay as they are
    }
  }

  void ReadQuoted(TToken& token) {
    ++at_;
    std::string piece;
    while (true) {
      if (at_ >= text_.size() || text_[at_] == '\n') Fail("unterminated string");
      const char c = text_[at_++];
      if (c == '\'') {
        if (at_ < text_.size() && text_[at_] == '\'') {
          piece += '\'';
          ++at_;
          continue;
        }
        break;
      }
      piece += c;
    }
    if (!IsAscii(piece)) token.Wide = true;
    token.Units += Utf8ToWide(piece);
  }

  TToken ReadNumber(TToken& token) {
    const size_t start = at_;
    if (text_[at_] == '+' || text_[at_] == '-') ++at_;
    if (IsSpecialFloatAt(at_)) return ReadSpecialFloat(token, start);
    bool isFloat = false;
    while (at_ < text_.size()) {
      const char c = text_[at_];
      if (c == '.' || c == 'e' || c == 'E') {
        isFloat = true;
      } else if ((c == '+' || c == '-') && (text_[at_ - 1] == 'e' || text_[at_ - 1] == 'E')) {
      } else if (!IsDigit(c)) {
        break;
      }
      ++at_;
    }
    std::string_view literal = text_.substr(start, at_ - start);
    if (literal.starts_with('+')) literal.remove_prefix(1);
    const char* first = literal.data();
    const char* last = literal.data() + literal.size();
    bool parsed = false;
    if (isFloat) {
      token.Kind = TTokenKind::tkFloat;
      parsed = ParseFloat(literal, token.Float);
    } else {
      token.Kind = TTokenKind::tkInteger;
      const auto result = std::from_chars(first, last, token.Integer);
      parsed = result.ec == std::errc() && result.ptr == last;
    }
    if (!parsed) Fail("bad number '" + std::string(literal) + "'");
    return token;
  }

  TToken ReadSpecialFloat(TToken& token, size_t start) {
    const bool negative = text_[start] == '-';
    const bool notANumber = text_.substr(at_).starts_with("NaN");
    at_ += 3;
    token.Kind = TTokenKind::tkFloat;
    if (notANumber) {
      token.Float = DoubleToFloat80(std::numeric_limits<double>::quiet_NaN());
    } else {
      const double infinity = std::numeric_limits<double>::infinity();
      token.Float = DoubleToFloat80(negative ? -infinity : infinity);
    }
    return token;
  }

  std::string_view text_;
  size_t at_ = 0;
  int line_ = 1;
};

class TCompiler {
 public:
  TCompiler(std::string_view text, TStream& output, const TTextFormSources& sources)
      : lexer_(text), values_(output), sources_(sources) {
    Advance();
  }

  void CompileStream() {
    values_.WriteSignature();
    if (!IsObjectStart()) Fail("expected 'object'");
    CompileObject();
    if (token_.Kind != TTokenKind::tkEnd) Fail("text after the root object");
  }

 private:
  void Advance() { token_ = lexer_.Next(); }
  [[noreturn]] void Fail(const std::string& message) const {
    throw ETextFormError("line " + std::to_string(token_.Line) + ": " + message);
  }

  bool IsWord(std::string_view word) const { return token_.Kind == TTokenKind::tkName && SameText(token_.Text, word); }
  bool IsSymbol(char symbol) const { return token_.Kind == TTokenKind::tkSymbol && token_.Text[0] == symbol; }
  bool IsObjectStart() const { return IsWord("object") || IsWord("inherited") || IsWord("inline"); }

  void Expect(char symbol) {
    if (!IsSymbol(symbol)) Fail(std::string("expected '") + symbol + "'");
    Advance();
  }

  std::string TakeName(const char* what) {
    if (token_.Kind != TTokenKind::tkName && token_.Kind != TTokenKind::tkQuotedName) Fail(std::string("expected ") + what);
    std::string name = token_.Text;
    Advance();
    return name;
  }

  int64_t TakeInteger() {
    if (token_.Kind != TTokenKind::tkInteger) Fail("expected an integer");
    const int64_t value = token_.Integer;
    Advance();
    return value;
  }

  struct TNesting {
    explicit TNesting(TCompiler& compiler) : compiler_(compiler) {
      if (++compiler_.depth_ > textform::kMaxNesting) compiler_.Fail("nested too deeply");
    }
    ~TNesting() { --compiler_.depth_; }
    TCompiler& compiler_;
  };

  void CompileObject() {
    TNesting nesting(*this);
    uint8_t flags = 0;
    if (IsWord("inherited")) flags = ffInherited;
    if (IsWord("inline")) flags = ffInline;
    Advance();
    std::string name;
    std::string className = TakeName("a class name");
    if (IsSymbol(':')) {
      Advance();
      name = std::move(className);
      className = TakeName("a class name");
    }
    std::optional<int64_t> childPosition;
    if (IsSymbol('[')) {
      Advance();
      childPosition = TakeInteger();
      Expect(']');
    }
    values_.WriteObjectHeader(className, name, flags, childPosition);
    CompileProperties();
    while (IsObjectStart()) CompileObject();
    values_.WriteListEnd();
    if (!IsWord("end")) Fail("expected 'end'");
    Advance();
  }

  // Properties up to the first child, 'end' or the end of a collection item.
  void CompileProperties() {
    while ((token_.Kind == TTokenKind::tkName && !textform::IsBlockKeyword(token_.Text)) ||
           token_.Kind == TTokenKind::tkQuotedName) {
      const std::string name = TakeName("a property name");
      if (name.empty()) Fail("empty property name");  // would end the list of properties
      values_.WriteStr(name);
      Expect('=');
      CompileValue();
    }
    values_.WriteListEnd();
  }

  void CompileValue() {
    switch (token_.Kind) {
      case TTokenKind::tkInteger:
        values_.WriteInteger(token_.Integer);
        return Advance();
      case TTokenKind::tkFloat:
        values_.WriteExtended(token_.Float);
        return Advance();
      case TTokenKind::tkString:
        CompileString();
        return Advance();
      case TTokenKind::tkQuotedName:
        values_.WriteTag(TValueTag::vaIdent);
        values_.WriteStr(token_.Text);
        return Advance();
      case TTokenKind::tkName:
        return CompileIdentValue();
      case TTokenKind::tkSymbol:
        return CompileBracketed();
      case TTokenKind::tkEnd:
        break;
    }
    Fail("expected a value");
  }

  void CompileString() {
    if (token_.Wide) return values_.WriteWideString(token_.Units);
    std::string bytes;
    bytes.reserve(token_.Units.size());
    for (char16_t unit : token_.Units) bytes += static_cast<char>(unit);
    values_.WriteBytesString(bytes);
  }

  void CompileIdentValue() {
    if (IsWord("file")) return CompileBinarySource(sources_.File, "files");
    if (IsWord("picture")) return CompileBinarySource(sources_.Picture, "pictures");
    if (textform::IsBlockKeyword(token_.Text)) Fail("expected a value");
    values_.WriteIdent(token_.Text);  // True, False, nil and Null take tags of their own
    Advance();
  }

  // file('path') and picture('path'): a binary value from the caller.
  void CompileBinarySource(const TTextFormBinarySource& source, const std::string& what) {
    Advance();
    Expect('(');
    if (token_.Kind != TTokenKind::tkString) Fail("expected a file name");
    if (!source) Fail(what + " cannot be embedded here");
    const std::string path = WideToUtf8(token_.Units);
    values_.WriteBinary(source(path));
    Advance();
    Expect(')');
  }

  void CompileBracketed() {
    TNesting nesting(*this);
    const char symbol = token_.Text[0];
    if (symbol == '{') return CompileBinary();
    Advance();
    switch (symbol) {
      case '[':
        return CompileSet();
      case '<':
        return CompileCollection();
      case '(':
        values_.WriteListBegin();
        while (!IsSymbol(')')) CompileValue();
        values_.WriteListEnd();
        return Advance();
      default:
        Fail(std::string("unexpected '") + symbol + "'");
    }
  }

  void CompileSet() {
    std::vector<std::string> names;
    while (!IsSymbol(']')) {
      if (!names.empty()) Expect(',');
      names.push_back(TakeName("a set element"));
      if (names.back().empty()) Fail("empty set element");
    }
    Advance();
    std::vector<std::string_view> views(names.begin(), names.end());
    values_.WriteSet(views);
  }

  void CompileCollection() {
    values_.WriteCollectionBegin();
    while (!IsSymbol('>')) {
      if (!IsWord("item")) Fail("expected 'item' or '>'");
      Advance();
      if (token_.Kind == TTokenKind::tkInteger) {
        const int64_t position = TakeInteger();
        if (position < INT32_MIN || position > INT32_MAX) Fail("item position out of range");
        values_.WriteInteger(position);
      }
      values_.WriteListBegin();
      CompileProperties();
      if (!IsWord("end")) Fail("expected 'end'");
      Advance();
    }
    values_.WriteListEnd();
    Advance();
  }

  void CompileBinary() {
    const std::string digits = lexer_.ReadUpTo('}');
    std::vector<uint8_t> bytes;
    int pending = -1;
    for (char c : digits) {
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
      int nibble = -1;
      if (IsDigit(c)) nibble = c - '0';
      if (c >= 'A' && c <= 'F') nibble = c - 'A' + 10;
      if (c >= 'a' && c <= 'f') nibble = c - 'a' + 10;
      if (nibble < 0) Fail("bad hexadecimal digit");
      if (pending < 0) {
        pending = nibble;
      } else {
        bytes.push_back(static_cast<uint8_t>(pending * 16 + nibble));
        pending = -1;
      }
    }
    if (pending >= 0) Fail("odd number of hexadecimal digits");
    values_.WriteBinary(bytes);
    Advance();
  }

  TLexer lexer_;
  TBinaryValueWriter values_;
  const TTextFormSources& sources_;
  TToken token_;
  int depth_ = 0;
};

}  // namespace

std::vector<uint8_t> CompileComponentText(std::string_view text, const TTextFormSources& sources) {
  TMemoryStream output;
  TCompiler(text, output, sources).CompileStream();
  return output.ToVector();
}

}  // namespace zelk
