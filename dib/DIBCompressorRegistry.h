// The process-wide list of compressors and the current compressor.
//
// Filled at library start on the loading thread (the RLE compressor first,
// then LZH) and only read afterwards; not synchronised. The current
// compressor is the one used when blocks are written (none: blocks are
// written raw); reading never depends on it.
#pragma once

#include <string_view>

#include "dib/DIBCompressor.h"

namespace zelk {

// Appends compressor; the registry owns it from now on. Null, or a
// compressor already registered, is ignored.
void RegisterDIBCompressor(TAbstractDIBCompressor* compressor);
// Destroys one registered compressor (clearing the current one if it was that).
void UnregisterDIBCompressor(TAbstractDIBCompressor* compressor);
// Destroys every registered compressor; the current one becomes none.
void ClearDIBCompressors();

int DIBCompressorCount();
// Raises std::out_of_range for an index outside the list.
TAbstractDIBCompressor* DIBCompressorAt(int index);

// The compressor whose GUID in canonical text form equals guidText exactly
// (case-sensitive), searching from the most recently registered; null if none.
TAbstractDIBCompressor* FindDIBCompressor(std::string_view guidText);
// The most recently registered compressor that accepts guid; null if none.
TAbstractDIBCompressor* FindDIBDecompressor(const TGUID& guid);

TAbstractDIBCompressor* CurrentDIBCompressor();
void SetCurrentDIBCompressor(TAbstractDIBCompressor* compressor);

// Sets the current compressor for the life of the scope and puts the previous
// one back afterwards, also when an error passes through (used by writers
// that must store raw blocks whatever the settings say).
class TCurrentDIBCompressorScope {
 public:
  explicit TCurrentDIBCompressorScope(TAbstractDIBCompressor* compressor);
  ~TCurrentDIBCompressorScope();
  TCurrentDIBCompressorScope(const TCurrentDIBCompressorScope&) = delete;
  TCurrentDIBCompressorScope& operator=(const TCurrentDIBCompressorScope&) = delete;

 private:
  TAbstractDIBCompressor* previous_;
};

}  // namespace zelk
