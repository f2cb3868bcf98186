// Writes the seed inputs of the stored-block and BMP fuzz targets: stored
// blocks of a few pictures (raw and RLE-compressed, in the fuzz driver's
// form: a mode byte, then the block or the length and payload) and BMP files
// of every bit depth and compression the decoder knows.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dib/RLEDIBCompressor.h"
#include "tests/dibstore/BMPBuilder.h"

namespace {

using zelk::tests::BuildBMP;
using zelk::tests::PaddedRows;
using zelk::tests::TBMPParts;

void WriteSeed(const std::filesystem::path& folder, const std::string& name, const std::vector<uint8_t>& bytes) {
  std::ofstream out(folder / name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> Record(uint16_t width, uint16_t height) {
  std::vector<uint8_t> record = {static_cast<uint8_t>(width), static_cast<uint8_t>(width >> 8),
                                 static_cast<uint8_t>(height), static_cast<uint8_t>(height >> 8)};
  for (int i = 0; i < width * height; ++i) record.insert(record.end(), {uint8_t(i / 7), 40, 90, 255});
  return record;
}

void WriteStoredBlockSeeds(const std::filesystem::path& folder) {
  for (uint16_t size : {1, 2, 9}) {
    const std::vector<uint8_t> record = Record(size, size);
    std::vector<uint8_t> raw = {0};
    raw.insert(raw.end(), record.begin(), record.end());
    WriteSeed(folder, "raw" + std::to_string(size), raw);

    std::vector<uint8_t> payload(record.size());
    const int32_t length = zelk::TRLEDIBCompressor().Compress(nullptr, record.data(), payload.data(),
                                                              static_cast<int32_t>(record.size()));
    if (length == 0) continue;
    std::vector<uint8_t> compressed = {1};
    for (int i = 0; i < 4; ++i) compressed.push_back(static_cast<uint8_t>(record.size() >> (8 * i)));
    compressed.insert(compressed.end(), payload.begin(), payload.begin() + length);
    WriteSeed(folder, "rle" + std::to_string(size), compressed);
  }
}

void WriteBMPSeeds(const std::filesystem::path& folder) {
  TBMPParts rgb;
  rgb.Width = 3;
  rgb.Height = 2;
  rgb.PixelData = PaddedRows({{1, 2, 3, 4, 5, 6, 7, 8, 9}, {9, 8, 7, 6, 5, 4, 3, 2, 1}});
  WriteSeed(folder, "rgb24", BuildBMP(rgb));
  rgb.Height = -2;
  WriteSeed(folder, "topdown", BuildBMP(rgb));

  TBMPParts palette;
  palette.Width = 5;
  palette.Height = 2;
  palette.BitCount = 8;
  palette.ColorsUsed = 4;
  palette.Palette = {0xFF0000, 0x00FF00, 0x0000FF, 0};
  palette.PixelData = PaddedRows({{0, 1, 2, 3, 0}, {3, 2, 1, 0, 3}});
  WriteSeed(folder, "pal8", BuildBMP(palette));
  palette.BitCount = 4;
  palette.PixelData = PaddedRows({{0x01, 0x23, 0x00}, {0x32, 0x10, 0x30}});
  WriteSeed(folder, "pal4", BuildBMP(palette));
  palette.BitCount = 1;
  palette.PixelData = PaddedRows({{0xA8}, {0x50}});
  WriteSeed(folder, "pal1", BuildBMP(palette));

  TBMPParts runs = palette;
  runs.Width = 4;
  runs.Height = 3;
  runs.BitCount = 8;
  runs.Compression = 1;
  runs.PixelData = {3, 1, 0, 0, 0, 2, 2, 0, 1, 3, 0, 0, 0, 3, 2, 3, 1, 0, 0, 1};
  WriteSeed(folder, "rle8", BuildBMP(runs));
  runs.BitCount = 4;
  runs.Compression = 2;
  runs.PixelData = {3, 0x12, 0, 0, 0, 3, 0x31, 0x20, 0, 2, 1, 1, 2, 0x33, 0, 1};
  WriteSeed(folder, "rle4", BuildBMP(runs));

  TBMPParts masked;
  masked.Width = 2;
  masked.BitCount = 16;
  masked.Compression = 3;
  masked.Masks = {0xF800, 0x07E0, 0x001F};
  masked.PixelData = {0xE0, 0x07, 0x00, 0xF8};
  WriteSeed(folder, "bitfields16", BuildBMP(masked));
  masked.BitCount = 32;
  masked.HeaderSize = 124;
  masked.Masks.clear();
  masked.PixelData = {1, 2, 3, 4, 5, 6, 7, 8};
  WriteSeed(folder, "v5", BuildBMP(masked));

  TBMPParts core;
  core.HeaderSize = 12;
  core.Width = 2;
  core.BitCount = 8;
  core.Palette = std::vector<uint32_t>(256, 0x123456);
  core.PixelData = PaddedRows({{0, 255}});
  WriteSeed(folder, "core", BuildBMP(core));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: dib_fuzz_seeds STORED_BLOCK_FOLDER BMP_FOLDER\n");
    return 2;
  }
  const std::filesystem::path blocks = argv[1];
  const std::filesystem::path bitmaps = argv[2];
  std::filesystem::create_directories(blocks);
  std::filesystem::create_directories(bitmaps);
  WriteStoredBlockSeeds(blocks);
  WriteBMPSeeds(bitmaps);
  return 0;
}
