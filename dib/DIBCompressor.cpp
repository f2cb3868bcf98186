#include "dib/DIBCompressor.h"

#include "runtime/ClassBuilder.h"

namespace zelk {

const TClassInfo& TAbstractDIBCompressor::StaticClass() {
  static const TClassInfo info = TClassBuilder<TAbstractDIBCompressor>("TAbstractDIBCompressor").Build();
  return info;
}

}  // namespace zelk
