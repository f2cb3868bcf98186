// Writes BMP files byte by byte for the decoder tests.
#pragma once

#include <cstdint>
#include <vector>

#include "tests/support/LittleEndian.h"

namespace zelk::tests {

struct TBMPParts {
  int32_t Width = 1;
  int32_t Height = 1;
  uint16_t BitCount = 24;
  uint32_t Compression = 0;
  uint32_t HeaderSize = 40;
  uint32_t ColorsUsed = 0;
  std::vector<uint32_t> Masks;       // written after a 40-byte header
  std::vector<uint32_t> Palette;     // 0x00RRGGBB entries
  std::vector<uint8_t> PixelData;    // stored rows (already padded) or runs
};

inline std::vector<uint8_t> BuildBMP(const TBMPParts& parts) {
  std::vector<uint8_t> info;
  AppendLittleEndian(info, parts.HeaderSize, 4);
  if (parts.HeaderSize == 12) {
    AppendLittleEndian(info, static_cast<uint32_t>(parts.Width), 2);
    AppendLittleEndian(info, static_cast<uint32_t>(parts.Height), 2);
    AppendLittleEndian(info, 1, 2);
    AppendLittleEndian(info, parts.BitCount, 2);
  } else {
    AppendLittleEndian(info, static_cast<uint32_t>(parts.Width), 4);
    AppendLittleEndian(info, static_cast<uint32_t>(parts.Height), 4);
    AppendLittleEndian(info, 1, 2);
    AppendLittleEndian(info, parts.BitCount, 2);
    AppendLittleEndian(info, parts.Compression, 4);
    AppendLittleEndian(info, static_cast<uint32_t>(parts.PixelData.size()), 4);
    AppendLittleEndian(info, 2835, 4);
    AppendLittleEndian(info, 2835, 4);
    AppendLittleEndian(info, parts.ColorsUsed, 4);
    AppendLittleEndian(info, 0, 4);
    info.resize(parts.HeaderSize, 0);
  }
  for (uint32_t mask : parts.Masks) AppendLittleEndian(info, mask, 4);
  for (uint32_t color : parts.Palette) AppendLittleEndian(info, color, parts.HeaderSize == 12 ? 3 : 4);

  std::vector<uint8_t> file = {'B', 'M'};
  const uint32_t offset = 14 + static_cast<uint32_t>(info.size());
  AppendLittleEndian(file, offset + static_cast<uint32_t>(parts.PixelData.size()), 4);
  AppendLittleEndian(file, 0, 4);
  AppendLittleEndian(file, offset, 4);
  file.insert(file.end(), info.begin(), info.end());
  file.insert(file.end(), parts.PixelData.begin(), parts.PixelData.end());
  return file;
}

// Pads each stored row to a multiple of 4 bytes.
inline std::vector<uint8_t> PaddedRows(const std::vector<std::vector<uint8_t>>& rows) {
  std::vector<uint8_t> data;
  for (const auto& row : rows) {
    data.insert(data.end(), row.begin(), row.end());
    data.resize((data.size() + 3) / 4 * 4, 0);
  }
  return data;
}

}  // namespace zelk::tests
