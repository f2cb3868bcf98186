// Bitmap engine speed: each row routine over a 390 x 444 picture, timed
// beside a memcpy of the same bytes in the same run (counter "x_memcpy" is
// routine time / memcpy time; goals: copy within 1.2, blends within 4), and
// the knob frame: 195 x 222 rotated by 37 degrees, transparent, at opacity
// 180, onto a 245 x 269 buffer (goal: below 300 microseconds).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <ctime>
#include <memory>
#include <random>
#include <vector>

#include "dib/AbstractSuperDIB.h"
#include "dib/DIBRotationTables.h"
#include "runtime/ClassBuilder.h"

namespace zelk {
namespace {

// Pixels in a std::vector: the benchmark's stand-in for a memory bitmap.
class TBenchDIB : public TAbstractSuperDIB {
  ZELK_CLASS(TBenchDIB, TAbstractSuperDIB)
  TBenchDIB() = default;
  ~TBenchDIB() override { ReleaseBits(); }

 protected:
  void AllocateBits() override {
    pixels_.assign(PixelBufferSize(), 0);
    SetBitsPointer(pixels_.data());
  }
  void FreeBits() override {
    SetBitsPointer(nullptr);
    pixels_.clear();
  }

 private:
  std::vector<uint8_t> pixels_;
};

const TClassInfo& TBenchDIB::StaticClass() {
  static const TClassInfo info = TClassBuilder<TBenchDIB>("TBenchDIB").Build();
  return info;
}

using TBenchDIBPtr = std::unique_ptr<TBenchDIB, TFreeObject>;

TBenchDIBPtr MakeRandom(uint16_t width, uint16_t height, uint32_t seed) {
  TBenchDIBPtr dib(TAbstractSuperDIB::CreateSize<TBenchDIB>(width, height));
  std::mt19937 random(seed);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) dib->SetPixel(x, y, static_cast<TPixel>(random()));
  }
  return dib;
}

// The machine that runs the benchmarks is shared, so the routine and the
// copy are timed by this thread's processor time where the system offers it.
double Now() {
#if defined(CLOCK_THREAD_CPUTIME_ID)
  timespec time{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
  return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) * 1e-9;
#else
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
#endif
}

// One row routine over the whole picture per iteration, with a memcpy of
// the same bytes timed in the same iteration.
void RowRoutine(benchmark::State& state, TRowRoutine routine) {
  constexpr uint16_t kWidth = 390, kHeight = 444;
  TBenchDIBPtr source = MakeRandom(kWidth, kHeight, 1);
  TBenchDIBPtr target = MakeRandom(kWidth, kHeight, 2);
  std::vector<uint8_t> copy(source->PixelByteCount());
  const TRowParams params{180, 0x00203040};
  const ptrdiff_t stride = ptrdiff_t{kWidth} * 4;
  const uint8_t* sourceTop = source->ScanLine(0);
  uint8_t* targetTop = target->ScanLine(0);
  double routineSeconds = 0, memcpySeconds = 0;
  for (auto _ : state) {
    const double start = Now();
    std::memcpy(copy.data(), source->Bits(), copy.size());
    benchmark::ClobberMemory();
    const double middle = Now();
    RunRowRoutine(routine, params, sourceTop, -stride, targetTop, -stride, kWidth, kHeight);
    benchmark::ClobberMemory();
    const double end = Now();
    memcpySeconds += middle - start;
    routineSeconds += end - middle;
    state.SetIterationTime(end - middle);
  }
  state.counters["x_memcpy"] = routineSeconds / memcpySeconds;
  state.counters["memcpy_us"] = memcpySeconds * 1e6 / static_cast<double>(state.iterations());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(copy.size()));
  state.SetLabel(FastRowInstructionSet());
}

#define ZELK_ROW_BENCHMARK(Routine)                                                              \
  BENCHMARK_CAPTURE(RowRoutine, Routine, TRowRoutine::rr##Routine)->UseManualTime()->Unit(       \
      benchmark::kMicrosecond)

ZELK_ROW_BENCHMARK(CopyRow);
ZELK_ROW_BENCHMARK(BlendRowOpacity);
ZELK_ROW_BENCHMARK(BlendRowAlpha);
ZELK_ROW_BENCHMARK(BlendRowAlphaOpacity);
ZELK_ROW_BENCHMARK(KeyRow);
ZELK_ROW_BENCHMARK(KeyRowOpacity);
ZELK_ROW_BENCHMARK(AlphaRow);
ZELK_ROW_BENCHMARK(AlphaToGreyRow);

// A knob-like picture: an opaque disc with a pointer on a black (keyed)
// background.
TBenchDIBPtr MakeKnob() {
  constexpr uint16_t kWidth = 195, kHeight = 222;
  TBenchDIBPtr knob(TAbstractSuperDIB::CreateSize<TBenchDIB>(kWidth, kHeight));
  knob->Fill(clBlack);
  for (int32_t y = 0; y < kHeight; ++y) {
    for (int32_t x = 0; x < kWidth; ++x) {
      const double dx = x - kWidth / 2.0, dy = y - kHeight / 2.0;
      if (std::hypot(dx, dy) < 90) knob->SetPixel(x, y, 0xFF000000u | static_cast<TPixel>(0x010101 * (100 + x % 50)));
      if (std::fabs(dx) < 4 && dy < 0 && dy > -85) knob->SetPixel(x, y, 0xFFF0F0F0u);
    }
  }
  return knob;
}

void KnobFrame(benchmark::State& state) {
  InitRotationTables();
  TBenchDIBPtr knob = MakeKnob();
  knob->BeginUpdate();
  knob->SetTransparent(true);
  knob->SetTransparentMode(TTransparentMode::tmFixed);
  knob->SetTransparentColor(clBlack);
  knob->SetOpacity(180);
  knob->SetAutoSize(state.range(0) != 0);
  knob->SetAngle(37);
  knob->EndUpdate();
  TBenchDIBPtr buffer = MakeRandom(245, 269, 3);
  for (auto _ : state) {
    knob->Draw(25, 23, knob->Width(), knob->Height(), *buffer, 0, 0);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(KnobFrame)->ArgName("autosize")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zelk

BENCHMARK_MAIN();
