#include "platform/software/SoftwareRegion.h"

#include <algorithm>
#include <limits>

namespace zelk::platform {

namespace {

using TRects = std::vector<TRegionRect>;

// One past the last rectangle of the band that starts at start.
size_t BandEnd(const TRects& rects, size_t start) {
  size_t end = start + 1;
  while (end < rects.size() && rects[end].Top == rects[start].Top) ++end;
  return end;
}

// Appends bands from the top down and keeps the result banded: intervals of
// a band that overlap or touch become one, and a band that continues the
// one above with the same intervals extends it instead of starting anew.
class TBandWriter {
 public:
  // Appends below the bands already in out, which must be banded.
  explicit TBandWriter(TRects& out) : out_(out) {
    if (!out_.empty()) {
      previousStart_ = out_.size() - 1;
      while (previousStart_ > 0 && out_[previousStart_ - 1].Top == out_.back().Top) --previousStart_;
    }
  }

  // Intervals follow from the left; top and bottom lie below the bands
  // written before.
  void BeginBand(int32_t top, int32_t bottom) {
    bandStart_ = out_.size();
    top_ = top;
    bottom_ = bottom;
  }

  void AddInterval(int32_t left, int32_t right) {
    if (out_.size() > bandStart_ && left <= out_.back().Right) {
      out_.back().Right = std::max(out_.back().Right, right);
    } else {
      out_.push_back({left, top_, right, bottom_});
    }
  }

  void EndBand() {
    if (out_.size() == bandStart_) return;
    if (ContinuesPreviousBand()) {
      for (size_t index = previousStart_; index < bandStart_; ++index) out_[index].Bottom = bottom_;
      out_.resize(bandStart_);
    } else {
      previousStart_ = bandStart_;
    }
  }

  void WriteBand(int32_t top, int32_t bottom, const TRects& source, size_t start, size_t end) {
    BeginBand(top, bottom);
    for (size_t index = start; index < end; ++index) AddInterval(source[index].Left, source[index].Right);
    EndBand();
  }

  // The intervals of two bands, merged from the left.
  void WriteMergedBands(int32_t top, int32_t bottom, const TRects& a, size_t aStart, size_t aEnd, const TRects& b,
                        size_t bStart, size_t bEnd) {
    BeginBand(top, bottom);
    while (aStart < aEnd || bStart < bEnd) {
      const bool takeA = bStart == bEnd || (aStart < aEnd && a[aStart].Left <= b[bStart].Left);
      const TRegionRect& next = takeA ? a[aStart++] : b[bStart++];
      AddInterval(next.Left, next.Right);
    }
    EndBand();
  }

 private:
  bool ContinuesPreviousBand() const {
    if (previousStart_ == kNone || out_[previousStart_].Bottom != top_) return false;
    const size_t previousCount = bandStart_ - previousStart_;
    if (out_.size() - bandStart_ != previousCount) return false;
    for (size_t index = 0; index < previousCount; ++index) {
      const TRegionRect& above = out_[previousStart_ + index];
      const TRegionRect& below = out_[bandStart_ + index];
      if (above.Left != below.Left || above.Right != below.Right) return false;
    }
    return true;
  }

  static constexpr size_t kNone = std::numeric_limits<size_t>::max();

  TRects& out_;
  size_t previousStart_ = kNone;
  size_t bandStart_ = 0;
  int32_t top_ = 0;
  int32_t bottom_ = 0;
};

// Appends the bands of source from start on, cut off above y.
void WriteRemainingBands(TBandWriter& writer, const TRects& source, size_t start, int32_t y) {
  while (start < source.size()) {
    const size_t end = BandEnd(source, start);
    writer.WriteBand(std::max(source[start].Top, y), source[start].Bottom, source, start, end);
    start = end;
  }
}

// The union of two banded lists, band by band from the top: each step
// writes the horizontal slab from y down to the next edge of either list,
// with the intervals of whichever lists cover it.
TRects UniteBanded(const TRects& a, const TRects& b) {
  TRects out;
  out.reserve(a.size() + b.size());
  TBandWriter writer(out);
  size_t aStart = 0;
  size_t bStart = 0;
  int32_t y = std::numeric_limits<int32_t>::min();  // everything above is written
  while (aStart < a.size() && bStart < b.size()) {
    const size_t aEnd = BandEnd(a, aStart);
    const size_t bEnd = BandEnd(b, bStart);
    const int32_t aTop = std::max(a[aStart].Top, y);
    const int32_t bTop = std::max(b[bStart].Top, y);
    const int32_t aBottom = a[aStart].Bottom;
    const int32_t bBottom = b[bStart].Bottom;
    if (aTop < bTop) {
      y = std::min(aBottom, bTop);
      writer.WriteBand(aTop, y, a, aStart, aEnd);
    } else if (bTop < aTop) {
      y = std::min(bBottom, aTop);
      writer.WriteBand(bTop, y, b, bStart, bEnd);
    } else {
      y = std::min(aBottom, bBottom);
      writer.WriteMergedBands(aTop, y, a, aStart, aEnd, b, bStart, bEnd);
    }
    if (aBottom <= y) aStart = aEnd;
    if (bBottom <= y) bStart = bEnd;
  }
  WriteRemainingBands(writer, a, aStart, y);
  WriteRemainingBands(writer, b, bStart, y);
  return out;
}

// Whether rects, free of empty ones, are banded but for intervals that touch
// and bands that could be joined: picture rows come this way.
bool IsLooselyBanded(const TRects& rects) {
  for (size_t index = 1; index < rects.size(); ++index) {
    const TRegionRect& before = rects[index - 1];
    const TRegionRect& rect = rects[index];
    const bool sameBand = rect.Top == before.Top;
    if (sameBand ? (rect.Bottom != before.Bottom || rect.Left < before.Right) : rect.Top < before.Bottom) {
      return false;
    }
  }
  return true;
}

// The banded union of rects[start, end), halving the range: each level of
// the halving costs no more than the regions it unites.
TRects UniteRange(const TRects& rects, size_t start, size_t end) {
  if (end - start == 1) return {rects[start]};
  const size_t middle = start + (end - start) / 2;
  return UniteBanded(UniteRange(rects, start, middle), UniteRange(rects, middle, end));
}

TRects BandedFromRectangles(TRects rects) {
  std::erase_if(rects, [](const TRegionRect& rect) { return rect.Left >= rect.Right || rect.Top >= rect.Bottom; });
  if (rects.empty()) return rects;
  if (IsLooselyBanded(rects)) {
    TRects out;
    out.reserve(rects.size());
    TBandWriter writer(out);
    WriteRemainingBands(writer, rects, 0, std::numeric_limits<int32_t>::min());
    return out;
  }
  // Neighbours in the halving then lie close together, which keeps the
  // intermediate regions small.
  std::sort(rects.begin(), rects.end(), [](const TRegionRect& a, const TRegionRect& b) {
    return a.Top != b.Top ? a.Top < b.Top : a.Left < b.Left;
  });
  return UniteRange(rects, 0, rects.size());
}

}  // namespace

TSoftwareRegion::TSoftwareRegion(std::vector<TRegionRect> rects) : rects_(BandedFromRectangles(std::move(rects))) {}

void TSoftwareRegion::Unite(const TRegion& other) {
  const auto* software = dynamic_cast<const TSoftwareRegion*>(&other);
  const TRects converted = software != nullptr ? TRects() : BandedFromRectangles(other.Rectangles());
  const TRects& others = software != nullptr ? software->rects_ : converted;
  if (others.empty()) return;
  if (rects_.empty() || others.front().Top >= rects_.back().Bottom) {
    // Wholly below (or nothing here yet): the bands are appended. (A region
    // united with itself never gets here, so others is not rects_.)
    TBandWriter writer(rects_);
    WriteRemainingBands(writer, others, 0, std::numeric_limits<int32_t>::min());
    return;
  }
  rects_ = UniteBanded(rects_, others);
}

bool TSoftwareRegion::Contains(int32_t x, int32_t y) const {
  // Bottoms grow through the list, so the first rectangle ending below y
  // starts the only band that may hold it.
  const auto band =
      std::partition_point(rects_.begin(), rects_.end(), [y](const TRegionRect& rect) { return rect.Bottom <= y; });
  if (band == rects_.end() || band->Top > y) return false;
  const auto bandEnd =
      std::partition_point(band, rects_.end(), [top = band->Top](const TRegionRect& rect) { return rect.Top == top; });
  const auto interval =
      std::partition_point(band, bandEnd, [x](const TRegionRect& rect) { return rect.Right <= x; });
  return interval != bandEnd && interval->Left <= x;
}

std::unique_ptr<TRegion> TSoftwareRegionFactory::CreateFromData(const TRegionDataHeader& header,
                                                                std::span<const TRegionRect> rects) {
  const size_t count = std::min<size_t>(header.Count, rects.size());
  return std::make_unique<TSoftwareRegion>(std::vector<TRegionRect>(rects.begin(), rects.begin() + count));
}

}  // namespace zelk::platform
