// TDIBRSBFormat: the 16-bit bitmap files with the extension .rsb.
//
// File (little-endian): a 28-byte header of seven unsigned 32-bit values
// (version 1, width, height, red, green and blue bit counts, alpha bit
// count), then width x height 16-bit pixels, rows from the top down, each
// left to right. Blue occupies the lowest bits, then green, red and alpha.
//
// Writing uses 4-4-4-4 (alpha, red, green, blue from the top nibble down)
// for a Masked bitmap and 5-6-5 with no alpha otherwise. Reading takes any
// layout whose colour channels have at most 8 bits each; it sets Masked when
// the file has alpha bits, but every alpha byte it produces is 0.
//
// Reading checks the whole header against the bytes left in the stream
// before anything is allocated, so a failed read leaves the bitmap as it was
// (short of running out of memory for a picture the stream does hold).
#pragma once

#include "dib/DIBFormat.h"

namespace zelk {

inline constexpr char kRSBDisplayName[] = "Rogue spear bitmap";
inline constexpr char kRSBFilter[] = "Rogue spear bitmap (*.rsb)|*.rsb";
inline constexpr char kRSBExtension[] = ".RSB";

inline constexpr char kRSBVersionMessage[] = "Only RSB version 1 is supported.";
inline constexpr char kRSBBitCountMessage[] = "RSB colour channels of more than 8 bits are not supported.";
inline constexpr char kRSBEmptyMessage[] = "The RSB picture has no pixels.";
inline constexpr char kRSBTooLargeMessage[] = "The RSB picture is too large.";
inline constexpr char kRSBTruncatedMessage[] = "The RSB file ends before its pixel data.";
inline constexpr char kRSBNoPixelMemoryMessage[] = "The bitmap has no pixel memory.";

class TDIBRSBFormat : public TAbstractDIBFormat {
  ZELK_CLASS(TDIBRSBFormat, TAbstractDIBFormat)

  std::string GetDisplayName() const override { return kRSBDisplayName; }
  // Raises EDIBFormatError for a version other than 1, channels wider than 8
  // bits, an empty picture, one wider or higher than 65535 pixels (or beyond
  // what the process can address), or fewer pixel bytes than the header
  // promises; a stream shorter than the header raises the stream's EReadError.
  // The bitmap is unchanged in all these cases.
  void LoadFromStream(TStream& stream) override;
  // Raises EDIBFormatError when DIB has no pixel memory.
  void SaveToStream(TStream& stream) override;
  // ".rsb" in any case; without the dot it is refused.
  bool CanLoadExtension(std::string_view extension) const override;
  bool CanSaveExtension(std::string_view extension) const override;
  void AddLoadFilters(std::vector<std::string>& list) const override { AddSaveFilters(list); }
  void AddSaveFilters(std::vector<std::string>& list) const override { list.emplace_back(kRSBFilter); }
};

}  // namespace zelk
