// Feeds arbitrary bytes to ReadDIBData and to a memory bitmap's "Data" hook.
// The first byte chooses the form: odd values put "DIBCMP" and the RLE
// compressor's GUID in front, so that the rest (length + payload) reaches the
// RLE decoder; even values hand the bytes over as they are. Reading may fail
// with an exception but must never crash, touch memory outside its buffers,
// or change the bitmap when it fails. Inputs that are image records also go
// through RLE compression and must come back intact.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "dib/DIBData.h"
#include "dib/DIBGuid.h"
#include "dib/DIBLibrary.h"
#include "dib/MemoryDIB.h"
#include "dib/RLEDIBCompressor.h"
#include "runtime/Stream.h"

namespace {

using zelk::TMemoryDIB;

std::vector<uint8_t> BlockFromInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> block;
  if (size == 0) return block;
  if (data[0] & 1) {
    block.assign(zelk::kDIBDataMagic, zelk::kDIBDataMagic + zelk::kDIBDataMagicSize);
    const auto guid = zelk::GUIDToBytes(zelk::TRLEDIBCompressor::ClassGUID());
    block.insert(block.end(), guid.begin(), guid.end());
  }
  block.insert(block.end(), data + 1, data + size);
  return block;
}

void ReadIntoBitmap(const std::vector<uint8_t>& block) {
  std::unique_ptr<TMemoryDIB, zelk::TFreeObject> dib(zelk::New<TMemoryDIB>());
  dib->SetSize(3, 2);
  std::memset(dib->Bits(), 0x5A, dib->PixelByteCount());
  zelk::TReadOnlyMemoryStream stream(block);
  try {
    dib->ReadData(stream);
  } catch (const zelk::Exception&) {
    // A failed read leaves the bitmap as it was.
    if (dib->Width() != 3 || dib->Height() != 2) std::abort();
    for (uint64_t i = 0; i < dib->PixelByteCount(); ++i) {
      if (dib->Bits()[i] != 0x5A) std::abort();
    }
  }
}

void RoundTrip(const uint8_t* data, size_t size) {
  const size_t length = size / 4 * 4;
  if (length == 0) return;
  zelk::TRLEDIBCompressor compressor;
  std::vector<uint8_t> payload(length);
  const int32_t written =
      compressor.Compress(nullptr, data, payload.data(), static_cast<int32_t>(length));
  if (written == 0) return;
  std::vector<uint8_t> restored(length);
  compressor.Decompress(nullptr, compressor.GetGUID(), payload.data(), restored.data(), written,
                        static_cast<int32_t>(length));
  if (std::memcmp(restored.data(), data, length) != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool started = (zelk::InitializeDIBLibrary(), true);
  (void)started;
  const std::vector<uint8_t> block = BlockFromInput(data, size);
  zelk::TReadOnlyMemoryStream source(block);
  zelk::TMemoryStream record;
  try {
    zelk::ReadDIBData(nullptr, source, record);
  } catch (const zelk::Exception&) {
    if (record.Size() != 0) std::abort();  // nothing is written on failure
  }
  ReadIntoBitmap(block);
  RoundTrip(data, size);
  return 0;
}
