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

// Supplies the bytes of a binary value given by its argument; raises when it
// cannot.
using TTextFormBinarySource = std::function<std::vector<uint8_t>(std::string_view argument)>;

// What the binary values file('path') and picture('path') stand for. The
// compiler does not interpret either: the caller decides what the path is
// relative to and how a picture is stored (zelk-resc: a stored image block).
// A value whose source is missing is an error.
struct TTextFormSources {
  TTextFormBinarySource File;     // the file's bytes as they are
  TTextFormBinarySource Picture;  // the picture's pixels in their stored form
};

std::vector<uint8_t> CompileComponentText(std::string_view text, const TTextFormSources& sources = {});

}  // namespace zelk
