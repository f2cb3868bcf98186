// The built plug-in's editor on a real X server, driven as a host drives it:
// Zelk.so loaded through its entry point, the editor opened in a window the
// test creates, idle calls, real pointer input (XTest). Its pixels are
// compared with the product's editor composed in this process on the
// headless backend at the same angle.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/x11/X11HostDisplay.h"
#include "tests/support/BuiltPlugin.h"
#include "tests/support/HeadlessEditor.h"
#include "tests/support/x11/FixtureDisplay.h"
#include "tools/common/HostSession.h"

namespace zelk::tests {
namespace {

using platform::TNativeWindow;

constexpr int32_t kWidth = kEditorWidth;
constexpr int32_t kHeight = kEditorHeight;
constexpr TRect kEditorRect{0, 0, kWidth, kHeight};
constexpr TPoint kCentre{kWidth / 2, kHeight / 2};

class X11PluginEditor : public ::testing::Test {
 protected:
  void SetUp() override { Connect(FixtureDisplay("")); }

  // The host and the plug-in (at its next connection) use display.
  void Connect(const std::string& display) {
    if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
    host = std::make_unique<platform::TX11HostDisplay>();
    ASSERT_TRUE(host->IsOpen()) << "no X server: run these tests through ctest, which starts Xvfb, or set DISPLAY";
    std::string plugin;
    ASSERT_TRUE(FindBuiltPlugin(plugin));
    ASSERT_TRUE(session.Open(plugin, {})) << session.ErrorText();
    parent = host->CreateTopLevel(kWidth, kHeight, "host");
  }

  // What the plug-in writes to stderr while it opens, idles and closes.
  std::string OpenIdleCloseOutput(intptr_t& opened) {
    ::testing::internal::CaptureStderr();
    opened = OpenEditor();
    Idle();
    session.Dispatch(effEditClose);
    return ::testing::internal::GetCapturedStderr();
  }

  void TearDown() override {
    Disconnect();
    session.Close();
  }

  void Disconnect() {
    if (host && host->IsOpen() && parent != 0) host->DestroyWindow(parent);
    parent = 0;
    host.reset();
  }

  // The plain server's display, with screen; the test skips without it.
  bool ConnectToPlainServer(int screen) {
    const std::string display = FixtureDisplay("-plain");
    if (display.empty()) return false;
    Disconnect();
    session.Close();
    Connect(display + "." + std::to_string(screen));
    return true;
  }

  intptr_t OpenEditor() { return session.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(parent)); }

  // A host's idle call, and the server's side of it.
  void Idle() {
    session.Dispatch(effEditIdle);
    host->Sync();
  }

  TNativeWindow Editor() {
    const std::vector<TNativeWindow> children = host->Children(parent);
    return children.size() == 1 ? children[0] : 0;
  }

  std::unique_ptr<platform::TX11HostDisplay> host;
  host::THostSession session;
  TNativeWindow parent = 0;
};

TEST_F(X11PluginEditor, IsAMappedBorderlessChildOfItsSizeAtTheOriginShowingTheHeadlessComposition) {
  session.SetParameter(0, 0.25f);
  ASSERT_EQ(OpenEditor(), 1);
  Idle();
  const TNativeWindow editor = Editor();
  ASSERT_NE(editor, 0u);
  const platform::TX11WindowInfo info = host->Describe(editor);
  EXPECT_TRUE(info.Viewable);
  EXPECT_EQ(info.Bounds, kEditorRect);
  EXPECT_EQ(info.BorderWidth, 0);
  EXPECT_EQ(host->ReadPixels(parent, kEditorRect), HeadlessEditorPixels(90.0f));
  session.Dispatch(effEditClose);
}

// A host whose first idle call comes late shows the editor, not a blank
// window, as soon as effEditOpen returns.
TEST_F(X11PluginEditor, IsPaintedBeforeOpenReturns) {
  ASSERT_EQ(OpenEditor(), 1);
  host->Sync();
  EXPECT_EQ(host->ReadPixels(parent, kEditorRect), HeadlessEditorPixels(0.0f));
  session.Dispatch(effEditClose);
}

// Without a host window an editor would be a stray top-level window.
TEST_F(X11PluginEditor, OpeningWithoutAParentWindowAnswersZero) {
  EXPECT_EQ(session.Dispatch(effEditOpen, 0, 0, nullptr), 0);
  ERect* rect = nullptr;
  EXPECT_EQ(session.Dispatch(effEditGetRect, 0, 0, &rect), 0);
  EXPECT_EQ(OpenEditor(), 1);
  session.Dispatch(effEditClose);
}

// Remote displays have no MIT-SHM: the editor works through plain images,
// and nothing complains about the missing extension.
TEST_F(X11PluginEditor, WithoutSharedMemoryTheEditorShowsAndNothingIsPrinted) {
  if (!ConnectToPlainServer(0)) GTEST_SKIP() << "no plain server: run through ctest";
  intptr_t opened = 0;
  EXPECT_EQ(OpenIdleCloseOutput(opened), "");
  EXPECT_EQ(opened, 1);
  ASSERT_EQ(OpenEditor(), 1);
  Idle();
  EXPECT_EQ(host->ReadPixels(parent, kEditorRect), HeadlessEditorPixels(0.0f));
  session.Dispatch(effEditClose);
}

// An 8-bit colour-mapped screen would get a black window: the editor does
// not open there, and says why.
TEST_F(X11PluginEditor, AColourMappedScreenIsRefusedWithAReason) {
  if (!ConnectToPlainServer(1)) GTEST_SKIP() << "no plain server: run through ctest";
  ASSERT_NE(parent, 0u);
  intptr_t opened = 1;
  EXPECT_NE(OpenIdleCloseOutput(opened).find("unsupported visual"), std::string::npos);
  EXPECT_EQ(opened, 0);
  EXPECT_EQ(Editor(), 0u);
}

// A server set up for a screen of twice the density (Xft.dpi 192, as
// desktops do through xrdb) gets the editor of twice the size when the host
// offers no scale of its own; the host's scale goes first.
TEST_F(X11PluginEditor, OpensAtTwiceTheSizeWhereTheServerSaysXftDpi192) {
  constexpr TRect kDoubleRect{0, 0, 2 * kWidth, 2 * kHeight};
  host->SetServerResources("Xft.antialias:\t1\nXft.dpi:\t192\n");
  host->ResizeWindow(parent, kDoubleRect.Width(), kDoubleRect.Height());
  ASSERT_EQ(OpenEditor(), 1);
  Idle();
  ERect* rect = nullptr;
  session.Dispatch(effEditGetRect, 0, 0, &rect);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ((TRect{rect->left, rect->top, rect->right, rect->bottom}), kDoubleRect);
  EXPECT_EQ(host->Describe(Editor()).Bounds, kDoubleRect);
  session.Dispatch(effEditClose);
  session.Dispatch(effVendorSpecific, kContentScaleIndex, kContentScaleValue, nullptr, 1.0f);
  ASSERT_EQ(OpenEditor(), 1);
  Idle();
  EXPECT_EQ(host->Describe(Editor()).Bounds, kEditorRect);
  session.Dispatch(effEditClose);
  host->SetServerResources("");
}

TEST_F(X11PluginEditor, ADragWithRealPointerEventsAutomatesAndTheHostTurnsTheKnobAtTheNextIdleCall) {
  if (!host->HasXTest()) GTEST_SKIP() << "the server has no XTest";
  ASSERT_EQ(OpenEditor(), 1);
  Idle();
  const std::vector<uint32_t> atZero = host->ReadPixels(parent, kEditorRect);
  host->MovePointer(parent, {kCentre.X, kCentre.Y - 40});  // on the cap
  Idle();
  host->PressButton(1);
  Idle();
  host->MovePointer(parent, {kCentre.X + 60, kCentre.Y});
  Idle();
  host->ReleaseButton(1);
  Idle();
  ASSERT_FALSE(session.AutomationReports().empty());
  EXPECT_EQ(session.AutomationReports().back().Index, 0);
  EXPECT_EQ(session.AutomationReports().back().Value, 0.25f);
  EXPECT_EQ(session.GetParameter(0), 0.25f);
  EXPECT_EQ(host->ReadPixels(parent, kEditorRect), HeadlessEditorPixels(90.0f));

  // The host sets the angle; the knob turns at the next idle call.
  session.SetParameter(0, 0.5f);
  Idle();
  EXPECT_EQ(host->ReadPixels(parent, kEditorRect), HeadlessEditorPixels(180.0f));
  EXPECT_NE(host->ReadPixels(parent, kEditorRect), atZero);
  session.Dispatch(effEditClose);
}

// X reports the wheel as buttons 4 (away from the user) and 5.
TEST_F(X11PluginEditor, TheWheelTurnsTheKnobADegreeANotchAndADoubleClickResetsIt) {
  if (!host->HasXTest()) GTEST_SKIP() << "the server has no XTest";
  ASSERT_EQ(OpenEditor(), 1);
  const auto click = [this](TPoint at, std::vector<unsigned> buttons) {
    host->MovePointer(parent, at);
    for (const unsigned button : buttons) host->PressButton(button), host->ReleaseButton(button);
    Idle();
  };
  click(kCentre, {4, 4, 4, 5});
  EXPECT_EQ(session.GetParameter(0), 2.0f / 360.0f);
  click({kCentre.X, kCentre.Y - 40}, {1, 1});  // a double click on the cap
  EXPECT_EQ(session.GetParameter(0), 0.0f);
  session.Dispatch(effEditClose);
}

TEST_F(X11PluginEditor, HundredOpenCloseCyclesLeaveTheServersResourcesWhereTheyWere) {
  if (!host->HasResourceCounts()) GTEST_SKIP() << "the server has no X-Resource extension";
  const platform::TServerResources before = host->CountResources();
  for (int cycle = 0; cycle < 100; ++cycle) {
    ASSERT_EQ(OpenEditor(), 1);
    Idle();
    session.Dispatch(effEditClose);
  }
  EXPECT_EQ(host->CountResources(), before);
  EXPECT_EQ(platform::SharedMemorySegmentsOfThisProcess(), 0);
}

TEST_F(X11PluginEditor, SurvivesItsHostWindowDestroyedBeforeCloseAndACloseWithoutOpen) {
  session.Dispatch(effEditClose);
  ASSERT_EQ(OpenEditor(), 1);
  Idle();
  host->DestroyWindow(parent);
  parent = 0;
  Idle();
  session.Dispatch(effEditClose);
  // A new window, a new editor.
  parent = host->CreateTopLevel(kWidth, kHeight, "second host");
  ASSERT_EQ(OpenEditor(), 1);
  Idle();
  EXPECT_NE(Editor(), 0u);
  session.Dispatch(effEditClose);
}

}  // namespace
}  // namespace zelk::tests
