#include "dib/DIBCompressorRegistry.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace zelk {

namespace {

using TOwnedCompressor = std::unique_ptr<TAbstractDIBCompressor, TFreeObject>;

std::vector<TOwnedCompressor>& Compressors() {
  static std::vector<TOwnedCompressor> compressors;
  return compressors;
}

TAbstractDIBCompressor*& Current() {
  static TAbstractDIBCompressor* current = nullptr;
  return current;
}

}  // namespace

void RegisterDIBCompressor(TAbstractDIBCompressor* compressor) {
  if (compressor != nullptr) Compressors().emplace_back(compressor);
}

void UnregisterDIBCompressor(TAbstractDIBCompressor* compressor) {
  auto& compressors = Compressors();
  auto found = std::find_if(compressors.begin(), compressors.end(),
                            [compressor](const TOwnedCompressor& entry) { return entry.get() == compressor; });
  if (found == compressors.end()) return;
  if (Current() == compressor) Current() = nullptr;
  compressors.erase(found);
}

void ClearDIBCompressors() {
  Current() = nullptr;
  Compressors().clear();
}

int DIBCompressorCount() { return static_cast<int>(Compressors().size()); }

TAbstractDIBCompressor* DIBCompressorAt(int index) { return Compressors().at(static_cast<size_t>(index)).get(); }

TAbstractDIBCompressor* FindDIBCompressor(std::string_view guidText) {
  const auto& compressors = Compressors();
  for (auto entry = compressors.rbegin(); entry != compressors.rend(); ++entry) {
    if (GUIDToString((*entry)->GetGUID()) == guidText) return entry->get();
  }
  return nullptr;
}

TAbstractDIBCompressor* FindDIBDecompressor(const TGUID& guid) {
  const auto& compressors = Compressors();
  for (auto entry = compressors.rbegin(); entry != compressors.rend(); ++entry) {
    if ((*entry)->CanDecompress(guid)) return entry->get();
  }
  return nullptr;
}

TAbstractDIBCompressor* CurrentDIBCompressor() { return Current(); }

void SetCurrentDIBCompressor(TAbstractDIBCompressor* compressor) { Current() = compressor; }

TCurrentDIBCompressorScope::TCurrentDIBCompressorScope(TAbstractDIBCompressor* compressor)
    : previous_(CurrentDIBCompressor()) {
  SetCurrentDIBCompressor(compressor);
}

TCurrentDIBCompressorScope::~TCurrentDIBCompressorScope() { SetCurrentDIBCompressor(previous_); }

}  // namespace zelk
