// The editor as its dial draws the two pictures, through the bitmap engine:
// the background centred, the knob cap rotated to the angle, keyed on black
// and drawn with the given opacity (180 while the knob is dragged), its
// centre kPointerRadius pixels from the editor's centre towards the angle.
// For looking at the pictures together while designing them.
#pragma once

#include <cstdint>

#include "dib/PictureSource.h"

namespace zelk::artwork {

TLoadedPicture ComposeEditor(const TLoadedPicture& background, const TLoadedPicture& cap, int angle,
                             uint8_t capOpacity = 255);

}  // namespace zelk::artwork
