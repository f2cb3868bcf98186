#include "dib/codecs/JPEGDecoder.h"

// libjpeg's header needs FILE and size_t declared first.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>

#include <new>
#include <string>
#include <vector>

#include "dib/codecs/CodecLibrary.h"
#include "dib/codecs/DecodedSizeLimit.h"

namespace zelk {

namespace {

// libjpeg, loaded with the first JPEG file (CodecLibrary.h). The build
// names the file of the libjpeg its header belongs to (ZELK_JPEG_SONAME).
#define ZELK_JPEG_FUNCTIONS(F)                                                                        \
  F(jpeg_std_error) F(jpeg_CreateDecompress) F(jpeg_mem_src) F(jpeg_read_header) F(jpeg_start_decompress) \
  F(jpeg_read_scanlines) F(jpeg_finish_decompress) F(jpeg_destroy_decompress)

struct TJPEGFunctions {
#define ZELK_JPEG_POINTER(name) decltype(&::name) name = nullptr;
  ZELK_JPEG_FUNCTIONS(ZELK_JPEG_POINTER)
#undef ZELK_JPEG_POINTER
};

TJPEGFunctions gJPEG;

// Empty once gJPEG is filled, else why libjpeg is unusable.
const std::string& LoadJPEGLibrary() {
  static TCodecLibrary library(ZELK_JPEG_SONAME);
  static const std::string error = [] {
    TJPEGFunctions functions;
#define ZELK_JPEG_BIND(name) library.Bind(functions.name, #name);
    ZELK_JPEG_FUNCTIONS(ZELK_JPEG_BIND)
#undef ZELK_JPEG_BIND
    if (library.Error().empty()) gJPEG = functions;
    return library.Error();
  }();
  return error;
}

#define jpeg_std_error (gJPEG.jpeg_std_error)
#define jpeg_CreateDecompress (gJPEG.jpeg_CreateDecompress)
#define jpeg_mem_src (gJPEG.jpeg_mem_src)
#define jpeg_read_header (gJPEG.jpeg_read_header)
#define jpeg_start_decompress (gJPEG.jpeg_start_decompress)
#define jpeg_read_scanlines (gJPEG.jpeg_read_scanlines)
#define jpeg_finish_decompress (gJPEG.jpeg_finish_decompress)
#define jpeg_destroy_decompress (gJPEG.jpeg_destroy_decompress)

// libjpeg reports fatal errors through error_exit, which must not return:
// it jumps back to the decoding routine. Warnings (a file that ends early,
// stray bytes) are not fatal; libjpeg fills in what is missing.
struct TJPEGErrorManager {
  jpeg_error_mgr Public;
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

void JumpOnError(j_common_ptr info) {
  auto* errors = reinterpret_cast<TJPEGErrorManager*>(info->err);
  (*info->err->format_message)(info, errors->Message);
  std::longjmp(errors->Jump, 1);
}

void IgnoreMessage(j_common_ptr, int) {}

enum class TJPEGResult { jrDecoded, jrLibraryError, jrBadSize, jrNoMemory };

uint32_t MakePixel(unsigned red, unsigned green, unsigned blue) {
  return 0xFF000000u | static_cast<uint32_t>(red) << 16 | static_cast<uint32_t>(green) << 8 | blue;
}

// One decoded scanline of 1 (grey), 3 (RGB) or 4 (CMYK) components to pixels.
void ConvertRow(const uint8_t* row, const jpeg_decompress_struct& info, uint32_t* out) {
  for (JDIMENSION x = 0; x < info.output_width; ++x) {
    if (info.output_components == 1) {
      out[x] = MakePixel(row[x], row[x], row[x]);
    } else if (info.output_components == 3) {
      out[x] = MakePixel(row[3 * x], row[3 * x + 1], row[3 * x + 2]);
    } else {
      // Files written with the Adobe marker store CMYK inverted.
      const uint8_t* cmyk = row + 4 * x;
      const bool inverted = info.saw_Adobe_marker;
      const unsigned key = inverted ? cmyk[3] : 255u - cmyk[3];
      auto channel = [&](uint8_t value) { return (inverted ? value : 255u - value) * key / 255u; };
      out[x] = MakePixel(channel(cmyk[0]), channel(cmyk[1]), channel(cmyk[2]));
    }
  }
}

bool Resize(std::vector<uint32_t>& pixels, std::vector<uint8_t>& row, size_t pixelCount, size_t rowBytes) noexcept {
  try {
    pixels.resize(pixelCount);
    row.resize(rowBytes);
    return true;
  } catch (...) {
    return false;
  }
}

void ChooseOutputColorSpace(jpeg_decompress_struct& info) {
  if (info.jpeg_color_space == JCS_GRAYSCALE) {
    info.out_color_space = JCS_GRAYSCALE;
  } else if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK) {
    info.out_color_space = JCS_CMYK;
  } else {
    info.out_color_space = JCS_RGB;
  }
}

// Runs libjpeg over the file. Only plain data live in this frame, so the
// jump back from an error skips no destructor; the C++ objects it fills are
// owned by the caller.
TJPEGResult RunDecoder(std::span<const uint8_t> bytes, TLoadedPicture& picture, std::vector<uint8_t>& row,
                       char* message) {
  jpeg_decompress_struct info;
  TJPEGErrorManager errors;
  info.err = jpeg_std_error(&errors.Public);
  errors.Public.error_exit = JumpOnError;
  errors.Public.emit_message = IgnoreMessage;
  errors.Message[0] = '\0';
  if (setjmp(errors.Jump) != 0) {
    jpeg_destroy_decompress(&info);
    std::snprintf(message, JMSG_LENGTH_MAX, "%s", errors.Message);
    return TJPEGResult::jrLibraryError;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  ChooseOutputColorSpace(info);
  const uint64_t width = info.image_width;
  const uint64_t height = info.image_height;
  if (width < 1 || height < 1 || width > kMaxPictureDimension || height > kMaxPictureDimension ||
      !PlausiblePixelCount(width, height, bytes.size())) {
    jpeg_destroy_decompress(&info);
    return TJPEGResult::jrBadSize;
  }
  jpeg_start_decompress(&info);
  if (!Resize(picture.pixels, row, static_cast<size_t>(info.output_width) * static_cast<size_t>(info.output_height),
              static_cast<size_t>(info.output_width) * static_cast<size_t>(info.output_components))) {
    jpeg_destroy_decompress(&info);
    return TJPEGResult::jrNoMemory;
  }
  picture.width = static_cast<int32_t>(info.output_width);
  picture.height = static_cast<int32_t>(info.output_height);
  while (info.output_scanline < info.output_height) {
    JSAMPROW rows[1] = {row.data()};
    const JDIMENSION y = info.output_scanline;
    jpeg_read_scanlines(&info, rows, 1);
    ConvertRow(row.data(), info, picture.pixels.data() + static_cast<size_t>(y) * info.output_width);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return TJPEGResult::jrDecoded;
}

}  // namespace

TLoadedPicture DecodeJPEG(std::span<const uint8_t> fileBytes) {
  if (const std::string& error = LoadJPEGLibrary(); !error.empty()) {
    throw EPictureError("JPEG files need libjpeg, which cannot be loaded: " + error + ".");
  }
  TLoadedPicture picture;
  std::vector<uint8_t> row;
  char message[JMSG_LENGTH_MAX] = {};
  switch (RunDecoder(fileBytes, picture, row, message)) {
    case TJPEGResult::jrDecoded:
      return picture;
    case TJPEGResult::jrLibraryError:
      throw EPictureError(std::string("Invalid JPEG file: ") + message + ".");
    case TJPEGResult::jrBadSize:
      throw EPictureError("Invalid JPEG file: its size is unsupported or exceeds what its data hold.");
    case TJPEGResult::jrNoMemory:
      break;
  }
  throw std::bad_alloc();
}

}  // namespace zelk
