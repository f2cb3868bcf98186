#include "dib/DIBFormatRegistry.h"

#include <string>

#include "runtime/Registry.h"

namespace zelk {

namespace {

TRegistry<TAbstractDIBFormat, TFreeObject>& Formats() {
  static TRegistry<TAbstractDIBFormat, TFreeObject> formats;
  return formats;
}

// Formats compare extensions with their leading dot.
std::string WithDot(std::string_view extension) {
  if (!extension.empty() && extension.front() == '.') return std::string(extension);
  return "." + std::string(extension);
}

}  // namespace

void RegisterDIBFormat(TAbstractDIBFormat* format) { Formats().Add(format); }

void UnregisterDIBFormat(TAbstractDIBFormat* format) { Formats().Remove(format); }

void ClearDIBFormats() { Formats().Clear(); }

int DIBFormatCount() { return Formats().Count(); }

TAbstractDIBFormat* DIBFormatAt(int index) { return Formats().At(index); }

TAbstractDIBFormat* FindDIBFormat(std::string_view extension) {
  if (extension.empty() || extension == ".") return nullptr;
  const std::string dotted = WithDot(extension);
  return Formats().FindFirst([&dotted](TAbstractDIBFormat& format) {
    return format.CanLoadExtension(dotted) || format.CanSaveExtension(dotted);
  });
}

}  // namespace zelk
