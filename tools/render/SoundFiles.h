// Audio files through libsndfile: a reader and a writer of interleaved float
// frames, and the choice of the output's format. All failures throw
// TSoundFileError with a one-line reason naming the file.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

struct sf_private_tag;

namespace zelk::render {

class TSoundFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TSoundFormat {
  int Format = 0;  // libsndfile's major type | subtype
  int Channels = 0;
  int SampleRate = 0;
};

// "WAV (Microsoft), Signed 16 bit PCM" and the like.
std::string DescribeFormat(int format);

// The output's format: the container that formatName names, or the output
// path's extension when formatName is empty (the input's container when the
// path has no extension); in it the input's sample format where the
// container takes it, else 32-bit float, 24- or 16-bit PCM, else the
// container's own coding (Vorbis, Opus, MP3). Throws TSoundFileError when
// the name is no format, or one this libsndfile cannot write.
int ChooseOutputFormat(const TSoundFormat& input, const std::string& outputPath, const std::string& formatName = "");

class TSoundFileReader {
 public:
  explicit TSoundFileReader(const std::string& path);
  ~TSoundFileReader();
  TSoundFileReader(const TSoundFileReader&) = delete;
  TSoundFileReader& operator=(const TSoundFileReader&) = delete;

  const TSoundFormat& Format() const { return m_Format; }
  int64_t Frames() const { return m_Frames; }
  // Reads up to frames interleaved frames; answers how many were read (0 at the end).
  int64_t Read(float* interleaved, int64_t frames);

 private:
  std::string m_Path;
  sf_private_tag* m_File = nullptr;
  TSoundFormat m_Format;
  int64_t m_Frames = 0;
};

class TSoundFileWriter {
 public:
  // Integer formats clip samples beyond full scale instead of wrapping them.
  TSoundFileWriter(const std::string& path, const TSoundFormat& format);
  ~TSoundFileWriter();
  TSoundFileWriter(const TSoundFileWriter&) = delete;
  TSoundFileWriter& operator=(const TSoundFileWriter&) = delete;

  void Write(const float* interleaved, int64_t frames);
  // Flushes and closes; throws when the file could not be completed.
  void Close();

 private:
  std::string m_Path;
  sf_private_tag* m_File = nullptr;
};

}  // namespace zelk::render
