// TDIBSettings: chooses, by GUID text, the compressor used when pictures are
// written. The published DIBCompressor has no storage of its own: it is the
// process-wide current compressor (DIBCompressorRegistry.h), so every
// TDIBSettings reads and changes the same value.
#pragma once

#include <string>

#include "runtime/Component.h"

namespace zelk {

class TDIBSettings : public TComponent {
  ZELK_CLASS(TDIBSettings, TComponent)

  explicit TDIBSettings(TComponent* owner) : TComponent(owner) {}
  // Leaves no current compressor, whoever chose it.
  ~TDIBSettings() override;

  // The canonical GUID text of the current compressor; empty when none.
  std::string DIBCompressor() const;
  // The current compressor becomes the registered one whose canonical GUID
  // text equals guidText exactly (case-sensitive). Any other text, the
  // empty one included, leaves no current compressor, without an error:
  // pictures are then written raw, and nothing in the stream depends on it.
  void SetDIBCompressor(const std::string& guidText);
};

}  // namespace zelk
