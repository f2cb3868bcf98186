#include "dib/DIBFormatRegistry.h"

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace zelk {

namespace {

using TOwnedFormat = std::unique_ptr<TAbstractDIBFormat, TFreeObject>;

std::vector<TOwnedFormat>& Formats() {
  static std::vector<TOwnedFormat> formats;
  return formats;
}

auto Position(TAbstractDIBFormat* format) {
  auto& formats = Formats();
  return std::find_if(formats.begin(), formats.end(),
                      [format](const TOwnedFormat& entry) { return entry.get() == format; });
}

// Formats compare extensions with their leading dot.
std::string WithDot(std::string_view extension) {
  if (!extension.empty() && extension.front() == '.') return std::string(extension);
  return "." + std::string(extension);
}

}  // namespace

void RegisterDIBFormat(TAbstractDIBFormat* format) {
  // Taking the same object twice would free it twice.
  if (format == nullptr || Position(format) != Formats().end()) return;
  Formats().emplace_back(format);
}

void UnregisterDIBFormat(TAbstractDIBFormat* format) {
  const auto found = Position(format);
  if (found != Formats().end()) Formats().erase(found);
}

void ClearDIBFormats() { Formats().clear(); }

int DIBFormatCount() { return static_cast<int>(Formats().size()); }

TAbstractDIBFormat* DIBFormatAt(int index) {
  if (index < 0) throw std::out_of_range("DIBFormatAt");
  return Formats().at(static_cast<size_t>(index)).get();
}

TAbstractDIBFormat* FindDIBFormat(std::string_view extension) {
  if (extension.empty() || extension == ".") return nullptr;
  const std::string dotted = WithDot(extension);
  for (const TOwnedFormat& format : Formats()) {
    if (format->CanLoadExtension(dotted) || format->CanSaveExtension(dotted)) return format.get();
  }
  return nullptr;
}

}  // namespace zelk
