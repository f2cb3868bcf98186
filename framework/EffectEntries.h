// The five entries of the effect record: dispatcher, the two process
// entries, setParameter and getParameter. Each finds its module through the
// record's object field and calls one module operation. None lets an
// exception reach the host: each contains it and answers 0 (the replacing
// process entry then leaves its outputs silent, the accumulating one adds
// nothing).
#pragma once

#include "framework/VstInterface.h"

namespace zelk {

// Stores the five entries in the record.
void AssignEffectEntries(AEffect& effect);

}  // namespace zelk
