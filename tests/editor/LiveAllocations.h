// Counts the heap blocks this test binary holds, so that a test can see
// whether a sequence of calls left any behind.
#pragma once

#include <cstdint>

namespace zelk::tests {

// Blocks allocated with operator new and not yet deleted.
int64_t LiveAllocations();

}  // namespace zelk::tests
