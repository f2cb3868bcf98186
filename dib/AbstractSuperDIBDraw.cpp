// Draw and its variants: the direct path (clip, then one row routine over the
// rows) and the transformed path (rotate and scale the whole picture into a
// box, then draw the visible part of the box with this bitmap's routine).
#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

#include "dib/AbstractSuperDIB.h"
#include "dib/DIBClip.h"
#include "dib/DIBPixels.h"
#include "dib/DIBTransform.h"

namespace zelk {

namespace {

constexpr int32_t kMaxSide = 65535;

TRowParams ParamsOf(const TDrawProc& drawProc, const TAbstractSuperDIB& fallback) {
  const TAbstractSuperDIB& owner = drawProc.Owner != nullptr ? *drawProc.Owner : fallback;
  return {owner.Opacity(), owner.TransparentColorValue()};
}

// Address of the top-left pixel of the area (x, y) in a bottom-up picture.
uint8_t* TopLeftOf(uint8_t* bits, int32_t width, int32_t height, int32_t x, int32_t y) {
  return bits + PixelOffset(width, x, int64_t{height} - 1 - y);
}

// The transformed box is computed only where it will be drawn; the buffer is
// kept between draws (the dial redraws at every mouse move) unless it grew
// large.
class TBoxBuffer {
 public:
  uint8_t* Acquire(size_t bytes) {
    if (bytes_.size() < bytes) bytes_.resize(bytes);
    return bytes_.data();
  }
  void Release() {
    if (bytes_.size() > kKeptBytes) std::vector<uint8_t>().swap(bytes_);
  }

 private:
  static constexpr size_t kKeptBytes = size_t{4} << 20;
  std::vector<uint8_t> bytes_;
};

// One buffer per drawing thread, all owned by one list that goes when the
// library does. A thread_local object with a destructor would not do: the C++
// runtime holds a reference to the library for each thread that made one,
// so a host could never unload the plug-in while its user-interface thread
// lives.
class TBoxBuffers {
 public:
  TBoxBuffer& ForThisThread() {
    thread_local TBoxBuffer* mine = nullptr;
    if (mine == nullptr) {
      const std::lock_guard<std::mutex> guard(lock_);
      buffers_.push_back(std::make_unique<TBoxBuffer>());
      mine = buffers_.back().get();
    }
    return *mine;
  }

 private:
  std::mutex lock_;
  std::vector<std::unique_ptr<TBoxBuffer>> buffers_;
};

TBoxBuffer& BoxBuffer() {
  static TBoxBuffers buffers;
  return buffers.ForThisThread();
}

int32_t ClampSide(int64_t side) { return static_cast<int32_t>(std::clamp<int64_t>(side, 0, kMaxSide)); }

}  // namespace

void TAbstractSuperDIB::Draw(int32_t x, int32_t y, int32_t width, int32_t height, TAbstractSuperDIB& dest,
                             uint16_t srcX, uint16_t srcY) {
  if (bits_ == nullptr || dest.bits_ == nullptr) return;
  const TRowParams params = ParamsOf(drawProc_, *this);
  if (angle_ != 0 || scaleX_ != 100.0L || scaleY_ != 100.0L) {
    TBoxSize box{width, height};
    if (autoSize_) box = RotatedSize(static_cast<uint16_t>(ClampSide(width)), static_cast<uint16_t>(ClampSide(height)),
                                     angle_, scaleX_, scaleY_);
    box = {ClampSide(box.Width), ClampSide(box.Height)};
    if (box.Width < 1 || box.Height < 1) return;
    const TTransformSteps steps = ComputeTransformSteps(width_, height_, angle_, scaleX_, scaleY_);
    if (!steps.Valid) return;
    const auto area = ClipDrawArea({x, y, box.Width, box.Height, 0, 0}, {box.Width, box.Height}, dest.clipRect_,
                                   {dest.width_, dest.height_});
    if (!area) return;
    // Buffer rows run upwards in memory order like a picture's, from the
    // lowest memory row of the visible part of the box.
    const ptrdiff_t bufferStride = ptrdiff_t{area->Width} * 4;
    TBoxBuffer& boxBuffer = BoxBuffer();
    uint8_t* buffer = boxBuffer.Acquire(static_cast<size_t>(bufferStride) * static_cast<size_t>(area->Height));
    const int32_t lowestMemoryRow = box.Height - area->SrcY - area->Height;
    const TPixel fill = masked_ ? 0 : transparentColorValue_;
    TransformRows(*this, steps, box.Width, box.Height, area->SrcX, lowestMemoryRow, area->Width, area->Height, fill,
                  buffer, bufferStride);
    const uint8_t* source = buffer + bufferStride * (area->Height - 1);
    uint8_t* target = TopLeftOf(dest.bits_, dest.width_, dest.height_, area->X, area->Y);
    RunRowRoutine(drawProc_.Routine, params, source, -bufferStride, target, -ptrdiff_t{dest.width_} * 4,
                  area->Width, area->Height);
    boxBuffer.Release();
    dest.Changed();
    return;
  }
  const auto area = ClipDrawArea({x, y, width, height, srcX, srcY}, {width_, height_}, dest.clipRect_,
                                 {dest.width_, dest.height_});
  if (!area) return;
  const uint8_t* source = TopLeftOf(bits_, width_, height_, area->SrcX, area->SrcY);
  uint8_t* target = TopLeftOf(dest.bits_, dest.width_, dest.height_, area->X, area->Y);
  RunRowRoutine(drawProc_.Routine, params, source, -ptrdiff_t{width_} * 4, target, -ptrdiff_t{dest.width_} * 4,
                area->Width, area->Height);
  dest.Changed();
}

void TAbstractSuperDIB::DrawWith(TRowRoutine routine, bool plain, int32_t x, int32_t y, int32_t width,
                                 int32_t height, TAbstractSuperDIB& dest, uint16_t srcX, uint16_t srcY) {
  const TDrawProc savedDrawProc = drawProc_;
  const TAngle savedAngle = angle_;
  const long double savedScaleX = scaleX_;
  const long double savedScaleY = scaleY_;
  drawProc_ = {routine, this};
  if (plain) {
    angle_ = 0;
    scaleX_ = 100.0L;
    scaleY_ = 100.0L;
  }
  auto restore = [&] {
    drawProc_ = savedDrawProc;
    angle_ = savedAngle;
    scaleX_ = savedScaleX;
    scaleY_ = savedScaleY;
  };
  try {
    Draw(x, y, width, height, dest, srcX, srcY);
  } catch (...) {
    restore();
    throw;
  }
  restore();
}

void TAbstractSuperDIB::DrawRaw(int32_t x, int32_t y, int32_t width, int32_t height, TAbstractSuperDIB& dest,
                                uint16_t srcX, uint16_t srcY) {
  DrawWith(TRowRoutine::rrCopyRow, true, x, y, width, height, dest, srcX, srcY);
}

void TAbstractSuperDIB::DrawMask(int32_t x, int32_t y, int32_t width, int32_t height, TAbstractSuperDIB& dest,
                                 uint16_t srcX, uint16_t srcY) {
  DrawWith(TRowRoutine::rrAlphaRow, false, x, y, width, height, dest, srcX, srcY);
}

void TAbstractSuperDIB::DrawMaskAsImage(int32_t x, int32_t y, int32_t width, int32_t height, TAbstractSuperDIB& dest,
                                        uint16_t srcX, uint16_t srcY) {
  DrawWith(TRowRoutine::rrAlphaToGreyRow, false, x, y, width, height, dest, srcX, srcY);
}

void TAbstractSuperDIB::TransformInto(TAbstractSuperDIB& dest) {
  if (bits_ == nullptr || dest.bits_ == nullptr) return;
  const TTransformSteps steps = ComputeTransformSteps(width_, height_, angle_, scaleX_, scaleY_);
  if (!steps.Valid) return;
  const TPixel fill = masked_ ? 0 : transparentColorValue_;
  const ptrdiff_t stride = ptrdiff_t{dest.width_} * 4;
  if (&dest == this) {
    // Reading and writing the same pixels: transform into a copy first.
    std::vector<uint8_t> copy(static_cast<size_t>(PixelByteCount()));
    TransformRows(*this, steps, width_, height_, 0, 0, width_, height_, fill, copy.data(), stride);
    std::copy(copy.begin(), copy.end(), bits_);
  } else {
    TransformRows(*this, steps, dest.width_, dest.height_, 0, 0, dest.width_, dest.height_, fill, dest.bits_, stride);
  }
  dest.Changed();
}

}  // namespace zelk
