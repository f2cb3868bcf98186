// ImportImage and ImportMask: pictures from files through the picture
// loader; ImportPicture: pictures decoded elsewhere. The picture is loaded
// and checked before anything changes, so a missing or unreadable file
// leaves the bitmap as it was.
#include "dib/AbstractSuperDIB.h"
#include "dib/DIBPixels.h"
#include "dib/DIBScratch.h"
#include "dib/PictureSource.h"
#include "dib/WinDIB.h"

namespace zelk {

namespace {
constexpr char kMaskWithoutImageMessage[] = "You cannot import a mask until you have an image.";

using TWinDIBPtr = std::unique_ptr<TWinDIB, TFreeObject>;

}  // namespace

void TAbstractSuperDIB::ImportImage(const std::string& fileName) { ImportPicture(LoadPicture(fileName), fileName); }

void TAbstractSuperDIB::ImportPicture(const TLoadedPicture& picture, const std::string& name) {
  const bool sizeFits = picture.width >= 1 && picture.height >= 1 && picture.width <= 65535 && picture.height <= 65535;
  if (!sizeFits || picture.pixels.size() != uint64_t(picture.width) * uint64_t(picture.height)) {
    throw EDIBError("The picture " + name + " has an invalid size.");
  }
  TScratchDIBPtr loaded = MakeScratchDIB(static_cast<uint16_t>(picture.width), static_cast<uint16_t>(picture.height));
  for (int32_t y = 0; y < picture.height; ++y) {
    for (int32_t x = 0; x < picture.width; ++x) {
      loaded->SetPixel(x, y, picture.pixels[static_cast<size_t>(y) * static_cast<size_t>(picture.width) + x]);
    }
  }
  SetSize(loaded->Width(), loaded->Height());
  CopyPixelsFrom(*loaded);
  if (picture.hasAlpha) {
    SetMasked(true);
  } else {
    SetAlpha(255);
  }
  Changed();
}

// The mask is stretched with the platform's stretching copy, which counts
// rows from the top, as every picture the platform draws does; the engine's
// own StretchFrom counts memory rows from the bottom and would pick other
// rows.
void TAbstractSuperDIB::ImportMask(const std::string& fileName) {
  if (Width() == 0 || Height() == 0) throw EDIBError(kMaskWithoutImageMessage);
  TWinDIBPtr loaded(New<TWinDIB>());
  loaded->ImportImage(fileName);
  TWinDIBPtr stretched(CreateSize<TWinDIB>(Width(), Height()));
  stretched->Canvas()->CopyRect(0, 0, Width(), Height(), *loaded->Canvas(), 0, 0, loaded->Width(), loaded->Height());
  if (Bits() != nullptr) {
    const size_t count = static_cast<size_t>(uint64_t{Width()} * Height());
    for (size_t index = 0; index < count; ++index) Bits()[index * 4 + 3] = stretched->Bits()[index * 4];
  }
  masked_ = true;
  Changed();
}

}  // namespace zelk
