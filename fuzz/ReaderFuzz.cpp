// Reads arbitrary bytes as a component stream into a test root whose class
// publishes one property of every kind. Any input must end in success or a
// zelk::Exception. Two properties are checked besides: a root read
// successfully writes a stream that reads back and writes the same bytes
// again, and a stream that prints as text compiles to a stream that prints
// the same text.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "resources/Reader.h"
#include "resources/TextFormCompiler.h"
#include "resources/TextFormPrinter.h"
#include "runtime/Exceptions.h"
#include "runtime/Stream.h"
#include "tests/resources/TestComponents.h"

namespace {

using namespace zelk;
using namespace zelk::tests;

bool ReadRoot(TTestRoot& root, std::span<const uint8_t> bytes) {
  TReadOnlyMemoryStream stream(bytes);
  try {
    TReader(stream).ReadRootComponent(root);
    return true;
  } catch (const Exception&) {
    return false;
  }
}

void CheckWriteReadRoundTrip(std::span<const uint8_t> input) {
  std::vector<uint8_t> written;
  {
    TRootPointer root = NewRoot();
    if (!ReadRoot(*root, input)) return;
    written = Written(*root);
  }
  TRootPointer copy = NewRoot();
  if (!ReadRoot(*copy, written)) std::abort();  // the writer wrote what the reader refuses
  if (Written(*copy) != written) std::abort();  // the copy differs from the original
}

void CheckTextRoundTrip(std::span<const uint8_t> input) {
  std::string printed;
  try {
    printed = PrintComponentStream(input);
  } catch (const Exception&) {
    return;
  }
  // Throws (and so stops the fuzzer) when the printed text does not compile.
  if (PrintComponentStream(CompileComponentText(printed)) != printed) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> input(data, size);
  LoadingLog().clear();
  CheckWriteReadRoundTrip(input);
  CheckTextRoundTrip(input);
  return 0;
}
