// zelk-resc: the component resource compiler.
//
//   zelk-resc compile INPUT.zres -o OUTPUT.bin [--depfile FILE]
//                                                 text form -> binary stream
//   zelk-resc dump INPUT.bin [-o OUTPUT.zres]     binary stream -> text form
//   zelk-resc cpp -o OUTPUT.cpp [--depfile FILE] INPUT.zres...
//                                                 the built-in resource table
//
// file('path') and picture('path') in a text form name a file relative to
// that text file: file() embeds its bytes, picture() decodes the picture and
// embeds its pixels as a stored image block, compressed with the compressor
// that the form's TDIBSettings names in its DIBCompressor setting (raw when
// it names none).
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "dib/DIBLibrary.h"
#include "resources/TextFormCompiler.h"
#include "resources/TextFormPrinter.h"
#include "runtime/Text.h"
#include "tools/common/CommandLine.h"
#include "tools/resc/CppTable.h"
#include "tools/resc/StoredPictures.h"

namespace {

namespace fs = std::filesystem;
using zelk::resc::TCompiledResource;

struct TOptions {
  std::string Mode;
  std::vector<std::string> Inputs;
  std::string Output;
  std::string DepFile;
};

const char kUsage[] =
    "usage: zelk-resc compile INPUT.zres -o OUTPUT.bin [--depfile FILE]\n"
    "       zelk-resc dump INPUT.bin [-o OUTPUT.zres]\n"
    "       zelk-resc cpp -o OUTPUT.cpp [--depfile FILE] INPUT.zres...\n"
    "\n"
    "The component resource compiler: compile turns a text form into its binary\n"
    "stream, dump turns a binary stream back into text, cpp writes the built-in\n"
    "resource table of the given text forms as C++ source.\n"
    "\n"
    "  -o FILE            the output\n"
    "  --depfile FILE     also write the files the output depends on (make syntax)\n"
    "  --help, --version\n";

using zelk::tools::TUsageError;

TOptions ParseArguments(const zelk::tools::TCommandLine& line) {
  TOptions options;
  if (line.Operands().empty()) throw TUsageError{"give a command: compile, dump or cpp"};
  options.Mode = line.Operands().front();
  options.Inputs.assign(line.Operands().begin() + 1, line.Operands().end());
  options.Output = line.Value("-o").value_or("");
  options.DepFile = line.Value("--depfile").value_or("");
  if (options.Mode != "compile" && options.Mode != "dump" && options.Mode != "cpp") {
    throw TUsageError{"unknown command '" + options.Mode + "' (compile, dump or cpp)"};
  }
  if (options.Mode != "cpp" && options.Inputs.size() != 1) throw TUsageError{options.Mode + " takes one input file"};
  if (options.Mode != "dump" && options.Output.empty()) throw TUsageError{options.Mode + " needs -o OUTPUT"};
  return options;
}

std::vector<uint8_t> ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot open " + path.string());
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, const void* data, size_t size) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file.write(static_cast<const char*>(data), static_cast<std::streamsize>(size))) {
    throw std::runtime_error("cannot write " + path.string());
  }
}

// Compiles one text file; files it embeds are added to dependencies.
//
// The compressor for pictures is chosen by a setting that may come after
// them in the text (a form's TDIBSettings follows its image list), so a
// first pass with empty binary values finds the setting and the second pass
// stores the pictures.
std::vector<uint8_t> CompileFile(const fs::path& input, std::vector<std::string>& dependencies) {
  const std::vector<uint8_t> bytes = ReadFile(input);
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  const fs::path folder = input.parent_path();
  const auto pathOf = [&](std::string_view name) {
    return folder / fs::path(std::u8string(reinterpret_cast<const char8_t*>(name.data()), name.size()));
  };
  const auto loadFile = [&](std::string_view name) {
    const fs::path path = pathOf(name);
    dependencies.push_back(path.string());
    return ReadFile(path);
  };
  try {
    const auto nothing = [](std::string_view) { return std::vector<uint8_t>(); };
    zelk::TAbstractDIBCompressor* const compressor =
        zelk::resc::CompressorChosenBy(zelk::CompileComponentText(text, {.File = nothing, .Picture = nothing}));
    const auto storePicture = [&](std::string_view name) {
      const std::vector<uint8_t> file = loadFile(name);
      try {
        return zelk::resc::StoredPictureBlock(pathOf(name).string(), file, compressor);
      } catch (const zelk::Exception& error) {
        throw std::runtime_error(pathOf(name).string() + ": " + error.Message());
      }
    };
    return zelk::CompileComponentText(text, {.File = loadFile, .Picture = storePicture});
  } catch (const zelk::ETextFormError& error) {
    throw std::runtime_error(input.string() + ":" + error.Message());
  }
}

std::string DepFileText(const std::string& target, const std::vector<std::string>& dependencies) {
  const auto escaped = [](const std::string& path) {
    std::string text;
    for (char c : path) {
      if (c == ' ') text += '\\';
      text += c;
    }
    return text;
  };
  std::string text = escaped(target) + ":";
  for (const std::string& dependency : dependencies) text += " \\\n  " + escaped(dependency);
  return text + "\n";
}

void Compile(const TOptions& options) {
  std::vector<std::string> dependencies{options.Inputs[0]};
  const std::vector<uint8_t> bytes = CompileFile(options.Inputs[0], dependencies);
  WriteFile(options.Output, bytes.data(), bytes.size());
  if (!options.DepFile.empty()) {
    const std::string text = DepFileText(options.Output, dependencies);
    WriteFile(options.DepFile, text.data(), text.size());
  }
}

void Dump(const TOptions& options) {
  const std::string text = zelk::PrintComponentStream(ReadFile(options.Inputs[0]));
  if (options.Output.empty()) {
    std::fwrite(text.data(), 1, text.size(), stdout);
  } else {
    WriteFile(options.Output, text.data(), text.size());
  }
}

void EmitTable(const TOptions& options) {
  std::vector<TCompiledResource> resources;
  std::vector<std::string> dependencies;
  for (const std::string& input : options.Inputs) {
    dependencies.push_back(input);
    TCompiledResource resource;
    resource.Bytes = CompileFile(input, dependencies);
    resource.Name = zelk::UpperCase(zelk::resc::RootClassName(resource.Bytes));
    resource.Source = fs::path(input).filename().string();
    resources.push_back(std::move(resource));
  }
  const std::string source = zelk::resc::BuiltInTableSource(resources);
  WriteFile(options.Output, source.data(), source.size());
  if (!options.DepFile.empty()) {
    const std::string text = DepFileText(options.Output, dependencies);
    WriteFile(options.DepFile, text.data(), text.size());
  }
}

}  // namespace

int main(int argc, char** argv) {
  TOptions options;
  try {
    const zelk::tools::TCommandLine line(std::vector<std::string>(argv + 1, argv + argc),
                                         {{"-o", true}, {"--depfile", true}});
    if (const auto status = zelk::tools::AnswerHelpOrVersion(line, "zelk-resc", kUsage)) return *status;
    options = ParseArguments(line);
  } catch (const TUsageError& error) {
    return zelk::tools::ReportUsageError("zelk-resc", error);
  }
  // The picture loaders and the compressors for picture() values.
  zelk::InitializeDIBLibrary();
  int result = 0;
  try {
    if (options.Mode == "compile") {
      Compile(options);
    } else if (options.Mode == "dump") {
      Dump(options);
    } else {
      EmitTable(options);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "zelk-resc: %s\n", error.what());
    result = 1;
  }
  zelk::FinalizeDIBLibrary();
  return result;
}
