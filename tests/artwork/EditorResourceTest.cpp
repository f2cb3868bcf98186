// The editor's form resource TFMZELK as `zelk-resc dump` prints it: every
// setting of resources/FmZelk.zres (the form, its image container, its knob,
// its image list and its settings component) in stored order; and its two
// pictures, stored with the RLE compressor that the settings component
// names, which decode through the stored-block reader to exactly the
// committed pictures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "ArtworkTestSupport.h"
#include "dib/DIBLibrary.h"
#include "dib/MemoryDIB.h"
#include "resources/ComponentResources.h"
#include "runtime/Stream.h"

namespace zelk::tests {
namespace {

// The RLE compressor's GUID in its binary layout.
const std::vector<uint8_t> kRLEGUIDBytes = {0x56, 0x90, 0xBA, 0xCA, 0x49, 0x73, 0xA4, 0x43,
                                            0xB0, 0x10, 0x37, 0x64, 0xFB, 0xFA, 0xC2, 0x30};

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// What `zelk-resc dump` prints for the built-in TFMZELK. Each test has files
// of its own: CTest runs the tests of this binary side by side.
std::string DumpOfTheBuiltInResource() {
  const std::string testName = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  const std::filesystem::path folder = ::testing::TempDir();
  const std::filesystem::path stream = folder / (testName + ".bin");
  const std::filesystem::path dump = folder / (testName + ".zres");
  const std::span<const uint8_t> bytes = FindComponentResource("TFMZELK").value();
  std::ofstream(stream, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::ssize(bytes));
  const std::string command = "\"" ZELK_RESC_PATH "\" dump \"" + stream.string() + "\" -o \"" + dump.string() + "\"";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  return ReadText(dump);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Replaces each binary value {hex digits} of the text by {...} and returns
// the bytes of each, in order.
std::vector<std::vector<uint8_t>> TakeBinaryValues(std::string& text) {
  std::vector<std::vector<uint8_t>> values;
  size_t at = 0;
  while ((at = text.find("= {", at)) != std::string::npos) {
    const size_t open = at + 2;
    const size_t close = text.find('}', open);
    std::vector<uint8_t>& bytes = values.emplace_back();
    int pending = -1;
    for (size_t i = open + 1; i < close; ++i) {
      const int digit = HexDigit(text[i]);
      if (digit < 0) continue;
      if (pending < 0) {
        pending = digit;
      } else {
        bytes.push_back(static_cast<uint8_t>(pending * 16 + digit));
        pending = -1;
      }
    }
    text.replace(open, close + 1 - open, "{...}");
    at = open;
  }
  return values;
}

// The authored text as the dump prints it back: without its comment lines,
// and with each embedded picture shown as {...}.
std::string ExpectedDump() {
  std::istringstream authored(ReadText(tests::ResourcePath("FmZelk.zres")));
  std::string expected;
  for (std::string line; std::getline(authored, line);) {
    const size_t first = line.find_first_not_of(' ');
    if (first != std::string::npos && line.compare(first, 2, "//") == 0) continue;
    if (const size_t picture = line.find("= picture('"); picture != std::string::npos) {
      line.replace(picture + 2, std::string::npos, "{...}");
    }
    expected += line + "\n";
  }
  return expected;
}

TEST(EditorResource, TheDumpShowsEverySettingInStoredOrder) {
  std::string dump = DumpOfTheBuiltInResource();
  EXPECT_EQ(TakeBinaryValues(dump).size(), 2u);
  const std::string expected = ExpectedDump();
  ASSERT_NE(expected.find("object Zelk: TDIBDial"), std::string::npos) << "the authored form is read";
  EXPECT_EQ(dump, expected);
}

TEST(EditorResource, TheStoredPicturesAreRLEBlocksOfTheCommittedPictures) {
  InitializeDIBLibrary();
  std::string dump = DumpOfTheBuiltInResource();
  const std::vector<std::vector<uint8_t>> blocks = TakeBinaryValues(dump);
  ASSERT_EQ(blocks.size(), 2u);
  const char* files[] = {"Zelk1.png", "ZVBack.png"};
  for (size_t i = 0; i < blocks.size(); ++i) {
    SCOPED_TRACE(files[i]);
    const std::vector<uint8_t>& block = blocks[i];
    const TLoadedPicture committed = tests::CommittedPicture(files[i]);
    ASSERT_GE(block.size(), 26u);
    EXPECT_EQ(std::string(block.begin(), block.begin() + 6), "DIBCMP");
    EXPECT_EQ(std::vector<uint8_t>(block.begin() + 6, block.begin() + 22), kRLEGUIDBytes);
    const uint32_t length = block[22] | block[23] << 8 | block[24] << 16 | uint32_t{block[25]} << 24;
    EXPECT_EQ(length, 4u + 4u * committed.width * committed.height);

    std::unique_ptr<TMemoryDIB, TFreeObject> dib(New<TMemoryDIB>());
    TReadOnlyMemoryStream stream(block);
    dib->ReadData(stream);
    ASSERT_EQ(dib->Width(), committed.width);
    ASSERT_EQ(dib->Height(), committed.height);
    int differences = 0;
    for (int y = 0; y < committed.height; ++y) {
      for (int x = 0; x < committed.width; ++x) {
        if (dib->Pixel(x, y) != committed.pixels[static_cast<size_t>(y) * committed.width + x]) ++differences;
      }
    }
    EXPECT_EQ(differences, 0);
  }
}

}  // namespace
}  // namespace zelk::tests
