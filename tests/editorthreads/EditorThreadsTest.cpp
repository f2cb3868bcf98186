// Editors driven from several threads, as hosts with a user-interface thread
// per plug-in window and bridges do, on the window system of this build
// (X11 on a virtual server, Win32 under Wine). Every thread makes its own
// host window (tests/support/HostWindow.h). Run under ThreadSanitizer
// (scripts/test-tsan) and AddressSanitizer (the build-asan stage) too: a
// race or a freed form reached from a window fails there even when this
// build survives it.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <string>
#include <thread>

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

// Each body runs on a thread of its own, as one of the host's
// user-interface threads, and answers what went wrong.
template <typename TBody>
std::future<std::string> OnAThreadOfItsOwn(TBody body) {
  return std::async(std::launch::async, body);
}

TEST_F(EditorThreads, TwoInstancesOpenIdleAndCloseTheirEditorsOnTwoThreadsAtOnce) {
  auto first = OnAThreadOfItsOwn([&] { return OpenIdleAndCloseCycles(plugin); });
  auto second = OnAThreadOfItsOwn([&] { return OpenIdleAndCloseCycles(plugin); });
  EXPECT_EQ(first.get(), "");
  EXPECT_EQ(second.get(), "");
}

// A host bug, survived: one thread keeps idling the instance whose editor
// another thread opens and closes.
TEST_F(EditorThreads, IdlingFromASecondThreadWhileTheFirstOpensAndClosesIsSafe) {
  std::atomic<bool> done{false};
  auto opener = OnAThreadOfItsOwn([&] {
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
  EXPECT_EQ(opener.get(), "");
}

// Bridges close the editor from another thread than the one that opened it
// and owns its window: the window goes (destroyed by its own thread, whose
// loop runs on), messages meanwhile reach no freed form, and the next open
// shows one editor.
TEST_F(EditorThreads, AnEditorClosedFromAnotherThreadLeavesNoWindowAndReopensOnce) {
  std::atomic<bool> opened{false};
  std::atomic<bool> closed{false};
  auto opener = OnAThreadOfItsOwn([&]() -> std::string {
    THostWindow window;
    const bool open = window.IsOpen() && Dispatch(holder.Effect(), effEditOpen, window.Parent()) == 1;
    opened.store(true);
    if (!open) return "the editor did not open";
    while (!closed.load()) window.Service();
    window.Service();
    if (window.ChildCount() != 0) return "the closed editor's window is still there";
    Dispatch(holder.Effect(), effEditOpen, window.Parent());
    window.Service();
    const size_t editors = window.ChildCount();
    Dispatch(holder.Effect(), effEditClose);
    return editors == 1 ? "" : "a reopened editor shows " + std::to_string(editors) + " windows";
  });
  while (!opened.load()) std::this_thread::yield();
  Dispatch(holder.Effect(), effEditClose);
  closed.store(true);
  EXPECT_EQ(opener.get(), "");
}

}  // namespace
}  // namespace zelk::tests
