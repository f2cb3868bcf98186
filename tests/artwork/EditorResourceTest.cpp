// The editor's form resource TFMZELK as `zelk-resc dump` prints it: every
// setting of the form, its image container, its knob, its image list and its
// settings component, in stored order; and its two pictures, stored with the
// RLE compressor that the settings component names, which decode through
// the stored-block reader to exactly the committed pictures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "ArtworkTestSupport.h"
#include "dib/DIBLibrary.h"
#include "dib/MemoryDIB.h"
#include "resources/ComponentResources.h"
#include "runtime/Stream.h"

namespace zelk {
namespace {

constexpr std::string_view kExpectedDump = R"(object FmZelk: TFmZelk
  Left = 528
  Top = 212
  BorderStyle = bsNone
  Caption = 'FmZelk'
  ClientHeight = 269
  ClientWidth = 245
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  PixelsPerInch = 96
  TextHeight = 13
  object Background: TDIBImageContainer
    Left = 0
    Top = 0
    Width = 245
    Height = 269
    Align = alClient
    IndexImage.DIBIndex = -1
    TileMethod = tmCenter
    BorderDrawPosition = bdOverControls
    TabOrder = 0
    UseDockManager = True
    object Zelk: TDIBDial
      Left = 0
      Top = 0
      Width = 245
      Height = 269
      Align = alClient
      AutoSize = True
      Accelerator = #0
      DIBFeatures = <>
      DIBImageList = DIBImageList
      IndexMain.DIBImageList = DIBImageList
      IndexMain.DIBIndex = 1
      IndexPointer.DIBImageList = DIBImageList
      IndexPointer.DIBIndex = 0
      Max = 359
      Opacity = 255
      PointerAngles.Range = 359
      PointerAngles.Resolution = 359.0
      PointerOpacities.Active = 180
      PointerRadius = 10
      PointerRotate = True
      DIBTabOrder = -1
      HorizontalPixelsPerPosition = 1.0
      VerticalPixelsPerPosition = 1.0
      OnChange = ZelkChange
    end
  end
  object DIBImageList: TDIBImageList
    DIBImages = <
      item
        DIB.Angle = 0
        DIB.AutoSize = False
        DIB.Height = 222
        DIB.Masked = False
        DIB.Opacity = 255
        DIB.Scale = 100.0
        DIB.Transparent = True
        DIB.TransparentColor = clBlack
        DIB.TransparentMode = tmFixed
        DIB.Width = 195
        DIB.Data = {...}
        DIB.ImageFilename = 'pictures/Zelk1.png'
        DisplayName = 'Zelk1'
      end
      item
        DIB.Angle = 0
        DIB.AutoSize = False
        DIB.Height = 444
        DIB.Masked = False
        DIB.Opacity = 255
        DIB.Scale = 100.0
        DIB.Transparent = False
        DIB.TransparentColor = 2039583
        DIB.TransparentMode = tmAuto
        DIB.Width = 390
        DIB.Data = {...}
        DIB.ImageFilename = 'pictures/ZVBack.png'
        DisplayName = 'ZVBack'
      end>
    Left = 24
    Top = 8
  end
  object DIBSettings: TDIBSettings
    DIBCompressor = '{CABA9056-7349-43A4-B010-3764FBFAC230}'
    Left = 52
    Top = 8
  end
end
)";

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

TEST(EditorResource, TheDumpShowsEverySettingInStoredOrder) {
  std::string dump = DumpOfTheBuiltInResource();
  EXPECT_EQ(TakeBinaryValues(dump).size(), 2u);
  EXPECT_EQ(dump, kExpectedDump);
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
}  // namespace zelk
