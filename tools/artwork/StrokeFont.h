// A small stroke font of our own for the labels and names on the pictures:
// digits, the letters the product needs and the degree sign, each drawn as
// lines on a grid four units wide (five for M and W) and six units high.
#pragma once

#include <string_view>

#include "tools/artwork/ArtCanvas.h"

namespace zelk::artwork {

struct TTextStyle {
  double Unit = 1.0;         // pixels per grid unit
  double StrokeWidth = 1.0;  // pixels
  double Spacing = 2.0;      // grid units between letters
};

// Width of text in pixels, from the left edge of its first stroke to the
// right edge of its last.
double TextWidth(std::string_view text, const TTextStyle& style);

// Adds text to mask with the top-left corner of its first letter's grid at
// origin. Characters the font lacks are left out, with their advance.
void AddText(TMask& mask, std::string_view text, TVector origin, const TTextStyle& style);

// Adds text centred on center.
void AddCenteredText(TMask& mask, std::string_view text, TVector center, const TTextStyle& style);

}  // namespace zelk::artwork
