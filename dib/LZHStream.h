// The LZH coder bound to two streams: it reads from one and writes to the
// other. Neither stream is owned; both must outlive the coder.
#pragma once

#include "dib/LZHCoder.h"
#include "runtime/Stream.h"

namespace zelk {

class TLZHStream : public TAbstractLZH {
 public:
  TLZHStream(TStream& input, TStream& output) : input_(input), output_(output) {}

 protected:
  void ReadBytes(void* buffer, uint16_t count, uint16_t& actual) override;
  void WriteBytes(const void* buffer, uint16_t count, uint16_t& actual) override;

 private:
  TStream& input_;
  TStream& output_;
};

}  // namespace zelk
