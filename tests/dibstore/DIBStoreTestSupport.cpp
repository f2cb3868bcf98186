// The image library starts once for the whole dibstore test program.
#include "tests/support/DIBLibraryEnvironment.h"
