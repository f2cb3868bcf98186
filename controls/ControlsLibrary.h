// Start and stop of the image-drawn controls. The library's start calls
// InitializeControlsLibrary once, after the window toolkit and the bitmap
// library; further calls do nothing. It registers the component classes that
// component streams name.
#pragma once

namespace zelk {

void InitializeControlsLibrary();
// Empties what the start filled; a later InitializeControlsLibrary starts
// again.
void FinalizeControlsLibrary();

}  // namespace zelk
