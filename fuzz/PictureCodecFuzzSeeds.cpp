// Writes the seed inputs of the JPEG and PNG fuzz targets, encoded with
// libjpeg and libpng: greyscale and colour JPEG files, baseline and
// progressive, and PNG files of every colour type with 8 and 16 bits.
// libjpeg's header needs FILE and size_t declared first.
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>
#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

void WriteSeed(const std::filesystem::path& folder, const std::string& name, const std::vector<uint8_t>& bytes) {
  std::ofstream out(folder / name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A gradient with some detail, so that every coding path has work.
std::vector<uint8_t> Samples(int width, int height, int components) {
  std::vector<uint8_t> samples(static_cast<size_t>(width) * height * components);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<uint8_t>((i * 37) ^ (i / 7));
  return samples;
}

std::vector<uint8_t> EncodeJPEG(int width, int height, bool colour, bool progressive) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = colour ? 3 : 1;
  info.in_color_space = colour ? JCS_RGB : JCS_GRAYSCALE;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 75, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> samples = Samples(width, height, info.input_components);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = samples.data() + static_cast<size_t>(info.next_scanline) * width * info.input_components;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> bytes(buffer, buffer + size);
  std::free(buffer);
  return bytes;
}

std::vector<uint8_t> EncodePNG(int width, int height, png_uint_32 format) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = format;
  std::vector<uint8_t> samples = Samples(width, height, static_cast<int>(PNG_IMAGE_PIXEL_SIZE(format)));
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, samples.data(), 0, nullptr)) return {};
  std::vector<uint8_t> bytes(size);
  if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, samples.data(), 0, nullptr)) return {};
  bytes.resize(size);
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: picture_codec_fuzz_seeds JPEG_FOLDER PNG_FOLDER\n");
    return 2;
  }
  const std::filesystem::path jpegFolder = argv[1];
  const std::filesystem::path pngFolder = argv[2];
  std::filesystem::create_directories(jpegFolder);
  std::filesystem::create_directories(pngFolder);
  WriteSeed(jpegFolder, "grey", EncodeJPEG(9, 7, false, false));
  WriteSeed(jpegFolder, "colour", EncodeJPEG(17, 16, true, false));
  WriteSeed(jpegFolder, "progressive", EncodeJPEG(16, 9, true, true));
  WriteSeed(pngFolder, "grey", EncodePNG(5, 3, PNG_FORMAT_GRAY));
  WriteSeed(pngFolder, "greyalpha", EncodePNG(3, 4, PNG_FORMAT_GA));
  WriteSeed(pngFolder, "rgb", EncodePNG(6, 5, PNG_FORMAT_RGB));
  WriteSeed(pngFolder, "rgba", EncodePNG(4, 4, PNG_FORMAT_RGBA));
  WriteSeed(pngFolder, "rgba16", EncodePNG(3, 2, PNG_FORMAT_LINEAR_RGB_ALPHA));
  return 0;
}
