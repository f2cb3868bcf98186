#include "tools/render/SoundFiles.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

namespace zelk::render {

namespace {

std::string Lowercase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// A container and, for the containers that hold one coding only, that coding.
struct TContainer {
  int Major = 0;
  int Coding = 0;  // 0: choose by the input
};

// Names people give formats that libsndfile lists under another extension
// (or under none), and the coding each of them implies.
struct TFormatAlias {
  const char* Name;
  TContainer Container;
};
constexpr TFormatAlias kFormatAliases[] = {
    {"wav", {SF_FORMAT_WAV, 0}},
    {"wave", {SF_FORMAT_WAV, 0}},
    {"aif", {SF_FORMAT_AIFF, 0}},
    {"aifc", {SF_FORMAT_AIFF, 0}},
    {"ogg", {SF_FORMAT_OGG, SF_FORMAT_VORBIS}},
    {"oga", {SF_FORMAT_OGG, SF_FORMAT_VORBIS}},
    {"vorbis", {SF_FORMAT_OGG, SF_FORMAT_VORBIS}},
    {"opus", {SF_FORMAT_OGG, SF_FORMAT_OPUS}},
    {"mp3", {SF_FORMAT_MPEG, SF_FORMAT_MPEG_LAYER_III}},
};

// The container a format name or file extension (without its dot) names,
// or Major 0 when none does.
TContainer ContainerNamed(const std::string& name) {
  const std::string lowercase = Lowercase(name);
  for (const TFormatAlias& alias : kFormatAliases) {
    if (lowercase == alias.Name) return alias.Container;
  }
  int count = 0;
  sf_command(nullptr, SFC_GET_FORMAT_MAJOR_COUNT, &count, sizeof(count));
  // libsndfile lists the plain containers before their variants (WAV before
  // WAVEX), so the first match is the common one.
  for (int index = 0; index < count; ++index) {
    SF_FORMAT_INFO info{};
    info.format = index;
    sf_command(nullptr, SFC_GET_FORMAT_MAJOR, &info, sizeof(info));
    if (info.extension != nullptr && lowercase == info.extension) return {info.format, 0};
  }
  return {};
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

int ChooseOutputFormat(const TSoundFormat& input, const std::string& outputPath, const std::string& formatName) {
  const std::string extension = std::filesystem::path(outputPath).extension().string();
  const std::string name = !formatName.empty() ? formatName : extension.empty() ? "" : extension.substr(1);
  TContainer container{input.Format & SF_FORMAT_TYPEMASK, 0};
  if (!name.empty()) {
    container = ContainerNamed(name);
    if (container.Major == 0) {
      throw TSoundFileError(
          (formatName.empty() ? "'" + outputPath + "': '" + extension + "' names" : "--format '" + formatName + "' names") +
          " no sound file format libsndfile writes (give --format wav, flac, ogg, aiff, ...)");
    }
  }
  const int candidates[] = {container.Coding, input.Format & SF_FORMAT_SUBMASK, SF_FORMAT_FLOAT, SF_FORMAT_PCM_24,
                            SF_FORMAT_PCM_16};
  for (int coding : candidates) {
    if (coding != 0 && IsWritable(container.Major | coding, input)) return container.Major | coding;
    if (container.Coding != 0) break;  // a one-coding container takes nothing else
  }
  throw TSoundFileError("cannot write '" + outputPath + "': this libsndfile has no writer for " +
                        FormatName(SFC_GET_FORMAT_INFO, container.Major) +
                        (container.Coding != 0 ? ", " + FormatName(SFC_GET_FORMAT_INFO, container.Coding) : "") +
                        " at " + std::to_string(input.Channels) + " channels, " + std::to_string(input.SampleRate) +
                        " Hz");
}

TSoundFileReader::TSoundFileReader(const std::string& path) : m_Path(path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) throw TSoundFileError("'" + path + "' does not exist");
  if (std::filesystem::is_directory(path, error)) throw TSoundFileError("'" + path + "' is a folder, not a sound file");
  SF_INFO info{};
  m_File = sf_open(path.c_str(), SFM_READ, &info);
  if (m_File == nullptr) {
    const bool opens = std::ifstream(path, std::ios::binary).is_open();
    throw TSoundFileError(opens ? "'" + path + "' is no sound file libsndfile reads"
                                : "'" + path + "' cannot be opened (no permission to read it?)");
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
