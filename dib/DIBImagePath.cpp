#include "dib/DIBImagePath.h"

namespace zelk {

namespace {

constexpr std::string_view kSeparators = "\\/";

bool EndsWithSeparator(std::string_view text) {
  return !text.empty() && kSeparators.find(text.back()) != std::string_view::npos;
}

// The separator text uses last, or 0 when it has none.
char LastSeparatorOf(std::string_view text) {
  const size_t at = text.find_last_of(kSeparators);
  return at == std::string_view::npos ? '\0' : text[at];
}

}  // namespace

std::string_view ImageFolderOf(std::string_view path) {
  const size_t at = path.find_last_of(kSeparators);
  return at == std::string_view::npos ? std::string_view{} : path.substr(0, at + 1);
}

std::string_view ImageFileNameOf(std::string_view path) { return path.substr(ImageFolderOf(path).size()); }

std::string ImagePathInFolder(std::string_view folder, std::string_view path) {
  const std::string_view fileName = ImageFileNameOf(path);
  if (folder.empty()) return std::string(fileName);
  std::string result(folder);
  if (!EndsWithSeparator(folder)) {
    char separator = LastSeparatorOf(folder);
    if (separator == '\0') separator = LastSeparatorOf(path);
    result += separator == '\0' ? '\\' : separator;
  }
  return result.append(fileName);
}

}  // namespace zelk
