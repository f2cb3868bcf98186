// The LZH coder: LZ77 over a 4,096-byte ring buffer, its literals and match
// lengths sent with an adaptive Huffman code and its match positions with a
// fixed prefix code.
//
// Coded stream: the uncompressed length as a signed 32-bit little-endian
// value, then the bit stream, packed most significant bit first, the last
// byte completed with zero bits.
//
// TAbstractLZH does the coding; a descendant supplies the bytes through
// ReadBytes and WriteBytes. Its tables exist only during a run.
#pragma once

#include <cstdint>
#include <memory>

#include "runtime/Exceptions.h"

namespace zelk {

class TLZHHuffmanTree;

// Errors of the coder.
ZELK_EXCEPTION_CLASS(ElzhException, Exception);

inline constexpr char kLZHNoMemoryMessage[] = "LZH : Cannot get memory for dictionary tables";
inline constexpr char kLZHOutputTooLargeMessage[] = "Compressed file is larger than the original.";
inline constexpr char kLZHCodeTooLongMessage[] = "LZH : Huffman code longer than 16 bits";
inline constexpr char kLZHTruncatedMessage[] = "LZH : Compressed data ends before its stated length";
inline constexpr char kLZHWriteFailedMessage[] = "LZH : Compressed data could not be written";

class TAbstractLZH {
 public:
  TAbstractLZH();
  virtual ~TAbstractLZH();
  TAbstractLZH(const TAbstractLZH&) = delete;
  TAbstractLZH& operator=(const TAbstractLZH&) = delete;

  // Writes size as the 4-byte header, then codes everything that ReadBytes
  // delivers. Answers the number of bytes written after the header.
  // Raises ElzhException when the coded bytes would outnumber size ("Compressed
  // file is larger than the original."), when a Huffman code would be longer
  // than 16 bits, or when WriteBytes refuses bytes.
  int32_t CompressStream(int32_t size);

  // Reads a coded stream and writes the expanded bytes; answers how many were
  // written (a final match may carry past the stated length). Stops early,
  // without error, when WriteBytes accepts no more. Raises ElzhException
  // when the input ends before the stated length has been decoded.
  int32_t DecompressStream();

  int32_t BytesWritten() const { return bytesWritten_; }
  int32_t BytesRead() const { return bytesRead_; }
  int32_t CodeSize() const { return codeSize_; }
  // The uncompressed length read by the last DecompressStream.
  int32_t TextSize() const { return textSize_; }

 protected:
  // Fetch up to count input bytes; actual = number delivered, 0 at the end.
  virtual void ReadBytes(void* buffer, uint16_t count, uint16_t& actual) = 0;
  // Deliver count output bytes; actual = number accepted.
  virtual void WriteBytes(const void* buffer, uint16_t count, uint16_t& actual) = 0;

  // The adaptive code tree of the run in progress. Only valid during a run
  // (e.g. from within ReadBytes); lets a descendant observe the coder.
  TLZHHuffmanTree& HuffmanTree();

 private:
  struct TTables;
  class TTablesScope;
  struct TCursor;

  void AllocateTables();
  void ResetCounters();
  void WriteHeader(int32_t size);
  int32_t ReadHeader();

  bool ReadByte(uint8_t& value);
  bool WriteByte(uint8_t value);
  void PutCode(int length, uint16_t code);
  void FlushBits();
  void FillBitBuffer();
  int GetBit();
  int GetByte();
  void CheckInputNotExhausted() const;

  void CodeInput();
  TCursor StartWindow();
  int SendNextSymbol(const TCursor& cursor);
  void SlideWindow(TCursor& cursor, int count);
  void SendSymbol(int symbol);
  void SendPosition(int position);
  int ReceiveSymbol();
  int ReceivePosition();
  void DecodeText();
  bool EmitDecoded(uint8_t value, int& position);

  bool decompressing_ = false;
  uint16_t lastCode_ = 0;
  uint16_t lastCodeLength_ = 0;
  uint16_t putBuffer_ = 0;  // output bits not yet written, left-aligned
  uint16_t getBuffer_ = 0;  // input bits not yet used, left-aligned
  uint8_t getLength_ = 0;
  uint8_t putLength_ = 0;
  int32_t originalSize_ = 0;  // limit of the coded output while compressing
  int32_t bytesWritten_ = 0;
  int32_t bytesRead_ = 0;
  int32_t textSize_ = 0;
  int32_t codeSize_ = 0;
  // Zero bits that stood in for input past its end; consuming one of them
  // means the coded stream was cut short.
  int missingInputBits_ = 0;
  std::unique_ptr<TTables> tables_;
};

}  // namespace zelk
