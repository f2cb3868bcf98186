#include "dib/LZHCoder.h"

#include <algorithm>
#include <new>

#include "dib/LZHConstants.h"
#include "dib/LZHHuffman.h"
#include "dib/LZHMatchTree.h"
#include "dib/LZHPositionCode.h"

namespace zelk {

using namespace lzh;

// Everything a run needs, allocated at its start and zero-filled so that a
// run never depends on what an earlier one left behind.
struct TAbstractLZH::TTables {
  TLZHMatchTree Search;  // also the window of the decoder
  TLZHHuffmanTree Huffman;
};

// Releases the tables when a run ends, by return or by exception.
class TAbstractLZH::TTablesScope {
 public:
  explicit TTablesScope(TAbstractLZH& coder) : coder_(coder) { coder_.AllocateTables(); }
  ~TTablesScope() { coder_.tables_.reset(); }
  TTablesScope(const TTablesScope&) = delete;
  TTablesScope& operator=(const TTablesScope&) = delete;

 private:
  TAbstractLZH& coder_;
};

TAbstractLZH::TAbstractLZH() = default;
TAbstractLZH::~TAbstractLZH() = default;

TLZHHuffmanTree& TAbstractLZH::HuffmanTree() { return tables_->Huffman; }

void TAbstractLZH::AllocateTables() {
  try {
    tables_ = std::make_unique<TTables>();
  } catch (const std::bad_alloc&) {
    throw ElzhException(kLZHNoMemoryMessage);
  }
}

void TAbstractLZH::ResetCounters() {
  putBuffer_ = getBuffer_ = 0;
  putLength_ = getLength_ = 0;
  lastCode_ = lastCodeLength_ = 0;
  bytesWritten_ = bytesRead_ = codeSize_ = 0;
  missingInputBits_ = 0;
}

// ---------------------------------------------------------------- byte I/O

bool TAbstractLZH::ReadByte(uint8_t& value) {
  uint16_t actual = 0;
  ReadBytes(&value, 1, actual);
  if (actual == 0) return false;
  ++bytesRead_;
  return true;
}

bool TAbstractLZH::WriteByte(uint8_t value) {
  if (!decompressing_ && bytesWritten_ >= originalSize_) throw ElzhException(kLZHOutputTooLargeMessage);
  uint16_t actual = 0;
  WriteBytes(&value, 1, actual);
  if (actual == 0) return false;
  ++bytesWritten_;
  return true;
}

void TAbstractLZH::WriteHeader(int32_t size) {
  const auto value = static_cast<uint32_t>(size);
  const uint8_t header[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                             static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
  uint16_t actual = 0;
  WriteBytes(header, sizeof header, actual);
  if (actual != sizeof header) throw ElzhException(kLZHWriteFailedMessage);
}

int32_t TAbstractLZH::ReadHeader() {
  uint32_t value = 0;
  for (int index = 0; index < 4; ++index) {
    uint8_t byte = 0;
    if (!ReadByte(byte)) throw ElzhException(kLZHTruncatedMessage);
    value |= static_cast<uint32_t>(byte) << (8 * index);
  }
  return static_cast<int32_t>(value);
}

// -------------------------------------------------------------- bit writer

void TAbstractLZH::PutCode(int length, uint16_t code) {
  // The buffer holds at most 16 bits; when a code spills over two bytes, the
  // bits that did not fit are taken again from code itself.
  putBuffer_ = static_cast<uint16_t>(putBuffer_ | (code >> putLength_));
  putLength_ = static_cast<uint8_t>(putLength_ + length);
  if (putLength_ < 8) return;
  if (!WriteByte(static_cast<uint8_t>(putBuffer_ >> 8))) throw ElzhException(kLZHWriteFailedMessage);
  putLength_ = static_cast<uint8_t>(putLength_ - 8);
  if (putLength_ >= 8) {
    if (!WriteByte(static_cast<uint8_t>(putBuffer_))) throw ElzhException(kLZHWriteFailedMessage);
    codeSize_ += 2;
    putLength_ = static_cast<uint8_t>(putLength_ - 8);
    putBuffer_ = static_cast<uint16_t>(code << (length - putLength_));
  } else {
    putBuffer_ = static_cast<uint16_t>(putBuffer_ << 8);
    codeSize_ += 1;
  }
}

void TAbstractLZH::FlushBits() {
  if (putLength_ == 0) return;
  if (!WriteByte(static_cast<uint8_t>(putBuffer_ >> 8))) throw ElzhException(kLZHWriteFailedMessage);
  ++codeSize_;
}

// -------------------------------------------------------------- bit reader

void TAbstractLZH::FillBitBuffer() {
  while (getLength_ <= 8) {
    uint8_t byte = 0;
    if (!ReadByte(byte)) {
      byte = 0;
      missingInputBits_ += 8;
    }
    getBuffer_ = static_cast<uint16_t>(getBuffer_ | (byte << (8 - getLength_)));
    getLength_ = static_cast<uint8_t>(getLength_ + 8);
  }
}

int TAbstractLZH::GetBit() {
  FillBitBuffer();
  const int bit = getBuffer_ >> 15;
  getBuffer_ = static_cast<uint16_t>(getBuffer_ << 1);
  --getLength_;
  return bit;
}

int TAbstractLZH::GetByte() {
  FillBitBuffer();
  const int value = getBuffer_ >> 8;
  getBuffer_ = static_cast<uint16_t>(getBuffer_ << 8);
  getLength_ = static_cast<uint8_t>(getLength_ - 8);
  return value;
}

void TAbstractLZH::CheckInputNotExhausted() const {
  // Stand-in bits sit below the real ones; fewer bits left than stand-ins
  // means some of them were taken as data.
  if (getLength_ < missingInputBits_) throw ElzhException(kLZHTruncatedMessage);
}

// ------------------------------------------------------------ compression

void TAbstractLZH::SendSymbol(int symbol) {
  const TLZHHuffmanCode code = tables_->Huffman.CodeOf(symbol);
  // A deeper leaf would lose its first bits in the 16-bit code and corrupt
  // the stream; refuse instead (the caller then stores the data raw).
  if (code.Length > kMaxCodeLength) throw ElzhException(kLZHCodeTooLongMessage);
  PutCode(code.Length, code.Bits);
  lastCode_ = code.Bits;
  lastCodeLength_ = static_cast<uint16_t>(code.Length);
  tables_->Huffman.Update(symbol);
}

void TAbstractLZH::SendPosition(int position) {
  const int high = position >> kPositionLowBits;
  PutCode(kPositionCodes.Length[high], static_cast<uint16_t>(kPositionCodes.Code[high] << 8));
  PutCode(kPositionLowBits, static_cast<uint16_t>((position & 0x3F) << 10));
}

int32_t TAbstractLZH::CompressStream(int32_t size) {
  decompressing_ = false;
  originalSize_ = size;
  WriteHeader(size);
  TTablesScope scope(*this);
  ResetCounters();
  CodeInput();
  FlushBits();
  return bytesWritten_;
}

// Where coding stands in the window.
struct TAbstractLZH::TCursor {
  int Oldest = 0;                     // position whose byte leaves the window next
  int Current = kFirstCodingPosition;  // position being coded
  int Lookahead = 0;                   // bytes from Current on that are still to code
};

void TAbstractLZH::CodeInput() {
  TCursor cursor = StartWindow();
  while (cursor.Lookahead > 0) {
    const int coded = SendNextSymbol(cursor);
    SlideWindow(cursor, coded);
  }
}

TAbstractLZH::TCursor TAbstractLZH::StartWindow() {
  TLZHMatchTree& search = tables_->Search;
  search.Start();
  search.Fill(kFirstCodingPosition, kFillByte);
  TCursor cursor;
  uint8_t byte = 0;
  while (cursor.Lookahead < kLongestMatch && ReadByte(byte)) {
    search.Store(cursor.Current + cursor.Lookahead, byte);
    ++cursor.Lookahead;
  }
  // The spaces just before the first byte can be matched too.
  for (int back = 1; back <= kLongestMatch; ++back) search.Insert(cursor.Current - back);
  search.Insert(cursor.Current);
  return cursor;
}

int TAbstractLZH::SendNextSymbol(const TCursor& cursor) {
  const TLZHMatchTree& search = tables_->Search;
  const int matchLength = std::min(search.MatchLength(), cursor.Lookahead);
  if (matchLength <= kThreshold) {
    SendSymbol(search.At(cursor.Current));
    return 1;
  }
  SendSymbol(kMatchSymbolBias + matchLength);
  SendPosition(search.MatchPosition());
  return matchLength;
}

void TAbstractLZH::SlideWindow(TCursor& cursor, int count) {
  // Each step drops the oldest byte, takes in one new input byte where there
  // is one, and inserts the next position to code (which finds its match).
  TLZHMatchTree& search = tables_->Search;
  int step = 0;
  uint8_t byte = 0;
  for (; step < count && ReadByte(byte); ++step) {
    search.Delete(cursor.Oldest);
    search.Store(cursor.Oldest, byte);
    cursor.Oldest = (cursor.Oldest + 1) & kWindowMask;
    cursor.Current = (cursor.Current + 1) & kWindowMask;
    search.Insert(cursor.Current);
  }
  for (; step < count; ++step) {
    search.Delete(cursor.Oldest);
    cursor.Oldest = (cursor.Oldest + 1) & kWindowMask;
    cursor.Current = (cursor.Current + 1) & kWindowMask;
    if (--cursor.Lookahead > 0) search.Insert(cursor.Current);
  }
}

// ---------------------------------------------------------- decompression

int TAbstractLZH::ReceiveSymbol() {
  const int symbol = tables_->Huffman.Receive([this] { return GetBit(); });
  tables_->Huffman.Update(symbol);
  return symbol;
}

int TAbstractLZH::ReceivePosition() {
  // The next 8 bits hold the whole prefix code and the first bits of the
  // lower part; the rest of the lower part follows bit by bit.
  int bits = GetByte();
  const int high = kPositionCodes.DecodedHigh[bits];
  for (int extra = kPositionCodes.DecodedLength[bits] - 2; extra > 0; --extra) bits = (bits << 1) | GetBit();
  return (high << kPositionLowBits) | (bits & 0x3F);
}

int32_t TAbstractLZH::DecompressStream() {
  decompressing_ = true;
  TTablesScope scope(*this);
  ResetCounters();
  DecodeText();
  return bytesWritten_;
}

bool TAbstractLZH::EmitDecoded(uint8_t value, int& position) {
  if (!WriteByte(value)) return false;
  tables_->Search.Store(position, value);
  position = (position + 1) & kWindowMask;
  return true;
}

void TAbstractLZH::DecodeText() {
  TLZHMatchTree& window = tables_->Search;
  window.Fill(kFirstCodingPosition, kFillByte);
  int current = kFirstCodingPosition;
  textSize_ = 0;
  textSize_ = ReadHeader();
  int64_t count = 0;
  while (count < textSize_) {
    const int symbol = ReceiveSymbol();
    if (symbol < kLiteralCount) {
      CheckInputNotExhausted();
      if (!EmitDecoded(static_cast<uint8_t>(symbol), current)) return;
      ++count;
      continue;
    }
    const int position = ReceivePosition();
    CheckInputNotExhausted();
    const int from = (current - position - 1) & kWindowMask;
    const int length = symbol - kMatchSymbolBias;
    // Byte by byte, so that a copy may overlap the bytes it produces.
    for (int index = 0; index < length; ++index) {
      if (!EmitDecoded(window.At((from + index) & kWindowMask), current)) return;
      ++count;
    }
  }
}

}  // namespace zelk
