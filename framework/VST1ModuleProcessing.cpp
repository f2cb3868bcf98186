// The module's processing operations: both process entries, the processing
// mode and the handlers each entry runs, block mode and its delay, channel
// counts, sample rate, block size, suspend and resume.
//
// Settings here change on the host's user-interface thread (or while the
// settings load), and only while the host is not processing; the process
// entries run on its audio thread (see Processing.h for what each side may
// touch).
#include <algorithm>

#include "framework/VST1Module.h"
#include "framework/VST2Module.h"

namespace zelk {

namespace {

// In block mode the outputs come Size − Overlap samples late, so the
// host hears of at least that delay.
int32_t EffectiveInitialDelay(TProcessingMode mode, const TBlockProcessor& blocks, int32_t requested) {
  return mode == pmBlockSave ? std::max(requested, blocks.Latency()) : requested;
}

}  // namespace

// ---- Process entries ----

// Audio thread (the record's process entry).
void TCustomVST1Module::ProcessAccumulating(float** inputs, float** outputs, int32_t sampleFrames) {
  Processing.ProcessAccumulating(inputs, outputs, sampleFrames, ChannelCounts());
}

// Audio thread (the record's processReplacing entry).
void TCustomVST1Module::ProcessReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
  Processing.ProcessReplacing(inputs, outputs, sampleFrames, ChannelCounts());
}

// Audio thread. The tempo is refreshed before and the outgoing MIDI events
// are sent after the module's processing.
void TCustomVST2Module::ProcessAccumulating(float** inputs, float** outputs, int32_t sampleFrames) {
  RefreshTempo();
  TCustomVST1Module::ProcessAccumulating(inputs, outputs, sampleFrames);
  FlushMidiOut();
}

// Audio thread.
void TCustomVST2Module::ProcessReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
  RefreshTempo();
  TCustomVST1Module::ProcessReplacing(inputs, outputs, sampleFrames);
  FlushMidiOut();
}

// Audio thread. The host answers the tempo times 10000 (0 without a host).
void TCustomVST2Module::RefreshTempo() noexcept {
  try {
    tempo_.store(static_cast<float>(TempoAt(0)) / 10000.0f, std::memory_order_relaxed);
  } catch (...) {
    // An overridden query that fails leaves the last tempo in place.
  }
}

// ---- Processing mode and handlers ----

void TCustomVST1Module::SetProcessingMode(TProcessingMode mode) {
  if (!Processing.SetMode(mode, onProcess_, onProcessReplacing_)) return;
  if (mode == pmBlockSave) {
    PrepareBlockBuffers();
  } else {
    // Leaving block mode also leaves its delay behind.
    RefreshInitialDelay();
  }
}

void TCustomVST1Module::SetOnProcess(TProcessAudioEvent handler) {
  onProcess_ = handler;
  Processing.RouteAccumulating(onProcess_);
}

void TCustomVST1Module::SetOnProcessReplacing(TProcessAudioEvent handler) {
  onProcessReplacing_ = handler;
  Processing.RouteReplacing(onProcessReplacing_);
}

// ---- Block mode ----

// Blocks exist only in block mode; any other mode releases them.
void TCustomVST1Module::PrepareBlockBuffers() {
  if (ProcessingMode() != pmBlockSave) {
    Processing.Blocks().Release();
    return;
  }
  Processing.Blocks().Prepare(NumInputs(), NumOutputs());
  RefreshInitialDelay();
}

// Sizes not above the overlap are refused: such blocks could never advance.
void TCustomVST1Module::SetBlockModeSize(int32_t size) {
  Processing.Blocks().SetSize(size);
  Processing.Blocks().Rewind();
  PrepareBlockBuffers();
}

// Overlaps outside 0 .. BlockModeSize − 1 are refused.
void TCustomVST1Module::SetBlockModeOverlap(int32_t overlap) {
  if (Processing.Blocks().SetOverlap(overlap) && ProcessingMode() == pmBlockSave) RefreshInitialDelay();
}

void TCustomVST1Module::SetInitialDelay(int32_t delay) {
  RequestedInitialDelay = delay;
  Effect.initialDelay = EffectiveInitialDelay(ProcessingMode(), Processing.Blocks(), delay);
}

void TCustomVST2Module::SetInitialDelay(int32_t delay) {
  TCustomVST1Module::SetInitialDelay(delay);
  IOChanged();
}

// Sets the delay again when the mode or the blocks call for another one.
void TCustomVST1Module::RefreshInitialDelay() {
  const int32_t effective = EffectiveInitialDelay(ProcessingMode(), Processing.Blocks(), RequestedInitialDelay);
  if (Effect.initialDelay != effective) SetInitialDelay(RequestedInitialDelay);
}

// ---- Channel counts ----

// A negative count is refused: the host would read it as a pin count.
void TCustomVST1Module::SetNumInputs(int32_t count) {
  if (count < 0) return;
  Effect.numInputs = count;
  Processing.ReserveScratch(ChannelCounts(), BlockSize());
  PrepareBlockBuffers();
}

void TCustomVST1Module::SetNumOutputs(int32_t count) {
  if (count < 0) return;
  Effect.numOutputs = count;
  Processing.ReserveScratch(ChannelCounts(), BlockSize());
  PrepareBlockBuffers();
}

void TCustomVST2Module::SetNumInputs(int32_t count) {
  TCustomVST1Module::SetNumInputs(count);
  IOChanged();
}

void TCustomVST2Module::SetNumOutputs(int32_t count) {
  TCustomVST1Module::SetNumOutputs(count);
  IOChanged();
}

// ---- Sample rate, block size, suspend and resume ----

// User-interface thread (effSetSampleRate).
void TCustomVST1Module::SetSampleRate(float sampleRate) {
  if (sampleRate == SampleRate()) return;
  sampleRate_.store(sampleRate, std::memory_order_relaxed);
  if (OnSampleRateChange) OnSampleRateChange(this, sampleRate);
}

// effSetBlockSize: usually the user-interface thread, but hosts also send it
// while the audio thread processes, or from the audio thread between two
// process calls. The accumulating path's buffers are prepared here and
// taken over by the audio thread at its next call.
void TCustomVST1Module::SetBlockSize(int32_t blockSize) {
  if (blockSize == BlockSize()) return;
  blockSize_.store(blockSize, std::memory_order_relaxed);
  Processing.ReserveScratch(ChannelCounts(), blockSize);
  if (OnBlockSizeChange) OnBlockSizeChange(this, blockSize);
}

// User-interface thread (effMainsChanged with 0).
void TCustomVST1Module::Suspend() {
  if (OnSuspend) OnSuspend(this);
}

// User-interface thread (effMainsChanged with 1), before processing starts:
// the last chance to size the scratch buffers for a block size the host set
// without the block-size opcode.
void TCustomVST1Module::Resume() {
  Processing.ReserveScratch(ChannelCounts(), BlockSize());
  if (OnResume) OnResume(this);
}

void TCustomVST2Module::Resume() {
  TCustomVST1Module::Resume();
  WantMidi(1);
}

}  // namespace zelk
