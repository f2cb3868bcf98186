// picture('path') values of zelk-resc: a picture file turned into the
// stored image block that a TMemoryDIB reads from its "Data" property,
// compressed the way the form being compiled asks for.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zelk {
class TAbstractDIBCompressor;
}

namespace zelk::resc {

// The compressor a compiled stream chooses: the registered one named by the
// last "DIBCompressor" setting in it (the property of TDIBSettings, which
// makes that compressor current when the stream is read). Null when the
// stream has no such setting or names no registered compressor; pictures
// are then stored raw, as a form would store them.
TAbstractDIBCompressor* CompressorChosenBy(std::span<const uint8_t> stream);

// The stored block of a picture file's pixels: the file is decoded by the
// picture loader registered for its name's extension, and the image record
// written with compressor (null: raw). Raises EPictureError or EDIBError
// when the file cannot be decoded.
std::vector<uint8_t> StoredPictureBlock(const std::string& fileName, std::span<const uint8_t> fileBytes,
                                        TAbstractDIBCompressor* compressor);

}  // namespace zelk::resc
