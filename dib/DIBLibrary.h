// Start and stop of the bitmap library. The library's start calls
// InitializeDIBLibrary once, after the runtime, from the loading thread;
// further calls do nothing. It registers, in this order: the bitmap classes
// that component streams name (TWinDIB, TMemoryDIB) and the image list
// and settings components; the picture loaders
// (BMP, and JPEG and PNG when the build has them); the RSB image format; the
// bitmap engine's fixed-point rotation tables; the compressors, Shuffle4 RLE
// first and LZH second. No current compressor is chosen.
#pragma once

namespace zelk {

void InitializeDIBLibrary();
// Empties the registries: the compressors are destroyed (the current one
// becomes none), the image formats freed, the picture loaders forgotten. A
// later InitializeDIBLibrary starts again.
void FinalizeDIBLibrary();

}  // namespace zelk
