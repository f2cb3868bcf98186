// The built plug-in's editor in a host's window, as a Windows host opens it:
// load Zelk.dll, create the effect through its entry point, open the editor
// in a top-level window of ours, drag the knob with mouse messages through
// the host's message loop, close, unload; the window class goes with the
// library.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "framework/VstInterface.h"
#include "platform/win32/HostWindows.h"
#include "platform/win32/Win32Windows.h"
#include "tools/common/PluginLibrary.h"

namespace zelk::tests {
namespace {

namespace hostwin = platform::host;
using platform::TNativeWindow;

std::vector<float>& Automated() {
  static std::vector<float> values;
  return values;
}

intptr_t ZELK_VST_CALL HostCallback(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float opt) {
  switch (opcode) {
    case audioMasterAutomate:
      Automated().push_back(opt);
      return 0;
    case audioMasterVersion:
      return 2400;
    default:
      return 0;
  }
}

intptr_t Dispatch(AEffect* effect, int32_t opcode, intptr_t value = 0, void* ptr = nullptr) {
  return effect->dispatcher(effect, opcode, 0, value, ptr, 0.0f);
}

TEST(EditorInHostWindow, OpensAsAChildTurnsWithTheMouseAndTheClassGoesWithTheLibrary) {
  const char* path = std::getenv("ZELK_PLUGIN");
  ASSERT_NE(path, nullptr) << "ZELK_PLUGIN must name the built plug-in";
  host::TPluginLibrary library;
  ASSERT_TRUE(library.Open(path)) << library.ErrorText();
  VstPluginMainProc entry = library.FindEntryPoint();
  ASSERT_NE(entry, nullptr);
  const uintptr_t module = hostwin::ModuleAt(reinterpret_cast<const void*>(entry));
  const std::string className = platform::WindowClassNameFor(module);

  AEffect* effect = entry(&HostCallback);
  ASSERT_NE(effect, nullptr);
  const TNativeWindow hostWindow = hostwin::CreateHostWindow(300, 300);
  if (Dispatch(effect, effEditOpen, 0, reinterpret_cast<void*>(hostWindow)) == 0) {
    Dispatch(effect, effClose);
    hostwin::DestroyHostWindow(hostWindow);
    GTEST_SKIP() << "the plug-in opens no editor yet";
  }
  hostwin::RunMessageLoop();
  const std::vector<TNativeWindow> children = hostwin::ChildrenOf(hostWindow);
  ASSERT_EQ(children.size(), 1u);
  const TNativeWindow editor = children[0];
  EXPECT_EQ(hostwin::BoundsInParent(editor), (TRect{0, 0, 245, 269}));
  const uint32_t style = hostwin::StyleOf(editor);
  EXPECT_EQ(style & (hostwin::hsChild | hostwin::hsVisible), hostwin::hsChild | hostwin::hsVisible);
  EXPECT_EQ(style & (hostwin::hsCaption | hostwin::hsBorder | hostwin::hsThickFrame | hostwin::hsPopup), 0u);
  EXPECT_EQ(hostwin::ClassNameOf(editor), className);
  EXPECT_EQ(hostwin::ClassModuleOf(editor), module);
  EXPECT_FALSE(hostwin::NeedsPaint(editor));

  // A drag across the knob, each message through the host's loop.
  const auto post = [&](uint32_t message, TPoint point, uint32_t keys) {
    hostwin::PostHostMessage(editor, message, keys, hostwin::PointParam(point));
    hostwin::RunMessageLoop();
  };
  Automated().clear();
  post(hostwin::hmMouseMove, {122, 134}, 0);
  post(hostwin::hmLButtonDown, {122, 134}, hostwin::hkLeftButton);
  for (int step = 1; step <= 8; ++step) post(hostwin::hmMouseMove, {122 + step * 6, 134 - step * 6}, hostwin::hkLeftButton);
  post(hostwin::hmLButtonUp, {170, 86}, 0);
  EXPECT_FALSE(Automated().empty()) << "no audioMasterAutomate from the drag";

  Dispatch(effect, effEditClose);
  EXPECT_TRUE(hostwin::ChildrenOf(hostWindow).empty());
  Dispatch(effect, effClose);
  hostwin::DestroyHostWindow(hostWindow);
  EXPECT_TRUE(hostwin::IsClassRegistered(module, className));
  library.Close();
  EXPECT_FALSE(hostwin::IsClassRegistered(module, className));
}

}  // namespace
}  // namespace zelk::tests
