// Key codes: the familiar virtual-key numbering, our own codes on every
// backend (a native backend maps its keys to them). Letters and digits are
// their upper-case ASCII codes ('A' = 65, '0' = 48).
#pragma once

#include <cstdint>

namespace zelk {

inline constexpr uint16_t vkLButton = 1;
inline constexpr uint16_t vkRButton = 2;
inline constexpr uint16_t vkCancel = 3;
inline constexpr uint16_t vkMButton = 4;
inline constexpr uint16_t vkBack = 8;
inline constexpr uint16_t vkTab = 9;
inline constexpr uint16_t vkReturn = 13;
inline constexpr uint16_t vkShift = 16;
inline constexpr uint16_t vkControl = 17;
inline constexpr uint16_t vkMenu = 18;  // Alt
inline constexpr uint16_t vkPause = 19;
inline constexpr uint16_t vkEscape = 27;
inline constexpr uint16_t vkSpace = 32;
inline constexpr uint16_t vkPrior = 33;  // Page Up
inline constexpr uint16_t vkNext = 34;   // Page Down
inline constexpr uint16_t vkEnd = 35;
inline constexpr uint16_t vkHome = 36;
inline constexpr uint16_t vkLeft = 37;
inline constexpr uint16_t vkUp = 38;
inline constexpr uint16_t vkRight = 39;
inline constexpr uint16_t vkDown = 40;
inline constexpr uint16_t vkExecute = 43;
inline constexpr uint16_t vkInsert = 45;
inline constexpr uint16_t vkDelete = 46;
inline constexpr uint16_t vkF1 = 112;  // vkF1 + n - 1 for F2 to F12
inline constexpr uint16_t vkF12 = 123;

}  // namespace zelk
