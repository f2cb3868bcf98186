// The vectorised forms of the row routines, by instruction set. Each set is
// compiled only for x86 processors (GCC and Clang, 32- and 64-bit) and runs
// only where the processor reports the instructions; every routine matches
// the reference form bit for bit.
#pragma once

#include <array>

#include "dib/DIBRowRoutines.h"

#if (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__))
#define ZELK_DIB_X86_SIMD 1
#else
#define ZELK_DIB_X86_SIMD 0
#endif

namespace zelk {

struct TFastRowSet {
  std::array<TRowFunction, kRowRoutineCount> Functions;
  const char* InstructionSet;
};

// Null when this build or this processor lacks the instructions.
const TFastRowSet* Sse2RowSet();
const TFastRowSet* Avx2RowSet();
// The widest set this processor runs, or null.
const TFastRowSet* BestSimdRowSet();

}  // namespace zelk
