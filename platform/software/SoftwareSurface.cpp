#include "platform/software/SoftwareSurface.h"

#include <cerrno>
#include <limits>
#include <new>
#include <unordered_map>
#include <vector>

#include "platform/SystemError.h"

namespace zelk::platform {

namespace {

constexpr int32_t kLargestDimension = 65535;

// Living surfaces by handle. Handles count up from 1 and are never reused.
class THandleTable {
 public:
  TSurfaceHandle Add(TSurface* surface) {
    const TSurfaceHandle handle = ++lastHandle_;
    surfaces_[handle] = surface;
    return handle;
  }
  void Remove(TSurfaceHandle handle) { surfaces_.erase(handle); }
  TSurface* Find(TSurfaceHandle handle) const {
    const auto found = surfaces_.find(handle);
    return found == surfaces_.end() ? nullptr : found->second;
  }

 private:
  TSurfaceHandle lastHandle_ = 0;
  std::unordered_map<TSurfaceHandle, TSurface*> surfaces_;
};

THandleTable& Handles() {
  static THandleTable table;
  return table;
}

class TSoftwareSurface final : public TSurface {
 public:
  TSoftwareSurface(int32_t width, int32_t height, size_t byteCount)
      : width_(width), height_(height), pixels_(byteCount, 0), handle_(Handles().Add(this)) {}
  ~TSoftwareSurface() override { Handles().Remove(handle_); }

  int32_t Width() const override { return width_; }
  int32_t Height() const override { return height_; }
  uint8_t* Bits() override { return pixels_.data(); }
  TSurfaceHandle Handle() const override { return handle_; }

 private:
  int32_t width_;
  int32_t height_;
  std::vector<uint8_t> pixels_;
  TSurfaceHandle handle_;
};

// Width x height x 4 when the process can address it; 0 otherwise.
size_t AddressableByteCount(int32_t width, int32_t height) {
  const uint64_t bytes = uint64_t{static_cast<uint32_t>(width)} * static_cast<uint32_t>(height) * 4u;
  return bytes > std::numeric_limits<size_t>::max() ? 0 : static_cast<size_t>(bytes);
}

std::unique_ptr<TSurface> Refuse() {
  SystemErrors().SetLastErrorCode(ENOMEM);
  return nullptr;
}

}  // namespace

std::unique_ptr<TSurface> TSoftwareSurfaceFactory::CreateSurface(int32_t width, int32_t height) {
  if (width < 1 || height < 1 || width > kLargestDimension || height > kLargestDimension) return Refuse();
  const size_t byteCount = AddressableByteCount(width, height);
  if (byteCount == 0) return Refuse();
  try {
    return std::make_unique<TSoftwareSurface>(width, height, byteCount);
  } catch (const std::bad_alloc&) {
    return Refuse();
  }
}

TSurface* TSoftwareSurfaceFactory::SurfaceOf(TSurfaceHandle handle) { return Handles().Find(handle); }

TSoftwareSurfaceFactory& SoftwareSurfaceFactory() {
  static TSoftwareSurfaceFactory factory;
  return factory;
}

}  // namespace zelk::platform
