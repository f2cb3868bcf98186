// The process-wide list of image file formats.
//
// Filled at library start on the loading thread (the RSB format) and only
// read afterwards; not synchronised. The list owns its formats and keeps
// them in the order they were registered.
#pragma once

#include <string_view>

#include "dib/DIBFormat.h"

namespace zelk {

// Appends format; the list owns it from now on. Null, or a format already in
// the list, is ignored.
void RegisterDIBFormat(TAbstractDIBFormat* format);
// Removes and frees one registered format; others are left alone.
void UnregisterDIBFormat(TAbstractDIBFormat* format);
// Frees every registered format and empties the list.
void ClearDIBFormats();

int DIBFormatCount();
// Raises std::out_of_range for an index outside the list.
TAbstractDIBFormat* DIBFormatAt(int index);

// The first registered format that loads or saves files with this extension,
// compared ignoring case, given with or without its leading dot ("rsb",
// ".RSB"); null when none does or the extension is empty.
TAbstractDIBFormat* FindDIBFormat(std::string_view extension);

}  // namespace zelk
