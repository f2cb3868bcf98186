// Extra streamed properties that a class does not publish. While reading, a
// component stream offers each unknown property name to the object through
// DefineProperties; the object claims it by name and reads the value itself,
// either as any value through a value reader or as a binary block. A writer
// asks the same declarations for what to write.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace zelk {

class TStream;

// Reads one tagged value of a component stream.
class TValueReader {
 public:
  virtual ~TValueReader() = default;
  virtual int64_t ReadInteger() = 0;  // tags 2, 3, 4 and 19
  virtual double ReadFloat() = 0;     // tag 5 and the integer tags
  virtual std::string ReadString() = 0;  // every text tag, in the system code page
  virtual std::string ReadIdent() = 0;   // tags 7, 8, 9, 0 and 13 as names
  virtual bool ReadBoolean() = 0;
  virtual void SkipValue() = 0;
};

// Writes one tagged value of a component stream.
class TValueWriter {
 public:
  virtual ~TValueWriter() = default;
  virtual void WriteInteger(int64_t value) = 0;
  virtual void WriteFloat(double value) = 0;
  virtual void WriteString(std::string_view text) = 0;
  virtual void WriteIdent(std::string_view ident) = 0;
  virtual void WriteBoolean(bool value) = 0;
};

class TFiler {
 public:
  using TReadValue = std::function<void(TValueReader&)>;
  using TWriteValue = std::function<void(TValueWriter&)>;
  using TReadBinary = std::function<void(TStream&)>;
  using TWriteBinary = std::function<void(TStream&)>;

  virtual ~TFiler() = default;
  // hasData tells a writer whether the property is to be written at all.
  virtual void DefineProperty(std::string_view name, TReadValue read, TWriteValue write, bool hasData) = 0;
  virtual void DefineBinaryProperty(std::string_view name, TReadBinary read, TWriteBinary write, bool hasData) = 0;
};

}  // namespace zelk
