#include "dib/DIBSettings.h"

#include "dib/DIBCompressorRegistry.h"
#include "runtime/ClassBuilder.h"

namespace zelk {

const TClassInfo& TDIBSettings::StaticClass() {
  using T = TDIBSettings;
  static const TClassInfo info =
      TClassBuilder<T>("TDIBSettings").Property("DIBCompressor", &T::DIBCompressor, &T::SetDIBCompressor).Build();
  return info;
}

TDIBSettings::~TDIBSettings() { SetCurrentDIBCompressor(nullptr); }

std::string TDIBSettings::DIBCompressor() const {
  const TAbstractDIBCompressor* current = CurrentDIBCompressor();
  return current != nullptr ? GUIDToString(current->GetGUID()) : std::string();
}

void TDIBSettings::SetDIBCompressor(const std::string& guidText) { SetCurrentDIBCompressor(FindDIBCompressor(guidText)); }

}  // namespace zelk
