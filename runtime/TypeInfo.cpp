#include "runtime/TypeInfo.h"

#include "runtime/Text.h"

namespace zelk {

int TEnumTypeInfo::IndexOf(std::string_view memberName) const {
  for (size_t i = 0; i < names_.size(); ++i) {
    if (SameText(names_[i], memberName)) return static_cast<int>(i);
  }
  return -1;
}

std::string_view TEnumTypeInfo::NameOf(int64_t ordinal) const {
  if (ordinal < 0 || ordinal >= Count()) return {};
  return names_[static_cast<size_t>(ordinal)];
}

const TEnumTypeInfo& BooleanType() {
  static const TEnumTypeInfo info{"Boolean", {"False", "True"}};
  return info;
}

bool TIdentMap::IdentToInt(std::string_view name, int32_t& value) const {
  for (const TIdentMapEntry& entry : entries_) {
    if (SameText(entry.Name, name)) {
      value = entry.Value;
      return true;
    }
  }
  return false;
}

bool TIdentMap::IntToIdent(int32_t value, std::string_view& name) const {
  for (const TIdentMapEntry& entry : entries_) {
    if (entry.Value == value) {
      name = entry.Name;
      return true;
    }
  }
  return false;
}

namespace {

// System colours carry the high byte 0xFF and the system colour index.
constexpr int32_t SystemColor(int index) { return static_cast<int32_t>(0xFF000000u | static_cast<uint32_t>(index)); }

constexpr TIdentMapEntry kColors[] = {
    {0x000000, "clBlack"},      {0x000080, "clMaroon"},     {0x008000, "clGreen"},
    {0x008080, "clOlive"},      {0x800000, "clNavy"},       {0x800080, "clPurple"},
    {0x808000, "clTeal"},       {0x808080, "clGray"},       {0xC0C0C0, "clSilver"},
    {0x0000FF, "clRed"},        {0x00FF00, "clLime"},       {0x00FFFF, "clYellow"},
    {0xFF0000, "clBlue"},       {0xFF00FF, "clFuchsia"},    {0xFFFF00, "clAqua"},
    {0xFFFFFF, "clWhite"},      {0x1FFFFFFF, "clNone"},     {0x20000000, "clDefault"},
    {SystemColor(0), "clScrollBar"},          {SystemColor(1), "clBackground"},
    {SystemColor(2), "clActiveCaption"},      {SystemColor(3), "clInactiveCaption"},
    {SystemColor(4), "clMenu"},               {SystemColor(5), "clWindow"},
    {SystemColor(6), "clWindowFrame"},        {SystemColor(7), "clMenuText"},
    {SystemColor(8), "clWindowText"},         {SystemColor(9), "clCaptionText"},
    {SystemColor(10), "clActiveBorder"},      {SystemColor(11), "clInactiveBorder"},
    {SystemColor(12), "clAppWorkSpace"},      {SystemColor(13), "clHighlight"},
    {SystemColor(14), "clHighlightText"},     {SystemColor(15), "clBtnFace"},
    {SystemColor(16), "clBtnShadow"},         {SystemColor(17), "clGrayText"},
    {SystemColor(18), "clBtnText"},           {SystemColor(19), "clInactiveCaptionText"},
    {SystemColor(20), "clBtnHighlight"},      {SystemColor(21), "cl3DDkShadow"},
    {SystemColor(22), "cl3DLight"},           {SystemColor(23), "clInfoText"},
    {SystemColor(24), "clInfoBk"},
};

constexpr TIdentMapEntry kCharsets[] = {
    {0, "ANSI_CHARSET"},       {1, "DEFAULT_CHARSET"},   {2, "SYMBOL_CHARSET"},
    {77, "MAC_CHARSET"},       {128, "SHIFTJIS_CHARSET"}, {129, "HANGEUL_CHARSET"},
    {130, "JOHAB_CHARSET"},    {134, "GB2312_CHARSET"},  {136, "CHINESEBIG5_CHARSET"},
    {161, "GREEK_CHARSET"},    {162, "TURKISH_CHARSET"}, {163, "VIETNAMESE_CHARSET"},
    {177, "HEBREW_CHARSET"},   {178, "ARABIC_CHARSET"},  {186, "BALTIC_CHARSET"},
    {204, "RUSSIAN_CHARSET"},  {222, "THAI_CHARSET"},    {238, "EASTEUROPE_CHARSET"},
    {255, "OEM_CHARSET"},
};

}  // namespace

const TIdentMap& ColorIdents() {
  static const TIdentMap map{kColors};
  return map;
}

const TIdentMap& CharsetIdents() {
  static const TIdentMap map{kCharsets};
  return map;
}

}  // namespace zelk
