// Compiles the text form of a component stream (syntax in TextFormSyntax.h)
// into the binary stream, through TBinaryValueWriter.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/Exceptions.h"

namespace zelk {

// A syntax error; the message starts with "line N: ".
ZELK_EXCEPTION_CLASS(ETextFormError, Exception);

// Supplies the bytes of a file named by file('path'); raises when it cannot.
using TTextFormFileLoader = std::function<std::vector<uint8_t>(std::string_view path)>;

// Without a loader, file('path') is an error.
std::vector<uint8_t> CompileComponentText(std::string_view text, const TTextFormFileLoader& loadFile = {});

}  // namespace zelk
