// TSet<E>: a set of enumeration members held as a 32-bit mask, the form in
// which published set properties stream (ordinals 0 to 31).
#pragma once

#include <cstdint>
#include <initializer_list>

namespace zelk {

template <class E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> members) {
    for (E member : members) Include(member);
  }
  static constexpr TSet FromMask(uint32_t mask) {
    TSet set;
    set.mask_ = mask;
    return set;
  }

  constexpr bool Contains(E member) const { return (mask_ & Bit(member)) != 0; }
  constexpr TSet& Include(E member) {
    mask_ |= Bit(member);
    return *this;
  }
  constexpr TSet& Exclude(E member) {
    mask_ &= ~Bit(member);
    return *this;
  }
  constexpr bool Empty() const { return mask_ == 0; }
  constexpr uint32_t Mask() const { return mask_; }
  constexpr bool operator==(const TSet&) const = default;

 private:
  static constexpr uint32_t Bit(E member) {
    const auto ordinal = static_cast<uint32_t>(member);
    return ordinal < 32 ? (uint32_t{1} << ordinal) : 0;
  }
  uint32_t mask_ = 0;
};

}  // namespace zelk
