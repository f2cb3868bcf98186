#include "dib/DIBRowRoutinesFast.h"

namespace zelk {

#if ZELK_DIB_X86_SIMD
namespace detail {
const TFastRowSet& Sse2Rows();
const TFastRowSet& Avx2Rows();
}  // namespace detail

namespace {
// The processor model may be asked before the runtime's own constructors ran.
bool Supports(bool (*probe)()) {
  __builtin_cpu_init();
  return probe();
}
}  // namespace

const TFastRowSet* Sse2RowSet() {
  return Supports([] { return __builtin_cpu_supports("sse2") != 0; }) ? &detail::Sse2Rows() : nullptr;
}

const TFastRowSet* Avx2RowSet() {
  return Supports([] { return __builtin_cpu_supports("avx2") != 0; }) ? &detail::Avx2Rows() : nullptr;
}
#else
const TFastRowSet* Sse2RowSet() { return nullptr; }
const TFastRowSet* Avx2RowSet() { return nullptr; }
#endif

const TFastRowSet* BestSimdRowSet() {
  if (const TFastRowSet* avx2 = Avx2RowSet()) return avx2;
  return Sse2RowSet();
}

}  // namespace zelk
