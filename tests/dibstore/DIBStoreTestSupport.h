// Helpers shared by the stored-form, bitmap and picture tests: image records,
// seeded picture-like pixels, a filer that captures property hooks, and
// files in a per-test temporary folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "runtime/Event.h"
#include "runtime/Filer.h"
#include "runtime/Object.h"
#include "runtime/Stream.h"
#include "tests/support/ChangeCounter.h"
#include "tests/support/TemporaryFolder.h"

namespace zelk::tests {

// An image record: width, height (little-endian 16-bit), then the pixels.
inline std::vector<uint8_t> MakeRecord(uint16_t width, uint16_t height, const std::vector<uint8_t>& pixels) {
  std::vector<uint8_t> record = {static_cast<uint8_t>(width), static_cast<uint8_t>(width >> 8),
                                 static_cast<uint8_t>(height), static_cast<uint8_t>(height >> 8)};
  record.insert(record.end(), pixels.begin(), pixels.end());
  return record;
}

// Opaque pixels with smooth areas and edges, like a drawn control picture.
inline std::vector<uint8_t> PictureLikePixels(uint16_t width, uint16_t height, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> pixels(size_t{width} * height * 4);
  for (size_t y = 0; y < height; ++y) {
    for (size_t x = 0; x < width; ++x) {
      uint8_t* pixel = &pixels[(y * width + x) * 4];
      const bool ring = ((x - width / 2) * (x - width / 2) + (y - height / 2) * (y - height / 2)) % 997 < 300;
      pixel[0] = static_cast<uint8_t>(ring ? 40 : 200 - y / 4);
      pixel[1] = static_cast<uint8_t>(ring ? 40 : 180);
      pixel[2] = static_cast<uint8_t>(ring ? 60 + (random() & 3) : 160);
      pixel[3] = 255;
    }
  }
  return pixels;
}

inline std::vector<uint8_t> RandomBytes(size_t count, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> bytes(count);
  for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
  return bytes;
}

inline std::vector<uint8_t> StreamBytes(const TMemoryStream& stream) { return stream.ToVector(); }

// Captures what an object declares in DefineProperties, in order.
class TRecordingFiler : public TFiler {
 public:
  struct THook {
    bool Binary = false;
    TReadValue ReadValue;
    TWriteValue WriteValue;
    TReadBinary ReadBinary;
    TWriteBinary WriteBinary;
    bool HasData = false;
  };

  void DefineProperty(std::string_view name, TReadValue read, TWriteValue write, bool hasData) override {
    Names.emplace_back(name);
    Hooks[std::string(name)] = {false, std::move(read), std::move(write), {}, {}, hasData};
  }
  void DefineBinaryProperty(std::string_view name, TReadBinary read, TWriteBinary write, bool hasData) override {
    Names.emplace_back(name);
    Hooks[std::string(name)] = {true, {}, {}, std::move(read), std::move(write), hasData};
  }

  std::vector<std::string> Names;
  std::map<std::string, THook> Hooks;
};

// A value reader that answers one string, for the file name hooks.
class TStringValueReader : public TValueReader {
 public:
  explicit TStringValueReader(std::string text) : text_(std::move(text)) {}
  int64_t ReadInteger() override { return 0; }
  double ReadFloat() override { return 0; }
  std::string ReadString() override { return text_; }
  std::string ReadIdent() override { return text_; }
  bool ReadBoolean() override { return false; }
  void SkipValue() override {}

 private:
  std::string text_;
};

class TCapturingValueWriter : public TValueWriter {
 public:
  void WriteInteger(int64_t) override {}
  void WriteFloat(double) override {}
  void WriteString(std::string_view text) override { Written.emplace_back(text); }
  void WriteIdent(std::string_view ident) override { Written.emplace_back(ident); }
  void WriteBoolean(bool) override {}
  std::vector<std::string> Written;
};

}  // namespace zelk::tests
