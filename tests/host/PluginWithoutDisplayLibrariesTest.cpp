// Hosts scan and run plug-ins where no editor can ever open: render
// servers and containers without X or picture libraries. There the plug-in
// must still load and process; only effEditOpen fails, and says why.
// The whole host suite runs a second time with those libraries hidden
// (host_tests_without_display_libraries, tests/CMakeLists.txt), which sets
// ZELK_HIDDEN_LIBRARIES; this test checks the editor's side of that run.
#include <cstdlib>
#include <string>

#include "tests/host/PluginUnderTest.h"

namespace zelk::tests {
namespace {

TEST_F(PluginTest, WithoutTheXLibrariesTheEditorAnswersZeroAndSaysWhy) {
  if (std::getenv("ZELK_HIDDEN_LIBRARIES") == nullptr) {
    GTEST_SKIP() << "runs in host_tests_without_display_libraries, where Xlib cannot load";
  }
  AEffect* effect = Create();
  ASSERT_NE(effect, nullptr);
  void* hostWindow = reinterpret_cast<void*>(intptr_t{0x400001});  // never reached: Xlib is missing
  for (int attempt = 0; attempt < 2; ++attempt) {
    ::testing::internal::CaptureStderr();
    const intptr_t opened = Dispatch(effect, effEditOpen, 0, 0, hostWindow);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(opened, 0);
    EXPECT_NE(said.find("libX11.so.6"), std::string::npos) << said;
  }
  EXPECT_EQ(Dispatch(effect, effEditIdle), 0);
  Dispatch(effect, effEditClose);
}

}  // namespace
}  // namespace zelk::tests
