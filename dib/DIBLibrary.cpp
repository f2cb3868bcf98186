#include "dib/DIBLibrary.h"

#include "dib/BMPDecoder.h"
#include "dib/DIBCompressorRegistry.h"
#include "dib/DIBFormatRegistry.h"
#include "dib/DIBImageList.h"
#include "dib/DIBRSBFormat.h"
#include "dib/DIBRotationTables.h"
#include "dib/DIBSettings.h"
#include "dib/DIBTypes.h"
#include "dib/LZHDIBCompressor.h"
#include "dib/MemoryDIB.h"
#include "dib/PictureLoader.h"
#include "dib/PictureSourceHook.h"
#include "dib/RLEDIBCompressor.h"
#include "dib/WinDIB.h"
#include "runtime/ClassRegistry.h"
#include "runtime/Object.h"

#ifdef ZELK_HAVE_JPEG
#include "dib/codecs/JPEGDecoder.h"
#endif
#ifdef ZELK_HAVE_PNG
#include "dib/codecs/PNGDecoder.h"
#endif

namespace zelk {

namespace {

bool& Initialized() {
  static bool initialized = false;
  return initialized;
}

void RegisterBitmapClasses() { RegisterClasses({&TWinDIB::StaticClass(), &TMemoryDIB::StaticClass()}); }

void RegisterPictureLoaders() {
  RegisterPictureLoader(".bmp", &DecodeBMP);
  RegisterPictureLoader(".dib", &DecodeBMP);
#ifdef ZELK_HAVE_JPEG
  for (const char* extension : {".jpg", ".jpeg", ".jpe", ".jfif"}) RegisterPictureLoader(extension, &DecodeJPEG);
#endif
#ifdef ZELK_HAVE_PNG
  RegisterPictureLoader(".png", &DecodePNG);
#endif
  SetPictureLoaderFunction(&LoadPictureFile);
}

void RegisterStandardCompressors() {
  RegisterDIBCompressor(New<TRLEDIBCompressor>());
  RegisterDIBCompressor(New<TLZHDIBCompressor>());
}

}  // namespace

void InitializeDIBLibrary() {
  if (Initialized()) return;
  Initialized() = true;
  RegisterBitmapClasses();
  RegisterClasses({&TDIBImageList::StaticClass(), &TDIBSettings::StaticClass()});
  RegisterPictureLoaders();
  RegisterDIBFormat(New<TDIBRSBFormat>());
  // The rotation tables are built by the first rotated draw: a host that
  // only scans or runs the plug-in never pays for them.
  RegisterStandardCompressors();
}

void FinalizeDIBLibrary() {
  if (!Initialized()) return;
  Initialized() = false;
  ClearDIBCompressors();
  ClearDIBFormats();
  SetPictureLoaderFunction(nullptr);
  ClearPictureLoaders();
}

}  // namespace zelk
