// The parts a TCustomDIBContainer owns, one on each side of it: for
// composing, the scratch images lent to the children while they paint; for
// focus and keys, the DIB tab list. Window thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "runtime/Object.h"
#include "runtime/Types.h"

namespace zelk {

class TCustomDIBControl;
class TWinDIB;

// Scratch images by size: one per child size (up to a few sizes), so that
// a frame allocates nothing once every size was painted; children of more
// sizes share the last one, re-sized as they need.
class TScratchImages {
 public:
  TScratchImages();
  ~TScratchImages();
  TScratchImages(const TScratchImages&) = delete;
  TScratchImages& operator=(const TScratchImages&) = delete;

  // The image for a child of this size, reset to plain drawing settings
  // and clipped to part (the child's pixels, right and bottom exclusive);
  // it becomes the one lent.
  TWinDIB& Lend(int32_t width, int32_t height, const TRect& part);
  // The one lent last; null before the first.
  TWinDIB* Lent() const { return lent_; }

 private:
  TWinDIB& Sized(int32_t width, int32_t height);

  std::vector<std::unique_ptr<TWinDIB, TFreeObject>> images_;
  TWinDIB* lent_ = nullptr;
};

// The image-drawn children in DIB tab order; a control is in it once at
// most. Not owned.
class TDIBTabList {
 public:
  const std::vector<TCustomDIBControl*>& Controls() const { return controls_; }
  auto begin() const { return controls_.begin(); }
  auto end() const { return controls_.end(); }
  bool Empty() const { return controls_.empty(); }
  size_t Count() const { return controls_.size(); }
  // -1 when absent.
  int IndexOf(const TCustomDIBControl* control) const;
  // Moves control to index: appended when index is not below the count
  // without it, left out when it is negative.
  void Place(TCustomDIBControl* control, int index);
  // True when control was in the list.
  bool Remove(const TCustomDIBControl* control);

 private:
  std::vector<TCustomDIBControl*> controls_;
};

}  // namespace zelk
