// The product's editor at an angle, composed in the test's own process on
// the headless backend, as the host window shows it: what the editors of
// the built libraries must show on a real X server.
#pragma once

#include <cstdint>
#include <vector>

#include "effect/LibraryStart.h"
#include "platform/headless/HeadlessWindows.h"

namespace zelk::tests {

inline constexpr int32_t kEditorWidth = 245;
inline constexpr int32_t kEditorHeight = 269;

inline intptr_t ZELK_VST_CALL SilentHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

// 0x00RRGGBB, rows from the top; empty when the module cannot be built.
inline std::vector<uint32_t> HeadlessEditorPixels(float angle) {
  StartLibrary();
  AEffect* effect = CreateEffect(&SilentHost);
  if (effect == nullptr) return {};
  auto& windows = platform::HeadlessWindows();
  const platform::TNativeWindow host = windows.CreateForeignWindow({0, 0, 300, 300});
  effect->setParameter(effect, 0, angle / 360.0f);
  effect->dispatcher(effect, effEditOpen, 0, 0, reinterpret_cast<void*>(host), 0.0f);
  effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.0f);
  windows.Pump();
  std::vector<uint32_t> pixels;
  for (int32_t y = 0; y < kEditorHeight; ++y) {
    for (int32_t x = 0; x < kEditorWidth; ++x) pixels.push_back(windows.VisiblePixelAt(host, x, y) & 0xFFFFFF);
  }
  effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  windows.DestroyWindow(host);
  return pixels;
}

}  // namespace zelk::tests
