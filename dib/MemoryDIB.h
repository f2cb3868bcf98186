// Memory bitmaps: pixels in one block of process memory, replaced at every
// size change. The image list keeps its pictures as TMemoryDIB objects; they
// are what component streams store, as three extra properties after the
// published ones: "Data" (the pixels in the stored form, see DIBData.h),
// "ImageFilename" and "MaskFilename" (the files last imported; written only
// when not empty; reading a name does not load the file).
#pragma once

#include <memory>
#include <string>

#include "dib/AbstractSuperDIB.h"

namespace zelk {

class TCustomMemoryDIB : public TAbstractSuperDIB {
  ZELK_CLASS(TCustomMemoryDIB, TAbstractSuperDIB)

  TCustomMemoryDIB() = default;
  ~TCustomMemoryDIB() override;

  const std::string& ImageFilename() const { return imageFilename_; }
  void SetImageFilename(std::string fileName) { imageFilename_ = std::move(fileName); }
  const std::string& MaskFilename() const { return maskFilename_; }
  void SetMaskFilename(std::string fileName) { maskFilename_ = std::move(fileName); }
  // False: "Data" is written empty (the picture is kept outside the stream).
  bool StoreData() const { return storeData_; }
  void SetStoreData(bool value) { storeData_ = value; }

  void DefineProperties(TFiler& filer) override;
  // The file name is recorded only when the import succeeds.
  void ImportImage(const std::string& fileName) override;
  void ImportMask(const std::string& fileName) override;
  // An empty value leaves the bitmap as it is.
  void ReadData(TStream& stream) override;
  // Writes nothing when StoreData is False.
  void WriteData(TStream& stream) override;

 protected:
  // Raises std::bad_alloc when the block cannot be had.
  void AllocateBits() override;
  void FreeBits() override;
  // Also carries the file names along to another memory bitmap.
  void AssignTo(TPersistent* dest) override;

 private:
  std::string imageFilename_;
  std::string maskFilename_;
  bool storeData_ = true;
  std::unique_ptr<uint8_t[]> pixels_;
};

// Publishes Angle, AutoSize, Height, Masked, Opacity, Scale, Transparent,
// TransparentColor, TransparentMode and Width.
class TMemoryDIB : public TCustomMemoryDIB {
  ZELK_CLASS(TMemoryDIB, TCustomMemoryDIB)
};

}  // namespace zelk
