#include "dib/DIBCompressorRegistry.h"

#include "runtime/Registry.h"

namespace zelk {

namespace {

TRegistry<TAbstractDIBCompressor, TFreeObject>& Compressors() {
  static TRegistry<TAbstractDIBCompressor, TFreeObject> compressors;
  return compressors;
}

TAbstractDIBCompressor*& Current() {
  static TAbstractDIBCompressor* current = nullptr;
  return current;
}

}  // namespace

void RegisterDIBCompressor(TAbstractDIBCompressor* compressor) { Compressors().Add(compressor); }

void UnregisterDIBCompressor(TAbstractDIBCompressor* compressor) {
  if (!Compressors().Contains(compressor)) return;
  if (Current() == compressor) Current() = nullptr;
  Compressors().Remove(compressor);
}

void ClearDIBCompressors() {
  Current() = nullptr;
  Compressors().Clear();
}

int DIBCompressorCount() { return Compressors().Count(); }

TAbstractDIBCompressor* DIBCompressorAt(int index) { return Compressors().At(index); }

TAbstractDIBCompressor* FindDIBCompressor(std::string_view guidText) {
  return Compressors().FindLatest(
      [guidText](const TAbstractDIBCompressor& compressor) { return GUIDToString(compressor.GetGUID()) == guidText; });
}

TAbstractDIBCompressor* FindDIBDecompressor(const TGUID& guid) {
  return Compressors().FindLatest(
      [&guid](const TAbstractDIBCompressor& compressor) { return compressor.CanDecompress(guid); });
}

TAbstractDIBCompressor* CurrentDIBCompressor() { return Current(); }

void SetCurrentDIBCompressor(TAbstractDIBCompressor* compressor) { Current() = compressor; }

TCurrentDIBCompressorScope::TCurrentDIBCompressorScope(TAbstractDIBCompressor* compressor)
    : previous_(CurrentDIBCompressor()) {
  SetCurrentDIBCompressor(compressor);
}

TCurrentDIBCompressorScope::~TCurrentDIBCompressorScope() { SetCurrentDIBCompressor(previous_); }

}  // namespace zelk
