#include "tools/resc/StoredPictures.h"

#include <memory>

#include "dib/DIBCompressorRegistry.h"
#include "dib/MemoryDIB.h"
#include "dib/PictureLoader.h"
#include "resources/ValueReader.h"
#include "runtime/Exceptions.h"
#include "runtime/Stream.h"
#include "runtime/Text.h"

namespace zelk::resc {

namespace {

constexpr char kCompressorProperty[] = "DIBCompressor";

// Walks one object and its children, keeping the last compressor setting.
void FindCompressorSetting(TBinaryValueReader& values, std::string& setting) {
  TBinaryValueReader::TNesting nesting(values);
  values.ReadPrefix();
  values.ReadStr();  // class
  values.ReadStr();  // name
  while (!values.EndOfList()) {
    const std::string property = values.ReadStr();
    if (SameText(property, kCompressorProperty) && IsTextTag(values.NextValue())) {
      setting = values.ReadString();
    } else {
      values.SkipValue();
    }
  }
  values.ReadListEnd();
  while (!values.EndOfList()) FindCompressorSetting(values, setting);
  values.ReadListEnd();
}

}  // namespace

TAbstractDIBCompressor* CompressorChosenBy(std::span<const uint8_t> stream) {
  TReadOnlyMemoryStream bytes(stream);
  TBinaryValueReader values(bytes);
  values.ReadSignature();
  std::string setting;
  FindCompressorSetting(values, setting);
  return FindDIBCompressor(setting);
}

std::vector<uint8_t> StoredPictureBlock(const std::string& fileName, std::span<const uint8_t> fileBytes,
                                        TAbstractDIBCompressor* compressor) {
  const TPictureDecoder decode = FindPictureLoader(fileName);
  if (decode == nullptr) throw EPictureError(FormatMessage(kPictureTypeUnknownMessage, fileName));
  std::unique_ptr<TMemoryDIB, TFreeObject> dib(New<TMemoryDIB>());
  dib->ImportPicture(decode(fileBytes), fileName);
  TMemoryStream block;
  const TCurrentDIBCompressorScope scope(compressor);
  dib->WriteData(block);
  return block.ToVector();
}

}  // namespace zelk::resc
