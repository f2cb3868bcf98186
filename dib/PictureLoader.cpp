#include "dib/PictureLoader.h"

#include <cstdio>
#include <memory>
#include <utility>

#include "runtime/Registry.h"
#include "runtime/Text.h"

namespace zelk {

namespace {

struct TLoaderEntry {
  std::string Extension;
  TPictureDecoder Decoder;
};

TRegistry<TLoaderEntry, std::default_delete<TLoaderEntry>>& Loaders() {
  static TRegistry<TLoaderEntry, std::default_delete<TLoaderEntry>> loaders;
  return loaders;
}

TLoaderEntry* FindEntry(std::string_view extension) {
  return Loaders().FindFirst([extension](const TLoaderEntry& entry) { return SameText(entry.Extension, extension); });
}

std::string_view ExtensionOf(std::string_view fileName) {
  const size_t dot = fileName.find_last_of('.');
  const size_t separator = fileName.find_last_of("/\\");
  if (dot == std::string_view::npos || (separator != std::string_view::npos && dot < separator)) return {};
  return fileName.substr(dot);
}

struct TFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The whole file, or nothing when it cannot be opened or read.
bool ReadWholeFile(const std::string& fileName, std::vector<uint8_t>& bytes) {
  std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(fileName.c_str(), "rb"));
  if (!file) return false;
  bytes.clear();
  uint8_t chunk[65536];
  size_t count = 0;
  while ((count = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) bytes.insert(bytes.end(), chunk, chunk + count);
  return std::ferror(file.get()) == 0;
}

}  // namespace

void RegisterPictureLoader(std::string_view extension, TPictureDecoder decoder) {
  if (TLoaderEntry* existing = FindEntry(extension)) {
    existing->Decoder = decoder;
  } else {
    Loaders().Add(new TLoaderEntry{std::string(extension), decoder});
  }
}

void ClearPictureLoaders() { Loaders().Clear(); }

TPictureDecoder FindPictureLoader(std::string_view fileName) {
  const std::string_view extension = ExtensionOf(fileName);
  if (extension.empty()) return nullptr;
  const TLoaderEntry* entry = FindEntry(extension);
  return entry != nullptr ? entry->Decoder : nullptr;
}

TLoadedPicture LoadPictureFile(const std::string& fileName) {
  const TPictureDecoder decoder = FindPictureLoader(fileName);
  if (decoder == nullptr) throw EPictureError(FormatMessage(kPictureTypeUnknownMessage, fileName));
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(fileName, bytes)) throw EPictureError(FormatMessage(kPictureFileNotFoundMessage, fileName));
  return decoder(bytes);
}

size_t CheckPictureSize(int64_t width, int64_t height, std::string_view format) {
  if (width < 1 || height < 1 || width > kMaxPictureDimension || height > kMaxPictureDimension) {
    throw EPictureError(std::string(format) + " picture has an unsupported size " + std::to_string(width) + " x " +
                        std::to_string(height) + ".");
  }
  return static_cast<size_t>(width) * static_cast<size_t>(height);
}

}  // namespace zelk
