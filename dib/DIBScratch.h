// TScratchDIB: a bitmap in plain heap memory whose new pixels are all zero,
// for the engine's own temporary surfaces (glyph frames, filter results,
// imported pictures). Not streamed, not published.
#pragma once

#include <memory>

#include "dib/AbstractSuperDIB.h"

namespace zelk {

class TScratchDIB : public TAbstractSuperDIB {
  ZELK_CLASS(TScratchDIB, TAbstractSuperDIB)

  TScratchDIB() = default;
  ~TScratchDIB() override;

 protected:
  void AllocateBits() override;
  void FreeBits() override;

 private:
  std::unique_ptr<uint8_t[]> pixels_;
};

using TScratchDIBPtr = std::unique_ptr<TScratchDIB, TFreeObject>;

inline TScratchDIBPtr MakeScratchDIB(uint16_t width, uint16_t height) {
  return TScratchDIBPtr(TAbstractSuperDIB::CreateSize<TScratchDIB>(width, height));
}

}  // namespace zelk
