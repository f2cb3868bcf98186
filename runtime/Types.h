// Small value types shared by every layer that draws or places things:
// points, rectangles and colour values.
#pragma once

#include <algorithm>
#include <cstdint>

namespace zelk {

// 0x00BBGGRR, or a system colour 0xFF0000nn (nn the system colour index).
using TColor = int32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;

  bool operator==(const TPoint&) const = default;
};

// A rectangle of signed 32-bit bounds. Whether Right and Bottom are
// inclusive depends on the user: windows, canvases and regions treat them as
// exclusive, and so do the helpers below; a bitmap's ClipRect is inclusive
// and does not use them.
struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  bool operator==(const TRect&) const = default;

  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(TPoint point) const { return point.X >= Left && point.X < Right && point.Y >= Top && point.Y < Bottom; }
  TPoint TopLeft() const { return {Left, Top}; }
  TRect Offset(int32_t dx, int32_t dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
};

// The common part of two rectangles; an empty rectangle when they do not meet.
inline TRect IntersectRect(const TRect& a, const TRect& b) {
  const TRect common{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                     std::min(a.Bottom, b.Bottom)};
  return common.IsEmpty() ? TRect{} : common;
}

inline bool RectsIntersect(const TRect& a, const TRect& b) { return !IntersectRect(a, b).IsEmpty(); }

// The smallest rectangle holding both; an empty one does not count.
inline TRect UnionRect(const TRect& a, const TRect& b) {
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
}

inline TRect BoundsRect(int32_t left, int32_t top, int32_t width, int32_t height) {
  return {left, top, left + width, top + height};
}

}  // namespace zelk
