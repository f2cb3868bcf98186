// Writes the C++ source of the built-in resource table: the bytes of each
// compiled resource and the table in which FindBuiltInResource looks them up.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zelk::resc {

struct TCompiledResource {
  std::string Name;    // the root class name in upper case
  std::string Source;  // the text file it came from, for the comment
  std::vector<uint8_t> Bytes;
};

std::string BuiltInTableSource(const std::vector<TCompiledResource>& resources);

// The class name of a stream's root object.
std::string RootClassName(const std::vector<uint8_t>& stream);

}  // namespace zelk::resc
