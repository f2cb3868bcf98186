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

[[noreturn]] void Usage() {
  std::fputs(
      "usage: zelk-resc compile INPUT.zres -o OUTPUT.bin [--depfile FILE]\n"
      "       zelk-resc dump INPUT.bin [-o OUTPUT.zres]\n"
      "       zelk-resc cpp -o OUTPUT.cpp [--depfile FILE] INPUT.zres...\n",
      stderr);
  std::exit(2);
}

TOptions ParseArguments(int argc, char** argv) {
  if (argc < 2) Usage();
  TOptions options;
  options.Mode = argv[1];
  for (int i = 2; i < argc; ++i) {
    const std::string argument = argv[i];
    if ((argument == "-o" || argument == "--depfile") && i + 1 < argc) {
      (argument == "-o" ? options.Output : options.DepFile) = argv[++i];
    } else if (!argument.empty() && argument[0] == '-') {
      Usage();
    } else {
      options.Inputs.push_back(argument);
    }
  }
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
  if (options.Inputs.size() != 1 || options.Output.empty()) Usage();
  std::vector<std::string> dependencies{options.Inputs[0]};
  const std::vector<uint8_t> bytes = CompileFile(options.Inputs[0], dependencies);
  WriteFile(options.Output, bytes.data(), bytes.size());
  if (!options.DepFile.empty()) {
    const std::string text = DepFileText(options.Output, dependencies);
    WriteFile(options.DepFile, text.data(), text.size());
  }
}

void Dump(const TOptions& options) {
  if (options.Inputs.size() != 1) Usage();
  const std::string text = zelk::PrintComponentStream(ReadFile(options.Inputs[0]));
  if (options.Output.empty()) {
    std::fwrite(text.data(), 1, text.size(), stdout);
  } else {
    WriteFile(options.Output, text.data(), text.size());
  }
}

void EmitTable(const TOptions& options) {
  if (options.Output.empty()) Usage();
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
  const TOptions options = ParseArguments(argc, argv);
  // The picture loaders and the compressors for picture() values.
  zelk::InitializeDIBLibrary();
  int result = 0;
  try {
    if (options.Mode == "compile") {
      Compile(options);
    } else if (options.Mode == "dump") {
      Dump(options);
    } else if (options.Mode == "cpp") {
      EmitTable(options);
    } else {
      Usage();
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "zelk-resc: %s\n", error.what());
    result = 1;
  }
  zelk::FinalizeDIBLibrary();
  return result;
}
