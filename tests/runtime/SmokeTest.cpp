#include <gtest/gtest.h>
#include "runtime/ClassBuilder.h"
#include "runtime/Component.h"
TEST(Smoke, Builds) { zelk::TComponent c(nullptr); EXPECT_EQ(c.ClassName(), "TComponent"); }
