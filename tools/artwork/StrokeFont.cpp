#include "tools/artwork/StrokeFont.h"

#include <initializer_list>
#include <vector>

namespace zelk::artwork {

namespace {

constexpr double kGlyphHeight = 6.0;

// One line through several grid points.
using TPolyline = std::vector<TVector>;

struct TGlyph {
  char Character;
  double Width;  // grid units
  std::vector<TPolyline> Strokes;
};

// Rounded corners are cut at 45 degrees, which keeps the letters crisp at
// a few pixels per unit.
const std::vector<TGlyph>& Glyphs() {
  static const std::vector<TGlyph> glyphs = {
      {'0', 4, {{{1, 0}, {3, 0}, {4, 1}, {4, 5}, {3, 6}, {1, 6}, {0, 5}, {0, 1}, {1, 0}}}},
      {'1', 4, {{{1, 1}, {2.5, 0}, {2.5, 6}}}},
      {'2', 4, {{{0, 1}, {1, 0}, {3, 0}, {4, 1}, {4, 2}, {0, 6}, {4, 6}}}},
      {'3', 4, {{{0, 1}, {1, 0}, {3, 0}, {4, 1}, {4, 2}, {3, 3}, {1.5, 3}}, {{3, 3}, {4, 4}, {4, 5}, {3, 6}, {1, 6}, {0, 5}}}},
      {'4', 4, {{{3, 6}, {3, 0}, {0, 4}, {4, 4}}}},
      {'5', 4, {{{4, 0}, {0, 0}, {0, 3}, {3, 3}, {4, 4}, {4, 5}, {3, 6}, {1, 6}, {0, 5}}}},
      {'6', 4, {{{4, 1}, {3, 0}, {1, 0}, {0, 1}, {0, 5}, {1, 6}, {3, 6}, {4, 5}, {4, 4}, {3, 3}, {0, 3}}}},
      {'7', 4, {{{0, 0}, {4, 0}, {4, 1}, {1.5, 6}}}},
      {'8', 4, {{{1, 3}, {0, 2}, {0, 1}, {1, 0}, {3, 0}, {4, 1}, {4, 2}, {3, 3}, {1, 3}, {0, 4}, {0, 5}, {1, 6}, {3, 6}, {4, 5}, {4, 4}, {3, 3}}}},
      {'9', 4, {{{4, 3}, {1, 3}, {0, 2}, {0, 1}, {1, 0}, {3, 0}, {4, 1}, {4, 5}, {3, 6}, {1, 6}, {0, 5}}}},
      {'A', 4, {{{0, 6}, {0, 2}, {2, 0}, {4, 2}, {4, 6}}, {{0, 4}, {4, 4}}}},
      {'E', 4, {{{4, 0}, {0, 0}, {0, 6}, {4, 6}}, {{0, 3}, {3, 3}}}},
      {'G', 4, {{{4, 1}, {3, 0}, {1, 0}, {0, 1}, {0, 5}, {1, 6}, {3, 6}, {4, 5}, {4, 3}, {2, 3}}}},
      {'K', 4, {{{0, 0}, {0, 6}}, {{4, 0}, {0, 4}}, {{1.5, 2.5}, {4, 6}}}},
      {'L', 4, {{{0, 0}, {0, 6}, {4, 6}}}},
      {'M', 5, {{{0, 6}, {0, 0}, {2.5, 3}, {5, 0}, {5, 6}}}},
      {'N', 4, {{{0, 6}, {0, 0}, {4, 6}, {4, 0}}}},
      {'O', 4, {{{1, 0}, {3, 0}, {4, 1}, {4, 5}, {3, 6}, {1, 6}, {0, 5}, {0, 1}, {1, 0}}}},
      {'R', 4, {{{0, 6}, {0, 0}, {3, 0}, {4, 1}, {4, 2}, {3, 3}, {0, 3}}, {{2, 3}, {4, 6}}}},
      {'S', 4, {{{4, 1}, {3, 0}, {1, 0}, {0, 1}, {0, 2}, {1, 3}, {3, 3}, {4, 4}, {4, 5}, {3, 6}, {1, 6}, {0, 5}}}},
      {'T', 4, {{{0, 0}, {4, 0}}, {{2, 0}, {2, 6}}}},
      {'V', 4, {{{0, 0}, {2, 6}, {4, 0}}}},
      {'W', 5, {{{0, 0}, {1.25, 6}, {2.5, 2}, {3.75, 6}, {5, 0}}}},
      {'Z', 4, {{{0, 0}, {4, 0}, {0, 6}, {4, 6}}}},
      {'\xB0', 2, {{{1, 0}, {2, 1}, {1, 2}, {0, 1}, {1, 0}}}},
      {' ', 2, {}},
  };
  return glyphs;
}

const TGlyph* FindGlyph(char character) {
  for (const TGlyph& glyph : Glyphs()) {
    if (glyph.Character == character) return &glyph;
  }
  return nullptr;
}

double GlyphWidth(char character) {
  const TGlyph* glyph = FindGlyph(character);
  return glyph != nullptr ? glyph->Width : 4.0;
}

}  // namespace

double TextWidth(std::string_view text, const TTextStyle& style) {
  if (text.empty()) return 0.0;
  double units = 0.0;
  for (char character : text) units += GlyphWidth(character) + style.Spacing;
  return (units - style.Spacing) * style.Unit + style.StrokeWidth;
}

void AddText(TMask& mask, std::string_view text, TVector origin, const TTextStyle& style) {
  double left = origin.X + style.StrokeWidth / 2.0;
  const double top = origin.Y + style.StrokeWidth / 2.0;
  for (char character : text) {
    if (const TGlyph* glyph = FindGlyph(character)) {
      for (const TPolyline& line : glyph->Strokes) {
        for (size_t i = 1; i < line.size(); ++i) {
          mask.Stroke({left + line[i - 1].X * style.Unit, top + line[i - 1].Y * style.Unit},
                      {left + line[i].X * style.Unit, top + line[i].Y * style.Unit}, style.StrokeWidth);
        }
      }
    }
    left += (GlyphWidth(character) + style.Spacing) * style.Unit;
  }
}

void AddCenteredText(TMask& mask, std::string_view text, TVector center, const TTextStyle& style) {
  const double height = kGlyphHeight * style.Unit + style.StrokeWidth;
  AddText(mask, text, {center.X - TextWidth(text, style) / 2.0, center.Y - height / 2.0}, style);
}

}  // namespace zelk::artwork
