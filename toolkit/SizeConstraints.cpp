#include "toolkit/SizeConstraints.h"

#include <algorithm>

#include "runtime/ClassBuilder.h"

namespace zelk {

const TClassInfo& TSizeConstraints::StaticClass() {
  using T = TSizeConstraints;
  static const TClassInfo info = TClassBuilder<T>("TSizeConstraints")
                                     .Property("MaxHeight", &T::MaxHeight, &T::SetMaxHeight)
                                     .Default(0)
                                     .Property("MaxWidth", &T::MaxWidth, &T::SetMaxWidth)
                                     .Default(0)
                                     .Property("MinHeight", &T::MinHeight, &T::SetMinHeight)
                                     .Default(0)
                                     .Property("MinWidth", &T::MinWidth, &T::SetMinWidth)
                                     .Default(0)
                                     .Build();
  return info;
}

int32_t TSizeConstraints::Constrain(int32_t size, int32_t minimum, int32_t maximum) {
  if (minimum > 0) size = std::max(size, minimum);
  if (maximum > 0) size = std::min(size, maximum);
  return size;
}

void TSizeConstraints::Change(int32_t& limit, int32_t value) {
  value = std::max(value, 0);
  if (limit == value) return;
  limit = value;
  if (OnChange) OnChange(this);
}

void TSizeConstraints::Assign(TPersistent* source) {
  if (source == nullptr || !source->Is<TSizeConstraints>()) {
    TPersistent::Assign(source);
    return;
  }
  const auto* other = static_cast<const TSizeConstraints*>(source);
  maxHeight_ = other->maxHeight_;
  maxWidth_ = other->maxWidth_;
  minHeight_ = other->minHeight_;
  minWidth_ = other->minWidth_;
  if (OnChange) OnChange(this);
}

}  // namespace zelk
