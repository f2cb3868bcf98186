// Included by a test program's support file: the image library starts once
// for the whole program, before its first test, as the plug-in starts it.
#pragma once

#include <gtest/gtest.h>

#include "dib/DIBLibrary.h"

namespace zelk::tests {

class TDIBLibraryEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { InitializeDIBLibrary(); }
};

// One registration per program, however many files include this header.
inline const auto* const kDIBLibraryEnvironment = ::testing::AddGlobalTestEnvironment(new TDIBLibraryEnvironment);

}  // namespace zelk::tests
