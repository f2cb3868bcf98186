// TFont: the font settings a control carries and its children inherit
// (ParentFont). Nothing in the toolkit draws text; the settings are kept and
// streamed so that forms read from component streams keep them.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/Event.h"
#include "runtime/Persistent.h"
#include "runtime/Set.h"
#include "runtime/TypeInfo.h"
#include "runtime/Types.h"

namespace zelk {

enum class TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
ZELK_ENUM_NAMES(TFontStyle, "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut")
using TFontStyles = TSet<TFontStyle>;

inline constexpr uint8_t kDefaultCharset = 1;  // DEFAULT_CHARSET
inline constexpr TColor clWindowText = static_cast<TColor>(0xFF000008);

class TFont : public TPersistent {
  ZELK_CLASS(TFont, TPersistent)

  TFont() = default;

  uint8_t Charset() const { return charset_; }
  void SetCharset(uint8_t charset);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  // Negative: the character height in pixels; positive: the cell height.
  int32_t Height() const { return height_; }
  void SetHeight(int32_t height);
  const std::string& Name() const { return name_; }
  void SetName(std::string name);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);

  // Copies another font's settings.
  void Assign(TPersistent* source) override;

  // Fired after every change, with this font as Sender.
  TNotifyEvent OnChange;

 private:
  void Changed();

  uint8_t charset_ = kDefaultCharset;
  TColor color_ = clWindowText;
  int32_t height_ = -11;
  std::string name_ = "MS Sans Serif";
  TFontStyles style_;
};

}  // namespace zelk
