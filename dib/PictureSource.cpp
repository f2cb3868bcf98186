#include "dib/PictureSource.h"

#include "dib/PictureSourceHook.h"
#include "runtime/Exceptions.h"

namespace zelk {

namespace {

TPictureLoaderFunction& InstalledLoader() {
  static TPictureLoaderFunction loader = nullptr;
  return loader;
}

}  // namespace

void SetPictureLoaderFunction(TPictureLoaderFunction loader) { InstalledLoader() = loader; }

TLoadedPicture LoadPicture(const std::string& fileName) {
  if (TPictureLoaderFunction loader = InstalledLoader()) return loader(fileName);
  throw Exception("Cannot load the picture " + fileName + ": no picture loader is installed");
}

}  // namespace zelk
