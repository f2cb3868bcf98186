// Editors driven from several threads, as hosts with a user-interface thread
// per plug-in window and bridges do, on the window system of this build
// (X11 on a virtual server, Win32 under Wine). Every thread makes its own
// host window (tests/support/HostWindow.h). Run under ThreadSanitizer
// (scripts/test-tsan) and AddressSanitizer (the build-asan stage) too: a
// race or a freed form reached from a window fails there even when this
// build survives it.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/BuiltPlugin.h"
#include "tests/support/HostWindow.h"
#include "tools/common/HostSession.h"

namespace zelk::tests {
namespace {

using host::THostSession;

constexpr int kCycles = 100;

intptr_t Dispatch(AEffect* effect, int32_t opcode, void* ptr = nullptr) {
  return effect->dispatcher(effect, opcode, 0, 0, ptr, 0.0f);
}

// Runs body on a thread of its own, as one of the host's user-interface
// threads; what it reports is checked on the test's thread.
class TUserInterfaceThread {
 public:
  template <typename TBody>
  explicit TUserInterfaceThread(TBody body) : thread_([this, body] { failure_ = body(); }) {}
  // Empty when the body succeeded.
  std::string Join() {
    thread_.join();
    return failure_;
  }

 private:
  std::string failure_;
  std::thread thread_;
};

class EditorThreads : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FindBuiltPlugin(plugin));
    // Keeps one copy of the library loaded while the threads come and go.
    ASSERT_TRUE(holder.Open(plugin, {})) << holder.ErrorText();
  }

  std::string plugin;
  THostSession holder;
};

// Open, idle, close, a hundred times, with a second instance doing the same
// on another thread at the same time.
std::string OpenIdleAndCloseCycles(const std::string& plugin) {
  THostWindow window;
  if (!window.IsOpen()) return window.ErrorText();
  THostSession session;
  if (!session.Open(plugin, {})) return session.ErrorText();
  for (int cycle = 0; cycle < kCycles; ++cycle) {
    if (Dispatch(session.Effect(), effEditOpen, window.Parent()) != 1) return "the editor did not open";
    for (int idle = 0; idle < 2; ++idle) {
      Dispatch(session.Effect(), effEditIdle);
      window.Service();
    }
    ERect* rect = nullptr;
    if (Dispatch(session.Effect(), effEditGetRect, &rect) != 1 || rect == nullptr) return "no editor rectangle";
    Dispatch(session.Effect(), effEditClose);
    window.Service();
  }
  if (window.ChildCount() != 0) return "an editor window was left behind";
  session.Close();
  return {};
}

TEST_F(EditorThreads, TwoInstancesOpenIdleAndCloseTheirEditorsOnTwoThreadsAtOnce) {
  TUserInterfaceThread first([&] { return OpenIdleAndCloseCycles(plugin); });
  TUserInterfaceThread second([&] { return OpenIdleAndCloseCycles(plugin); });
  EXPECT_EQ(first.Join(), "");
  EXPECT_EQ(second.Join(), "");
}

// A host bug, survived: one thread keeps idling the instance whose editor
// another thread opens and closes.
TEST_F(EditorThreads, IdlingFromASecondThreadWhileTheFirstOpensAndClosesIsSafe) {
  std::atomic<bool> done{false};
  TUserInterfaceThread opener([&]() -> std::string {
    THostWindow window;
    std::string failure = window.IsOpen() ? "" : window.ErrorText();
    for (int cycle = 0; cycle < kCycles && failure.empty(); ++cycle) {
      if (Dispatch(holder.Effect(), effEditOpen, window.Parent()) != 1) failure = "the editor did not open";
      window.Service();
      Dispatch(holder.Effect(), effEditClose);
      window.Service();
    }
    done.store(true);
    return failure;
  });
  while (!done.load()) Dispatch(holder.Effect(), effEditIdle);
  EXPECT_EQ(opener.Join(), "");
}

// Bridges close the editor from another thread than the one that opened it
// and owns its window: the window goes (destroyed by its own thread at its
// next message), a message meanwhile reaches no freed form, and the next
// open shows one editor.
TEST_F(EditorThreads, AnEditorClosedFromAnotherThreadLeavesNoWindowAndReopensOnce) {
  std::atomic<int> stage{0};
  TUserInterfaceThread opener([&]() -> std::string {
    THostWindow window;
    if (!window.IsOpen()) {
      stage.store(-1);
      return window.ErrorText();
    }
    std::string failure;
    for (int round = 0; round < 3 && failure.empty(); ++round) {
      if (Dispatch(holder.Effect(), effEditOpen, window.Parent()) != 1) failure = "the editor did not open";
      window.Service();
      stage.store(2 * round + 1);
      // The host's loop keeps running while the other thread closes.
      while (stage.load() == 2 * round + 1) window.Service();
      window.Service();
      if (window.ChildCount() != 0) failure = "the closed editor's window is still there";
    }
    if (failure.empty() && Dispatch(holder.Effect(), effEditOpen, window.Parent()) == 1) {
      window.Service();
      if (window.ChildCount() != 1) failure = "a reopened editor shows " + std::to_string(window.ChildCount());
      Dispatch(holder.Effect(), effEditClose);
      window.Service();
    }
    stage.store(-1);
    return failure;
  });
  for (int round = 0; round < 3; ++round) {
    while (stage.load() != 2 * round + 1 && stage.load() != -1) std::this_thread::yield();
    if (stage.load() == -1) break;
    Dispatch(holder.Effect(), effEditClose);
    stage.store(2 * round + 2);
  }
  EXPECT_EQ(opener.Join(), "");
}

}  // namespace
}  // namespace zelk::tests
