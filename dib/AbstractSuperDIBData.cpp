// The pixels of every bitmap as the binary property "Data" of a component
// stream: an image record, turned into a stored block by WriteDIBData and
// back by ReadDIBData.
#include <cstring>

#include "dib/AbstractSuperDIB.h"
#include "dib/DIBData.h"
#include "dib/DIBImageRecord.h"
#include "runtime/Filer.h"
#include "runtime/Stream.h"

namespace zelk {

namespace {
constexpr char kViewCannotResizeMessage[] =
    "Stored image data of another size cannot be read into a bitmap that shows another bitmap's pixels.";
}  // namespace

void TAbstractSuperDIB::DefineProperties(TFiler& filer) {
  TPersistent::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "Data", [this](TStream& stream) { ReadData(stream); }, [this](TStream& stream) { WriteData(stream); },
      Bits() != nullptr);
}

void TAbstractSuperDIB::WriteData(TStream& stream) {
  if (Bits() == nullptr) return;  // nothing to store
  TMemoryStream record;
  WriteImageRecord(record, Width(), Height(), Bits());
  record.SetPosition(0);
  WriteDIBData(this, record, stream);
}

// Decodes and checks everything before the bitmap is touched, so a block
// that cannot be decoded leaves the bitmap as it was.
void TAbstractSuperDIB::ReadData(TStream& stream) {
  TMemoryStream record;
  ReadDIBData(this, stream, record);
  const TImageRecordSize size = CheckImageRecord(record.Bytes());
  if (!OwnsBits() && (size.Width != Width() || size.Height != Height())) throw EDIBError(kViewCannotResizeMessage);
  SetSize(size.Width, size.Height);
  if (Bits() != nullptr) {
    std::memcpy(Bits(), record.Memory() + kImageRecordHeaderSize, static_cast<size_t>(PixelByteCount()));
  }
  Changed();
}

}  // namespace zelk
