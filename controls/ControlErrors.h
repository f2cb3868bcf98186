// Exceptions of the image-drawn controls' companions: attached-control lists
// and features.
#pragma once

#include "runtime/Exceptions.h"

namespace zelk {

ZELK_EXCEPTION_CLASS(EFeatureError, Exception);

}  // namespace zelk
