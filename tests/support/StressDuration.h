// How long a stress test keeps its threads running: ZELK_STRESS_SECONDS when
// set (the ThreadSanitizer run asks for longer), else half a second.
#pragma once

#include <chrono>
#include <cstdlib>

namespace zelk::tests {

inline std::chrono::duration<double> StressDuration() {
  const char* seconds = std::getenv("ZELK_STRESS_SECONDS");
  return std::chrono::duration<double>(seconds != nullptr ? std::atof(seconds) : 0.5);
}

// When threads that start now stop.
inline std::chrono::steady_clock::time_point StressEnd() {
  return std::chrono::steady_clock::now() +
         std::chrono::duration_cast<std::chrono::steady_clock::duration>(StressDuration());
}

}  // namespace zelk::tests
