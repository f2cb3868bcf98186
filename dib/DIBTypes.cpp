#include "dib/DIBTypes.h"

#include "platform/SystemColors.h"

namespace zelk {

TColor ResolveColor(TColor color) { return platform::ResolveColor(color); }

}  // namespace zelk
