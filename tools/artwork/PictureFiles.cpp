#include "tools/artwork/PictureFiles.h"

#include <cstdio>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include <algorithm>
#include <cctype>
#include <csetjmp>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "tools/artwork/PNGFile.h"

namespace zelk::artwork {

namespace {

constexpr int kJPEGQuality = 92;

// libjpeg reports errors by calling error_exit, which must not return; it
// jumps back to WriteJPEG's setjmp point with the message kept here.
struct TJPEGErrors {
  jpeg_error_mgr Manager;
  std::jmp_buf Return;
  char Message[JMSG_LENGTH_MAX];
};

void LeaveWithError(j_common_ptr info) {
  auto* errors = reinterpret_cast<TJPEGErrors*>(info->err);
  info->err->format_message(info, errors->Message);
  std::longjmp(errors->Return, 1);
}

// Row y as red, green, blue bytes into row (width * 3 bytes).
void FillRGBRow(const TLoadedPicture& picture, int y, uint8_t* row) {
  for (int x = 0; x < picture.width; ++x) {
    const uint32_t pixel = picture.pixels[static_cast<size_t>(y) * picture.width + x];
    *row++ = static_cast<uint8_t>(pixel >> 16);
    *row++ = static_cast<uint8_t>(pixel >> 8);
    *row++ = static_cast<uint8_t>(pixel);
  }
}

// Kept apart from C++ objects with destructors: longjmp skips them.
bool CompressJPEG(const TLoadedPicture& picture, uint8_t* row, unsigned char** buffer, unsigned long* size,
                  char* message) {
  jpeg_compress_struct info{};
  TJPEGErrors errors{};
  info.err = jpeg_std_error(&errors.Manager);
  errors.Manager.error_exit = LeaveWithError;
  if (setjmp(errors.Return) != 0) {
    jpeg_destroy_compress(&info);
    std::snprintf(message, JMSG_LENGTH_MAX, "%s", errors.Message);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, buffer, size);
  info.image_width = static_cast<JDIMENSION>(picture.width);
  info.image_height = static_cast<JDIMENSION>(picture.height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, kJPEGQuality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    FillRGBRow(picture, static_cast<int>(info.next_scanline), row);
    JSAMPROW rows[1] = {row};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

std::vector<uint8_t> EncodeJPEG(const TLoadedPicture& picture) {
  if (picture.width <= 0 || picture.height <= 0) throw std::runtime_error("an empty picture has no JPEG form");
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  char message[JMSG_LENGTH_MAX] = {};
  std::vector<uint8_t> row(static_cast<size_t>(picture.width) * 3);
  const bool done = CompressJPEG(picture, row.data(), &buffer, &size, message);
  std::vector<uint8_t> bytes(buffer, buffer + (done ? size : 0));
  std::free(buffer);
  if (!done) throw std::runtime_error(std::string("libjpeg: ") + message);
  return bytes;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) {
    throw std::runtime_error("cannot write " + path);
  }
}

}  // namespace

TPictureFileFormat PictureFileFormatOf(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".png") return TPictureFileFormat::pfPNG;
  if (extension == ".jpg" || extension == ".jpeg") return TPictureFileFormat::pfJPEG;
  return TPictureFileFormat::pfNone;
}

std::string WritePictureFile(const std::string& path, const TLoadedPicture& picture) {
  switch (PictureFileFormatOf(path)) {
    case TPictureFileFormat::pfPNG:
      WritePNG(path, picture);
      return "PNG";
    case TPictureFileFormat::pfJPEG:
      WriteBytes(path, EncodeJPEG(picture));
      return "JPEG";
    case TPictureFileFormat::pfNone:
      break;
  }
  throw std::runtime_error("'" + path + "': write pictures as .png or .jpg");
}

}  // namespace zelk::artwork
