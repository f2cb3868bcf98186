#include "resources/TextFormPrinter.h"

#include <charconv>
#include <cmath>

#include "resources/TextFormSyntax.h"
#include "resources/ValueReader.h"
#include "runtime/Float80.h"
#include "runtime/Stream.h"
#include "runtime/SystemCodePage.h"
#include "runtime/Text.h"

namespace zelk {

namespace {

constexpr size_t kBinaryBytesPerLine = 32;

std::string QuotedName(std::string_view name) {
  std::string quoted = "`";
  for (char c : name) {
    quoted += c;
    if (c == '`') quoted += '`';
  }
  return quoted + "`";
}

std::string NameText(std::string_view name) {
  if (textform::IsPlainName(name) && !textform::IsBlockKeyword(name)) return std::string(name);
  return QuotedName(name);
}

std::string IdentText(std::string_view ident) {
  if (textform::IsPlainName(ident) && !textform::IsValueKeyword(ident) && !textform::IsBlockKeyword(ident)) {
    return std::string(ident);
  }
  return QuotedName(ident);
}

std::string FloatText(double value) {
  if (std::isnan(value)) return "+NaN";
  if (std::isinf(value)) return value > 0 ? "+Inf" : "-Inf";
  char digits[64];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);  // shortest round trip
  std::string text(digits, result.ptr);
  // Always a point, so that the compiler reads a float again: 44100.0, 1.0e+300.
  if (text.find('.') == std::string::npos) {
    const size_t exponent = text.find('e');
    text.insert(exponent == std::string::npos ? text.size() : exponent, ".0");
  }
  return text;
}

// Normal numbers in their canonical encoding (the explicit leading bit
// set): the values whose decimal text can read back to the same 80 bits.
bool IsCanonicalNormal(const TFloat80Bytes& bytes) {
  const int exponent = (bytes[9] & 0x7F) << 8 | bytes[8];
  return exponent != 0 && exponent != 0x7FFF && (bytes[7] & 0x80) != 0;
}

// The fewest digits, 18 to 21, that compile back to the same 80 bits.
std::string ExactExtendedText(const TFloat80Bytes& bytes) {
  const long double value = Float80ToLongDouble(bytes);
  for (int digits = 18; digits <= 21; ++digits) {
    char text[64];
    const auto printed = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, digits - 1);
    long double back = 0.0L;
    const auto read = std::from_chars(text, printed.ptr, back);
    if (read.ec == std::errc() && LongDoubleToFloat80(back) == bytes) return std::string(text, printed.ptr);
  }
  return {};
}

// Values a double holds print as that double (the shortest text, at most 17
// digits); other extended values print with more digits, which the
// compiler reads as extended (TextFormSyntax.h). NaN payloads, denormals
// and the x87's other encodings print as their nearest double.
std::string ExtendedText(const TFloat80Bytes& bytes) {
  const double nearest = Float80ToDouble(bytes);
  if constexpr (kLongDoubleIsFloat80) {
    if (IsCanonicalNormal(bytes) && !IsDoubleExact(bytes)) {
      if (std::string text = ExactExtendedText(bytes); !text.empty()) return text;
    }
  }
  return FloatText(nearest);
}

// Builds 'quoted'#13 text from characters; quote pieces hold printable
// characters, the others become #n codes.
class TStringText {
 public:
  void Printable(std::string_view utf8) {
    if (!open_) text_ += '\'';
    open_ = true;
    text_ += utf8;
    if (utf8 == "'") text_ += '\'';
  }
  void Code(uint32_t code) {
    Close();
    text_ += '#' + std::to_string(code);
  }
  std::string Finish() {
    if (text_.empty()) return "''";
    Close();
    return std::move(text_);
  }

 private:
  void Close() {
    if (open_) text_ += '\'';
    open_ = false;
  }
  std::string text_;
  bool open_ = false;
};

bool IsPrintableAscii(uint32_t code) { return code >= 0x20 && code < 0x7F; }

std::string BytesText(std::string_view bytes) {
  TStringText text;
  for (char c : bytes) {
    const auto code = static_cast<unsigned char>(c);
    if (IsPrintableAscii(code)) {
      text.Printable(std::string_view(&c, 1));
    } else {
      text.Code(code);
    }
  }
  return text.Finish();
}

std::string WideText(std::u16string_view units) {
  TStringText text;
  for (size_t i = 0; i < units.size(); ++i) {
    const char16_t unit = units[i];
    const bool highSurrogate = unit >= 0xD800 && unit <= 0xDBFF;
    if (highSurrogate && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
      text.Printable(WideToUtf8(units.substr(i, 2)));
      ++i;
    } else if (unit < 0x80 ? IsPrintableAscii(unit) : !(unit >= 0xD800 && unit <= 0xDFFF)) {
      text.Printable(WideToUtf8(units.substr(i, 1)));
    } else {
      text.Code(unit);  // controls and lone surrogates
    }
  }
  return text.Finish();
}

class TPrinter {
 public:
  explicit TPrinter(TStream& stream) : values_(stream) {}

  std::string Print() {
    values_.ReadSignature();
    PrintObject(0);
    return std::move(out_);
  }

 private:
  void Indent(int level) { out_.append(static_cast<size_t>(level) * 2, ' '); }

  void PrintObject(int level) {
    TBinaryValueReader::TNesting nesting(values_);
    const TObjectPrefix prefix = values_.ReadPrefix();
    const std::string className = values_.ReadStr();
    const std::string name = values_.ReadStr();
    Indent(level);
    out_ += (prefix.Flags & ffInline) ? "inline " : (prefix.Flags & ffInherited) ? "inherited " : "object ";
    if (!name.empty()) out_ += NameText(name) + ": ";
    out_ += NameText(className);
    if (prefix.Flags & ffChildPos) out_ += " [" + std::to_string(prefix.ChildPosition) + "]";
    out_ += '\n';
    PrintProperties(level + 1);
    while (!values_.EndOfList()) PrintObject(level + 1);
    values_.ReadListEnd();
    Indent(level);
    out_ += "end\n";
  }

  void PrintProperties(int level) {
    while (!values_.EndOfList()) {
      Indent(level);
      out_ += NameText(values_.ReadStr()) + " = ";
      PrintValue(level);
      out_ += '\n';
    }
    values_.ReadListEnd();
  }

  void PrintValue(int level) {
    const TValueTag tag = values_.ReadValue();
    switch (tag) {
      case TValueTag::vaNull:
        out_ += "Null";
        return;
      case TValueTag::vaFalse:
        out_ += "False";
        return;
      case TValueTag::vaTrue:
        out_ += "True";
        return;
      case TValueTag::vaNil:
        out_ += "nil";
        return;
      case TValueTag::vaList:
        return PrintList(level);
      case TValueTag::vaInt8:
      case TValueTag::vaInt16:
      case TValueTag::vaInt32:
      case TValueTag::vaInt64:
        out_ += std::to_string(values_.ReadIntegerPayload(tag));
        return;
      case TValueTag::vaExtended:
        out_ += ExtendedText(values_.ReadExtendedPayload());
        return;
      case TValueTag::vaSingle:
      case TValueTag::vaCurrency:
      case TValueTag::vaDate:
        out_ += FloatText(values_.ReadFloatPayload(tag));
        return;
      case TValueTag::vaString:
      case TValueTag::vaLString:
        out_ += BytesText(values_.ReadBytesPayload(tag));
        return;
      case TValueTag::vaUTF8String:
        out_ += WideText(Utf8ToWide(values_.ReadBytesPayload(tag)));
        return;
      case TValueTag::vaWString:
        out_ += WideText(values_.ReadWidePayload());
        return;
      case TValueTag::vaIdent:
        out_ += IdentText(values_.ReadStr());
        return;
      case TValueTag::vaBinary:
        return PrintBinary(level);
      case TValueTag::vaSet:
        return PrintSet();
      case TValueTag::vaCollection:
        return PrintCollection(level);
    }
  }

  void PrintList(int level) {
    TBinaryValueReader::TNesting nesting(values_);
    out_ += '(';
    while (!values_.EndOfList()) {
      out_ += '\n';
      Indent(level + 1);
      PrintValue(level + 1);
    }
    values_.ReadListEnd();
    out_ += ')';
  }

  void PrintSet() {
    out_ += '[';
    bool first = true;
    for (const std::string& name : values_.ReadSetPayload()) {
      if (!first) out_ += ", ";
      first = false;
      out_ += NameText(name);
    }
    out_ += ']';
  }

  void PrintBinary(int level) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const std::vector<uint8_t> bytes = values_.ReadBinaryPayload();
    out_ += '{';
    for (size_t i = 0; i < bytes.size(); ++i) {
      if (i % kBinaryBytesPerLine == 0) {
        out_ += '\n';
        Indent(level + 1);
      }
      out_ += kHex[bytes[i] >> 4];
      out_ += kHex[bytes[i] & 15];
    }
    out_ += '}';
  }

  void PrintCollection(int level) {
    TBinaryValueReader::TNesting nesting(values_);
    out_ += '<';
    while (!values_.EndOfList()) {
      out_ += '\n';
      Indent(level + 1);
      out_ += "item";
      if (IsSmallIntegerTag(values_.NextValue())) out_ += ' ' + std::to_string(values_.ReadInteger());
      out_ += '\n';
      values_.ReadListBegin();
      TBinaryValueReader::TNesting item(values_);
      PrintProperties(level + 2);
      Indent(level + 1);
      out_ += "end";
    }
    values_.ReadListEnd();
    out_ += '>';
  }

  TBinaryValueReader values_;
  std::string out_;
};

}  // namespace

std::string PrintComponentStream(std::span<const uint8_t> bytes) {
  TReadOnlyMemoryStream stream(bytes);
  return TPrinter(stream).Print();
}

}  // namespace zelk
