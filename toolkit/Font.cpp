#include "toolkit/Font.h"

#include "runtime/ClassBuilder.h"

namespace zelk {

const TClassInfo& TFont::StaticClass() {
  static const TClassInfo info = TClassBuilder<TFont>("TFont")
                                     .Property("Charset", &TFont::Charset, &TFont::SetCharset)
                                     .Idents(CharsetIdents())
                                     .Default(kDefaultCharset)
                                     .Property("Color", &TFont::Color, &TFont::SetColor)
                                     .Idents(ColorIdents())
                                     .Default(clWindowText)
                                     .Property("Height", &TFont::Height, &TFont::SetHeight)
                                     .Property("Name", &TFont::Name, &TFont::SetName)
                                     .Property("Style", &TFont::Style, &TFont::SetStyle)
                                     .Build();
  return info;
}

void TFont::SetCharset(uint8_t charset) {
  if (charset_ == charset) return;
  charset_ = charset;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (color_ == color) return;
  color_ = color;
  Changed();
}

void TFont::SetHeight(int32_t height) {
  if (height_ == height) return;
  height_ = height;
  Changed();
}

void TFont::SetName(std::string name) {
  if (name_ == name) return;
  name_ = std::move(name);
  Changed();
}

void TFont::SetStyle(TFontStyles style) {
  if (style_ == style) return;
  style_ = style;
  Changed();
}

void TFont::Assign(TPersistent* source) {
  if (source == nullptr || !source->Is<TFont>()) {
    TPersistent::Assign(source);
    return;
  }
  const auto* font = static_cast<TFont*>(source);
  charset_ = font->charset_;
  color_ = font->color_;
  height_ = font->height_;
  name_ = font->name_;
  style_ = font->style_;
  Changed();
}

void TFont::Changed() {
  if (OnChange) OnChange(this);
}

}  // namespace zelk
