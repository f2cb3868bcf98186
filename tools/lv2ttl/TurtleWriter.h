// The Turtle of the LV2 bundle, written from what a module says about
// itself once its resource is read: names, channel counts, the parameter
// items (name, range, units, the value a new module holds) and the programs.
#pragma once

#include <string>
#include <vector>

namespace zelk {
class TCustomVST1Module;
}

namespace zelk::lv2 {

struct TParameterFacts {
  std::string Name;
  std::string Units;
  float Min = 0.0f;
  float Max = 1.0f;
  float Default = 0.0f;
};

struct TProgramFacts {
  std::string Name;
  std::vector<float> Values;  // one per parameter
};

struct TPluginFacts {
  std::string Name;
  std::string Vendor;
  int Inputs = 0;
  int Outputs = 0;
  std::vector<TParameterFacts> Parameters;
  std::vector<TProgramFacts> Programs;
};

TPluginFacts ReadFacts(TCustomVST1Module& module);

// manifest.ttl: the plug-in, its interface and its presets, each pointing
// to the file that describes it.
std::string ManifestTurtle(const TPluginFacts& facts);
// The plug-in's ports and features, and the interface's.
std::string PluginTurtle(const TPluginFacts& facts);
// One preset per program; empty without programs.
std::string PresetsTurtle(const TPluginFacts& facts);

// The symbols of the control ports: the names in lower case with anything
// but letters and digits as "_", unique ("_2" on for a repeated one), never
// empty or starting with a digit.
std::vector<std::string> ControlSymbols(const TPluginFacts& facts);

}  // namespace zelk::lv2
