#include "tools/render/SoundFiles.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace zelk::render {

namespace {

std::string Lowercase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// The major format whose usual extension the path carries, or 0.
int MajorFormatForExtension(const std::string& path) {
  std::string extension = Lowercase(std::filesystem::path(path).extension().string());
  if (extension.empty()) {
    return 0;
  }
  extension.erase(0, 1);
  if (extension == "aif") {
    extension = "aiff";
  }
  int count = 0;
  sf_command(nullptr, SFC_GET_FORMAT_MAJOR_COUNT, &count, sizeof(count));
  // libsndfile lists the plain containers before their variants (WAV before
  // WAVEX), so the first match is the common one.
  for (int index = 0; index < count; ++index) {
    SF_FORMAT_INFO info{};
    info.format = index;
    sf_command(nullptr, SFC_GET_FORMAT_MAJOR, &info, sizeof(info));
    if (info.extension != nullptr && extension == info.extension) {
      return info.format;
    }
  }
  return 0;
}

bool IsWritable(int format, const TSoundFormat& shape) {
  SF_INFO info{};
  info.format = format;
  info.channels = shape.Channels;
  info.samplerate = shape.SampleRate;
  return sf_format_check(&info) != 0;
}

std::string FormatName(int command, int format) {
  SF_FORMAT_INFO info{};
  info.format = format;
  if (sf_command(nullptr, command, &info, sizeof(info)) != 0 || info.name == nullptr) {
    return "unknown";
  }
  return info.name;
}

}  // namespace

std::string DescribeFormat(int format) {
  return FormatName(SFC_GET_FORMAT_INFO, format & SF_FORMAT_TYPEMASK) + ", " +
         FormatName(SFC_GET_FORMAT_INFO, format & SF_FORMAT_SUBMASK);
}

int ChooseOutputFormat(const TSoundFormat& input, const std::string& outputPath) {
  const int extensionMajor = MajorFormatForExtension(outputPath);
  const int major = extensionMajor != 0 ? extensionMajor : input.Format & SF_FORMAT_TYPEMASK;
  for (int candidate : {major | (input.Format & SF_FORMAT_SUBMASK), major | SF_FORMAT_FLOAT}) {
    if (IsWritable(candidate, input)) {
      return candidate;
    }
  }
  return SF_FORMAT_WAV | SF_FORMAT_FLOAT;
}

TSoundFileReader::TSoundFileReader(const std::string& path) : m_Path(path) {
  SF_INFO info{};
  m_File = sf_open(path.c_str(), SFM_READ, &info);
  if (m_File == nullptr) {
    throw TSoundFileError("cannot read '" + path + "': " + sf_strerror(nullptr));
  }
  m_Format = {info.format, info.channels, info.samplerate};
  m_Frames = info.frames;
}

TSoundFileReader::~TSoundFileReader() { sf_close(m_File); }

int64_t TSoundFileReader::Read(float* interleaved, int64_t frames) {
  const sf_count_t read = sf_readf_float(m_File, interleaved, frames);
  if (read < frames && sf_error(m_File) != SF_ERR_NO_ERROR) {
    throw TSoundFileError("cannot read '" + m_Path + "': " + sf_strerror(m_File));
  }
  return read;
}

TSoundFileWriter::TSoundFileWriter(const std::string& path, const TSoundFormat& format) : m_Path(path) {
  SF_INFO info{};
  info.format = format.Format;
  info.channels = format.Channels;
  info.samplerate = format.SampleRate;
  m_File = sf_open(path.c_str(), SFM_WRITE, &info);
  if (m_File == nullptr) {
    throw TSoundFileError("cannot write '" + path + "': " + sf_strerror(nullptr));
  }
  sf_command(m_File, SFC_SET_CLIPPING, nullptr, SF_TRUE);
}

TSoundFileWriter::~TSoundFileWriter() {
  if (m_File != nullptr) {
    sf_close(m_File);
  }
}

void TSoundFileWriter::Write(const float* interleaved, int64_t frames) {
  if (sf_writef_float(m_File, interleaved, frames) != frames) {
    throw TSoundFileError("cannot write '" + m_Path + "': " + sf_strerror(m_File));
  }
}

void TSoundFileWriter::Close() {
  SNDFILE* file = m_File;
  m_File = nullptr;
  if (file != nullptr && sf_close(file) != 0) {
    throw TSoundFileError("cannot complete '" + m_Path + "'");
  }
}

}  // namespace zelk::render
