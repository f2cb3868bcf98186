// Fixed-point trigonometry for picture rotation: four tables of 360 entries,
// in 1/256, indexed by whole degrees, with r = angle * pi / 180 and rounding
// to the nearest integer, halves to even:
//   Sine          Round(sin(r) * 256)
//   Cosine        Round(cos(r) * 256)
//   ShiftedSine   Round(sin(r + pi/2) * 256)   (equals Cosine)
//   ShiftedCosine Round(cos(r + pi/2) * 256)   (the negated Sine)
// Built once, by the first caller of RotationTables or InitRotationTables
// (the first rotated draw, on any thread); read-only afterwards.
#pragma once

#include <array>
#include <cstdint>

namespace zelk {

struct TRotationTables {
  std::array<int32_t, 360> Sine{};
  std::array<int32_t, 360> Cosine{};
  std::array<int32_t, 360> ShiftedSine{};
  std::array<int32_t, 360> ShiftedCosine{};
};

// Builds the tables now; later calls do nothing.
void InitRotationTables();

// The tables, built on the first call.
const TRotationTables& RotationTables();

}  // namespace zelk
