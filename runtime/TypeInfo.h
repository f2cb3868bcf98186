// Run-time type descriptions of published values: the kinds a published
// property can have, the name tables of enumerations and sets, and the
// identifier tables of integer types such as colours.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace zelk {

enum class TTypeKind : uint8_t {
  tkInteger,
  tkChar,
  tkEnumeration,  // Boolean included
  tkFloat,
  tkString,   // 8-bit text in the system code page
  tkWString,  // UTF-16 text
  tkSet,
  tkClass,
  tkMethod,  // an event
  tkInt64,
};

enum class TFloatType : uint8_t { ftSingle, ftDouble, ftExtended, ftComp, ftCurr };

// Names of an enumeration's members, in ordinal order. Lookup by name
// ignores case, as names in component streams do.
class TEnumTypeInfo {
 public:
  TEnumTypeInfo(std::string_view name, std::vector<std::string_view> names)
      : name_(name), names_(std::move(names)) {}
  std::string_view Name() const { return name_; }
  int Count() const { return static_cast<int>(names_.size()); }
  // -1 when the type has no member of that name.
  int IndexOf(std::string_view memberName) const;
  // Empty for an ordinal outside the type.
  std::string_view NameOf(int64_t ordinal) const;

 private:
  std::string_view name_;
  std::vector<std::string_view> names_;
};

const TEnumTypeInfo& BooleanType();

// Integer types whose values may be written as identifiers ("clBlack").
struct TIdentMapEntry {
  int32_t Value;
  std::string_view Name;
};

class TIdentMap {
 public:
  explicit TIdentMap(std::span<const TIdentMapEntry> entries) : entries_(entries) {}
  bool IdentToInt(std::string_view name, int32_t& value) const;
  bool IntToIdent(int32_t value, std::string_view& name) const;

 private:
  std::span<const TIdentMapEntry> entries_;
};

// Colour names (TColor) and character-set names (TFontCharset).
const TIdentMap& ColorIdents();
const TIdentMap& CharsetIdents();

// Declares the name table of an enumeration next to its type, found by
// argument-dependent lookup through EnumTypeOf(E{}).
#define ZELK_ENUM_NAMES(Enum, ...)                                              \
  inline const ::zelk::TEnumTypeInfo& EnumTypeOf(Enum) {                        \
    static const ::zelk::TEnumTypeInfo info{#Enum, {__VA_ARGS__}};             \
    return info;                                                                \
  }

}  // namespace zelk
