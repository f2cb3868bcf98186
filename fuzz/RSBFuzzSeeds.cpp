// Writes the seed inputs of the RSB fuzz target: small files of the two
// layouts the writer uses, a layout with narrow channels, a single row, and
// a file whose pixel data stops short.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> RSB(std::initializer_list<uint32_t> header, std::initializer_list<uint16_t> pixels) {
  std::vector<uint8_t> bytes;
  for (uint32_t field : header) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(field >> (8 * i)));
  }
  for (uint16_t pixel : pixels) bytes.insert(bytes.end(), {static_cast<uint8_t>(pixel), static_cast<uint8_t>(pixel >> 8)});
  return bytes;
}

void WriteSeed(const std::filesystem::path& folder, const std::string& name, const std::vector<uint8_t>& bytes) {
  std::ofstream out(folder / name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: rsb_fuzz_seeds FOLDER\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  WriteSeed(folder, "plain565", RSB({1, 3, 2, 5, 6, 5, 0}, {0xF800, 0x07E0, 0x001F, 0xFFFF, 0x1234, 0}));
  WriteSeed(folder, "masked4444", RSB({1, 2, 2, 4, 4, 4, 4}, {0xF123, 0x0F00, 0x00F0, 0x800F}));
  WriteSeed(folder, "narrow332", RSB({1, 2, 1, 3, 3, 2, 0}, {0x00FF, 0x0024}));
  WriteSeed(folder, "onerow", RSB({1, 4, 1, 5, 5, 5, 1}, {0x8000, 0x7C00, 0x03E0, 0x001F}));
  WriteSeed(folder, "short", RSB({1, 2, 2, 5, 6, 5, 0}, {1, 2, 3}));
  return 0;
}
