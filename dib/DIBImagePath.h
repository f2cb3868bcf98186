// Image file paths of the image list: split into folder and file name, and
// the file name moved into another folder. Both separators, '\' and '/',
// are recognised, so stored Windows paths and local paths work alike.
#pragma once

#include <string>
#include <string_view>

namespace zelk {

// Everything up to and including the last separator ("E:\Old\" of
// "E:\Old\Knob.bmp"); empty when the path has none.
std::string_view ImageFolderOf(std::string_view path);
// Everything after the last separator ("Knob.bmp").
std::string_view ImageFileNameOf(std::string_view path);

// The file name of path inside folder. An empty folder gives the bare file
// name (the current folder); otherwise a trailing separator is ensured: the
// one the folder already uses, else the one of path, else '\'.
std::string ImagePathInFolder(std::string_view folder, std::string_view path);

}  // namespace zelk
