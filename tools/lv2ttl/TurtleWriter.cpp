#include "tools/lv2ttl/TurtleWriter.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <set>
#include <sstream>
#include <stdexcept>

#include "framework/ParameterProperty.h"
#include "framework/Program.h"
#include "framework/VST1Module.h"
#include "lv2plugin/Lv2Ports.h"

namespace zelk::lv2 {

namespace {

constexpr char kPrefixes[] =
    "@prefix atom: <http://lv2plug.in/ns/ext/atom#> .\n"
    "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
    "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
    "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
    "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n"
    "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n"
    "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n\n";

// The units LV2 names; any other text becomes a unit of its own symbol.
struct TKnownUnit {
  const char* Text;
  const char* Unit;
};
constexpr TKnownUnit kKnownUnits[] = {{"°", "units:degree"}, {"dB", "units:db"}, {"Hz", "units:hz"},
                                      {"kHz", "units:khz"},  {"ms", "units:ms"}, {"s", "units:s"},
                                      {"%", "units:pc"}};

std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  for (const char character : text) {
    switch (character) {
      case '"': quoted += "\\\""; break;
      case '\\': quoted += "\\\\"; break;
      case '\n': quoted += "\\n"; break;
      case '\r': quoted += "\\r"; break;
      case '\t': quoted += "\\t"; break;
      default: quoted += character;
    }
  }
  return quoted + "\"";
}

std::string Uri(const std::string& uri) { return "<" + uri + ">"; }

// The shortest decimal that reads back as the same float, as a Turtle
// decimal or double (never an integer literal).
std::string Number(float value) {
  if (!std::isfinite(value)) throw std::runtime_error("a parameter value is no finite number");
  char text[32];
  const std::to_chars_result written = std::to_chars(text, text + sizeof text, value);
  std::string number(text, written.ptr);
  if (number.find_first_of(".e") == std::string::npos) number += ".0";
  return number;
}

std::string UnitOf(const std::string& units) {
  for (const TKnownUnit& known : kKnownUnits) {
    if (units == known.Text) return known.Unit;
  }
  return "[ a units:Unit ; rdfs:label " + Quoted(units) + " ; units:symbol " + Quoted(units) + " ; units:render " +
         Quoted("%f " + units) + " ]";
}

std::string PresetUri(size_t program) { return std::string(kPluginUri) + "#preset-" + std::to_string(program + 1); }

void WriteAudioPort(std::ostringstream& out, uint32_t index, bool input, int channel) {
  const char* direction = input ? "Input" : "Output";
  out << "    [\n        a lv2:" << direction << "Port , lv2:AudioPort ;\n"
      << "        lv2:index " << index << " ;\n"
      << "        lv2:symbol \"" << (input ? "in_" : "out_") << channel << "\" ;\n"
      << "        lv2:name \"" << direction << ' ' << channel << "\"\n    ]";
}

void WriteControlPort(std::ostringstream& out, uint32_t index, const std::string& symbol, const TParameterFacts& item) {
  out << "    [\n        a lv2:InputPort , lv2:ControlPort ;\n"
      << "        lv2:index " << index << " ;\n"
      << "        lv2:symbol " << Quoted(symbol) << " ;\n"
      << "        lv2:name " << Quoted(item.Name) << " ;\n"
      << "        lv2:default " << Number(item.Default) << " ;\n"
      << "        lv2:minimum " << Number(item.Min) << " ;\n"
      << "        lv2:maximum " << Number(item.Max);
  if (!item.Units.empty()) out << " ;\n        units:unit " << UnitOf(item.Units);
  out << "\n    ]";
}

TPortLayout LayoutOf(const TPluginFacts& facts) {
  return {static_cast<uint32_t>(facts.Inputs), static_cast<uint32_t>(facts.Outputs),
          static_cast<uint32_t>(facts.Parameters.size())};
}

}  // namespace

TPluginFacts ReadFacts(TCustomVST1Module& module) {
  TPluginFacts facts;
  facts.Name = module.EffectName;
  facts.Vendor = module.VendorName;
  facts.Inputs = module.NumInputs();
  facts.Outputs = module.NumOutputs();
  for (int32_t index = 0; index < module.numParams(); ++index) {
    const TCustomVstParameterProperty* item = module.ParameterProperties()->Item(index);
    facts.Parameters.push_back({item->DisplayName(), item->Units(), item->Min, item->Max, module.GetParameter(index)});
  }
  for (int32_t index = 0; index < module.numPrograms(); ++index) {
    const TCustomVstProgram* program = module.Programs()->Program(index);
    TProgramFacts preset{program->DisplayName(), {}};
    for (int32_t parameter = 0; parameter < module.numParams(); ++parameter) {
      preset.Values.push_back(parameter < program->ParameterCount() ? program->Parameter(parameter) : 0.0f);
    }
    facts.Programs.push_back(preset);
  }
  return facts;
}

std::vector<std::string> ControlSymbols(const TPluginFacts& facts) {
  std::vector<std::string> symbols;
  std::set<std::string> taken;
  for (const TParameterFacts& item : facts.Parameters) {
    std::string symbol;
    for (const char character : item.Name) {
      const bool ascii = static_cast<unsigned char>(character) < 0x80;
      symbol += ascii && std::isalnum(static_cast<unsigned char>(character))
                    ? static_cast<char>(std::tolower(static_cast<unsigned char>(character)))
                    : '_';
    }
    if (symbol.empty() || std::isdigit(static_cast<unsigned char>(symbol[0]))) symbol = "p_" + symbol;
    std::string unique = symbol;
    for (int suffix = 2; taken.count(unique) != 0; ++suffix) unique = symbol + "_" + std::to_string(suffix);
    taken.insert(unique);
    symbols.push_back(unique);
  }
  return symbols;
}

std::string ManifestTurtle(const TPluginFacts& facts) {
  std::ostringstream out;
  out << kPrefixes;
  out << Uri(kPluginUri) << "\n    a lv2:Plugin ;\n    lv2:binary " << Uri(kBinaryName) << " ;\n    rdfs:seeAlso "
      << Uri(kDescriptionName) << " .\n\n";
  out << Uri(kUiUri) << "\n    a ui:X11UI ;\n    ui:binary " << Uri(kBinaryName) << " ;\n    rdfs:seeAlso "
      << Uri(kDescriptionName) << " .\n";
  for (size_t program = 0; program < facts.Programs.size(); ++program) {
    out << "\n" << Uri(PresetUri(program)) << "\n    a pset:Preset ;\n    lv2:appliesTo " << Uri(kPluginUri)
        << " ;\n    rdfs:seeAlso " << Uri(kPresetsName) << " .\n";
  }
  return out.str();
}

std::string PluginTurtle(const TPluginFacts& facts) {
  const TPortLayout layout = LayoutOf(facts);
  const std::vector<std::string> symbols = ControlSymbols(facts);
  std::ostringstream out;
  out << kPrefixes;
  out << Uri(kPluginUri) << "\n    a lv2:Plugin ;\n"
      << "    doap:name " << Quoted(facts.Name) << " ;\n"
      << "    doap:maintainer [ foaf:name " << Quoted(facts.Vendor) << " ] ;\n"
      << "    lv2:optionalFeature lv2:hardRTCapable , urid:map ;\n"
      << "    lv2:extensionData state:interface ;\n"
      << "    ui:ui " << Uri(kUiUri) << " ;\n"
      << "    lv2:port\n";
  for (uint32_t port = 0; port < layout.Count(); ++port) {
    if (port > 0) out << " ,\n";
    if (port < layout.FirstOutput()) {
      WriteAudioPort(out, port, true, static_cast<int>(port) + 1);
    } else if (port < layout.FirstControl()) {
      WriteAudioPort(out, port, false, static_cast<int>(port - layout.FirstOutput()) + 1);
    } else {
      const int32_t parameter = layout.ParameterOf(port);
      WriteControlPort(out, port, symbols[parameter], facts.Parameters[parameter]);
    }
  }
  out << " .\n\n";
  out << Uri(kUiUri) << "\n    a ui:X11UI ;\n"
      << "    lv2:requiredFeature ui:idleInterface , ui:parent ;\n"
      << "    lv2:optionalFeature ui:resize , ui:touch ;\n"
      << "    lv2:extensionData ui:idleInterface .\n";
  return out.str();
}

std::string PresetsTurtle(const TPluginFacts& facts) {
  if (facts.Programs.empty()) return {};
  const std::vector<std::string> symbols = ControlSymbols(facts);
  std::ostringstream out;
  out << kPrefixes;
  for (size_t program = 0; program < facts.Programs.size(); ++program) {
    out << Uri(PresetUri(program)) << "\n    a pset:Preset ;\n    lv2:appliesTo " << Uri(kPluginUri) << " ;\n"
        << "    rdfs:label " << Quoted(facts.Programs[program].Name);
    for (size_t parameter = 0; parameter < symbols.size(); ++parameter) {
      out << " ;\n    lv2:port [ lv2:symbol " << Quoted(symbols[parameter]) << " ; pset:value "
          << Number(facts.Programs[program].Values[parameter]) << " ]";
    }
    out << " .\n\n";
  }
  return out.str();
}

}  // namespace zelk::lv2
