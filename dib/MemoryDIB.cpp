#include "dib/MemoryDIB.h"

#include "runtime/ClassBuilder.h"
#include "runtime/Filer.h"
#include "runtime/Stream.h"

namespace zelk {

const TClassInfo& TCustomMemoryDIB::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCustomMemoryDIB>("TCustomMemoryDIB").Build();
  return info;
}

const TClassInfo& TMemoryDIB::StaticClass() {
  static const TClassInfo info = TClassBuilder<TMemoryDIB>("TMemoryDIB").Build();
  return info;
}

TCustomMemoryDIB::~TCustomMemoryDIB() { ReleaseBits(); }

void TCustomMemoryDIB::AllocateBits() {
  pixels_ = std::make_unique_for_overwrite<uint8_t[]>(PixelBufferSize());
  SetBitsPointer(pixels_.get());
}

void TCustomMemoryDIB::FreeBits() {
  pixels_.reset();
  SetBitsPointer(nullptr);
}

void TCustomMemoryDIB::AssignTo(TPersistent* dest) {
  TAbstractSuperDIB::AssignTo(dest);
  if (auto* memoryDest = dynamic_cast<TCustomMemoryDIB*>(dest)) {
    memoryDest->imageFilename_ = imageFilename_;
    memoryDest->maskFilename_ = maskFilename_;
  }
}

void TCustomMemoryDIB::DefineProperties(TFiler& filer) {
  TAbstractSuperDIB::DefineProperties(filer);
  filer.DefineProperty(
      "ImageFilename", [this](TValueReader& reader) { imageFilename_ = reader.ReadString(); },
      [this](TValueWriter& writer) { writer.WriteString(imageFilename_); }, !imageFilename_.empty());
  filer.DefineProperty(
      "MaskFilename", [this](TValueReader& reader) { maskFilename_ = reader.ReadString(); },
      [this](TValueWriter& writer) { writer.WriteString(maskFilename_); }, !maskFilename_.empty());
}

void TCustomMemoryDIB::ImportImage(const std::string& fileName) {
  TAbstractSuperDIB::ImportImage(fileName);
  imageFilename_ = fileName;
}

void TCustomMemoryDIB::ImportMask(const std::string& fileName) {
  TAbstractSuperDIB::ImportMask(fileName);
  maskFilename_ = fileName;
}

void TCustomMemoryDIB::ReadData(TStream& stream) {
  if (stream.Remaining() > 0) TAbstractSuperDIB::ReadData(stream);
}

void TCustomMemoryDIB::WriteData(TStream& stream) {
  if (storeData_) TAbstractSuperDIB::WriteData(stream);
}

}  // namespace zelk
