#include "dib/LZHStream.h"

namespace zelk {

void TLZHStream::ReadBytes(void* buffer, uint16_t count, uint16_t& actual) {
  actual = static_cast<uint16_t>(input_.Read(buffer, count));
}

void TLZHStream::WriteBytes(const void* buffer, uint16_t count, uint16_t& actual) {
  actual = static_cast<uint16_t>(output_.Write(buffer, count));
}

}  // namespace zelk
