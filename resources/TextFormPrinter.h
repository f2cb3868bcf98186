// Prints a binary component stream in the text form (syntax in
// TextFormSyntax.h). Compiling the printed text gives the same stream back
// for every stream the compiler writes; any stream prints to a text that
// prints the same again once compiled. Malformed streams raise the
// reader's EReadError.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace zelk {

std::string PrintComponentStream(std::span<const uint8_t> bytes);

}  // namespace zelk
