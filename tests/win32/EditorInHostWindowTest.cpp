// The built plug-in's editor in a host's window, as a Windows host opens it:
// load Zelk.dll, create the effect through its entry point, open the editor
// in a top-level window of ours, drag the knob, turn the wheel and double
// click with mouse messages through the host's message loop, close, unload; the window class goes with the
// library.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/VstInterface.h"
#include "platform/win32/HostWindows.h"
#include "platform/win32/Win32Windows.h"
#include "tests/support/BuiltPlugin.h"
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
  std::string path;
  ASSERT_TRUE(FindBuiltPlugin(path));
  host::TPluginLibrary library;
  ASSERT_TRUE(library.Open(path)) << library.ErrorText();
  VstPluginMainProc entry = library.FindEntryPoint();
  ASSERT_NE(entry, nullptr);
  const uintptr_t module = hostwin::ModuleAt(reinterpret_cast<const void*>(entry));
  const std::string className = platform::WindowClassNameFor(module);

  AEffect* effect = entry(&HostCallback);
  ASSERT_NE(effect, nullptr);
  const TNativeWindow hostWindow = hostwin::CreateHostWindow(300, 300);
  std::vector<std::string> errorsShown;
  intptr_t opened = 0;
  {
    // An error while opening shows a message box: closed here, and failed below.
    const hostwin::TMessageBoxWatch watch;
    opened = Dispatch(effect, effEditOpen, 0, reinterpret_cast<void*>(hostWindow));
    hostwin::RunMessageLoop();
    errorsShown = watch.Texts();
  }
  EXPECT_EQ(errorsShown, std::vector<std::string>{}) << "the plug-in showed an error while opening its editor";
  if (opened == 0) {
    Dispatch(effect, effClose);
    hostwin::DestroyHostWindow(hostWindow);
    FAIL() << "the plug-in opened no editor";
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

  // The composing container fills the form; the knob sits in its middle.
  const std::vector<TNativeWindow> inside = hostwin::ChildrenOf(editor);
  ASSERT_EQ(inside.size(), 1u);
  const TNativeWindow container = inside[0];
  EXPECT_EQ(hostwin::BoundsInParent(container), (TRect{0, 0, 245, 269}));

  // A drag on the knob's cap, each message through the host's loop.
  const auto post = [&](uint32_t message, TPoint point, uint32_t keys) {
    hostwin::PostHostMessage(container, message, keys, hostwin::PointParam(point));
    hostwin::RunMessageLoop();
  };
  const TPoint centre{122, 134};
  post(hostwin::hmMouseMove, {centre.X, centre.Y - 40}, 0);
  post(hostwin::hmLButtonDown, {centre.X, centre.Y - 40}, hostwin::hkLeftButton);
  EXPECT_EQ(hostwin::CaptureWindow(), container);
  Automated().clear();
  post(hostwin::hmMouseMove, {centre.X + 60, centre.Y}, hostwin::hkLeftButton);
  post(hostwin::hmMouseMove, {centre.X, centre.Y + 60}, hostwin::hkLeftButton);
  post(hostwin::hmMouseMove, {centre.X - 60, centre.Y}, hostwin::hkLeftButton);
  post(hostwin::hmLButtonUp, {centre.X - 60, centre.Y}, 0);
  EXPECT_EQ(Automated(), (std::vector<float>{90 / 360.0f, 180 / 360.0f, 270 / 360.0f}));
  EXPECT_EQ(effect->getParameter(effect, 0), 270 / 360.0f);
  EXPECT_EQ(hostwin::CaptureWindow(), 0u);
  EXPECT_FALSE(hostwin::NeedsPaint(container));

  // A wheel notch away from the user: a degree up; a double click resets.
  hostwin::PostHostMessage(container, hostwin::hmMouseWheel, hostwin::WheelParam(120, 0),
                           hostwin::ScreenPointParam(container, centre));
  hostwin::RunMessageLoop();
  EXPECT_EQ(effect->getParameter(effect, 0), 271 / 360.0f);
  for (int click = 0; click < 2; ++click) post(hostwin::hmLButtonDown, centre, 1), post(hostwin::hmLButtonUp, centre, 0);
  EXPECT_EQ(effect->getParameter(effect, 0), 0.0f);
  EXPECT_EQ(Automated().back(), 0.0f);

  // A value from the host turns the knob at the next idle call, which paints it.
  effect->setParameter(effect, 0, 0.25f);
  const std::vector<uint32_t> before = hostwin::PrintClient(container);
  Dispatch(effect, effEditIdle);
  EXPECT_FALSE(hostwin::NeedsPaint(container));
  EXPECT_NE(hostwin::PrintClient(container), before);

  Dispatch(effect, effEditClose);
  EXPECT_TRUE(hostwin::ChildrenOf(hostWindow).empty());
  EXPECT_FALSE(hostwin::WindowExists(editor));
  Dispatch(effect, effClose);
  hostwin::DestroyHostWindow(hostWindow);
  EXPECT_TRUE(hostwin::IsClassRegistered(module, className));
  library.Close();
  ASSERT_EQ(hostwin::ModuleAt(reinterpret_cast<const void*>(entry)), 0u) << "the library stayed loaded";
  EXPECT_FALSE(hostwin::IsClassRegistered(module, className));
}

}  // namespace
}  // namespace zelk::tests
