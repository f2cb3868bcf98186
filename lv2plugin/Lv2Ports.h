// The LV2 face of the product: its URIs and the layout of its ports, shared
// by the plug-in library and the tool that writes the bundle's Turtle, so
// that the description and the code always agree.
//
// Ports, in index order: the module's audio inputs, its audio outputs, then
// one control input per parameter item (in the item's units, not the host's
// 0..1 of the VST 2 interface).
#pragma once

#include <cstdint>

namespace zelk::lv2 {

inline constexpr char kPluginUri[] = "urn:kelmora:zelk-vorlan";
inline constexpr char kUiUri[] = "urn:kelmora:zelk-vorlan#ui";
// The state property carrying the module's chunk.
inline constexpr char kChunkUri[] = "urn:kelmora:zelk-vorlan#chunk";
// The binary inside the bundle, holding both the plug-in and its UI.
inline constexpr char kBinaryName[] = "Zelk.so";
inline constexpr char kDescriptionName[] = "Zelk.ttl";
inline constexpr char kPresetsName[] = "presets.ttl";

struct TPortLayout {
  uint32_t Inputs = 0;
  uint32_t Outputs = 0;
  uint32_t Parameters = 0;

  uint32_t FirstOutput() const { return Inputs; }
  uint32_t FirstControl() const { return Inputs + Outputs; }
  uint32_t Count() const { return Inputs + Outputs + Parameters; }
  bool IsControl(uint32_t port) const { return port >= FirstControl() && port < Count(); }
  int32_t ParameterOf(uint32_t port) const { return static_cast<int32_t>(port - FirstControl()); }
  uint32_t PortOf(int32_t parameter) const { return FirstControl() + static_cast<uint32_t>(parameter); }
};

}  // namespace zelk::lv2
