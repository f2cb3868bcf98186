// The X11 window system on a real server (Xvfb, started by the CTest
// fixture x11_server): a form like an editor's, embedded in a window the
// test creates as a host would, painted, clicked and dragged with real
// pointer events, and opened and closed without leaving anything behind.
// The tests keep the headless backend and switch its windows to X11 inside
// a TBackendScope. The window-system conformance suite runs here too,
// through the driver below.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "platform/Backend.h"
#include "platform/Region.h"
#include "platform/headless/HeadlessWindows.h"
#include "platform/x11/X11HostDisplay.h"
#include "platform/x11/X11Windows.h"
#include "runtime/ClassBuilder.h"
#include "tests/support/WindowSystemDriver.h"
#include "toolkit/GraphicControl.h"
#include "toolkit/HintWindow.h"
#include "toolkit/Toolkit.h"

// Xlib keeps caches of its own (locale, keyboard map) until the process
// ends; under the leak checker of the sanitizer build they are not ours.
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {
  return "leak:libX11.so\nleak:libxcb.so\nleak:libXext.so\n";
}

namespace zelk::tests {

// The scale of a server's resource string: only a well-formed Xft.dpi line
// within reason counts.
TEST(XftDpiScale, ReadsTheDpiLineOfTheResourceString) {
  const struct {
    const char* Resources;
    double Scale;
  } cases[] = {{"Xft.dpi:\t192\n", 2.0},
               {"Xft.antialias:\t1\nXft.dpi: 144\nXft.hinting:\t1\n", 1.5},
               {"Xft.dpi:96", 1.0},
               {nullptr, 1.0},
               {"", 1.0},
               {"Xft.hinting:\t1\n", 1.0},
               {"XXft.dpi:\t192\n", 1.0},
               {"Xft.dpi:\tlarge\n", 1.0},
               {"Xft.dpi:\t20\n", 1.0},
               {"Xft.dpi:\t100000\n", 1.0}};
  for (const auto& scaleCase : cases) {
    SCOPED_TRACE(scaleCase.Resources == nullptr ? "null" : scaleCase.Resources);
    EXPECT_EQ(platform::XftDpiScale(scaleCase.Resources), scaleCase.Scale);
  }
}

// A panel-sized control painting a pattern in which every pixel differs
// from its neighbours, and logging the mouse messages it hears.
class TPatternControl : public TGraphicControl {
  ZELK_CLASS(TPatternControl, TGraphicControl)

  explicit TPatternControl(TComponent* owner) : TGraphicControl(owner) {}
  std::vector<std::string> Log;
  uint8_t Seed = 0;

  void WndProc(TMessage& message) override {
    const TPoint point = LParamToPoint(message.LParam);
    const auto at = std::to_string(point.X) + "," + std::to_string(point.Y);
    if (message.Msg == wmLButtonDown) Log.push_back("down " + at);
    if (message.Msg == wmLButtonUp) Log.push_back("up " + at);
    if (message.Msg == wmMouseMove) Log.push_back("move " + at);
    TGraphicControl::WndProc(message);
  }

 protected:
  void Paint() override {
    std::vector<uint32_t> row(static_cast<size_t>(Width()));
    for (int32_t y = 0; y < Height(); ++y) {
      for (int32_t x = 0; x < Width(); ++x) {
        row[x] = 0xFF000000u | static_cast<uint32_t>((x * 7 + Seed) & 0xFF) << 16 |
                 static_cast<uint32_t>((y * 5) & 0xFF) << 8 | static_cast<uint32_t>((x ^ y) & 0xFF);
      }
      Canvas()->DrawPixels(0, y, Width(), 1, row.data());
    }
  }
};

const TClassInfo& TPatternControl::StaticClass() {
  static const TClassInfo info = TClassBuilder<TPatternControl>("TPatternControl").Build();
  return info;
}

namespace {

using platform::TNativeWindow;
using platform::TWindowEvent;
using platform::TWindowEventKind;

constexpr int32_t kEditorWidth = 245;
constexpr int32_t kEditorHeight = 269;
constexpr TRect kEditorRect{0, 0, kEditorWidth, kEditorHeight};

using TFormPtr = std::unique_ptr<TCustomForm, TFreeObject>;

// The server the CTest fixture started, when the environment names none.
void UseFixtureServer() {
  const char* file = std::getenv("ZELK_X11_DISPLAY_FILE");
  if (file == nullptr) return;
  std::ifstream in(file);
  std::string display;
  if (in >> display) setenv("DISPLAY", display.c_str(), 1);
}

// Real input through XTest, real time, and the screen's pixels read back
// on a connection of the host's own.
class TX11Driver final : public TWindowSystemDriver {
 public:
  TX11Driver() {
    UseFixtureServer();
    host = std::make_unique<platform::TX11HostDisplay>();
  }
  platform::TWindowSystem& Windows() override { return windows; }
  TNativeWindow CreateHostWindow(int32_t width, int32_t height) override {
    return host->IsOpen() && host->HasXTest() ? host->CreateTopLevel(width, height, "host") : 0;
  }
  void DestroyHostWindow(TNativeWindow window) override { host->DestroyWindow(window); }
  std::string Problem() const override {
    return "no X server with XTest: run these tests through ctest, which starts Xvfb, or set DISPLAY";
  }
  void MovePointer(TNativeWindow window, TPoint point) override { host->MovePointer(window, point); }
  void PressButton(TNativeWindow window, TPoint point) override {
    host->MovePointer(window, point);
    host->PressButton(1);
  }
  void ReleaseButton(TNativeWindow window, TPoint point) override {
    host->MovePointer(window, point);
    host->ReleaseButton(1);
  }
  // Buttons 4 and 5 are the wheel's notches away from the user and towards.
  void TurnWheel(TNativeWindow window, TPoint point, int notches) override {
    host->MovePointer(window, point);
    for (int notch = 0; notch < std::abs(notches); ++notch) {
      host->PressButton(notches > 0 ? 4 : 5);
      host->ReleaseButton(notches > 0 ? 4 : 5);
    }
  }
  void TypeLetter(char letter) override {
    const auto symbol = static_cast<unsigned long>(letter - 'A' + 'a');  // the key symbols of letters
    host->PressKey(symbol);
    host->ReleaseKey(symbol);
  }
  uint32_t PixelAt(TNativeWindow window, int32_t x, int32_t y) override {
    const std::vector<uint32_t> pixels = host->ReadPixels(window, {x, y, x + 1, y + 1});
    return pixels.empty() ? 0xFFFFFFFFu : pixels.front();
  }
  void Idle(uint32_t milliseconds) override {
    if (milliseconds != 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    host->Sync();
    windows.Pump();
  }

 private:
  platform::TX11WindowSystem& windows = platform::X11Windows();
  std::unique_ptr<platform::TX11HostDisplay> host;
};

// Records what a window hears, for tests that talk to the window system
// without the toolkit.
class TRecordingClient : public platform::TWindowClient {
 public:
  void HandleWindowEvent(TNativeWindow window, const TWindowEvent& event) override { Events.push_back(event); }
  int Count(TWindowEventKind kind) const {
    return static_cast<int>(std::count_if(Events.begin(), Events.end(), [kind](auto& e) { return e.Kind == kind; }));
  }
  std::vector<TWindowEvent> Events;
};

class X11Editor : public ::testing::Test {
 protected:
  void SetUp() override {
    UseFixtureServer();
    host = std::make_unique<platform::TX11HostDisplay>();
    ASSERT_TRUE(host->IsOpen()) << "no X server: run these tests through ctest, which starts Xvfb, or set DISPLAY";
    InitializeToolkit();
    scope.emplace();
    (*scope)->Windows = &windows;
    parent = host->CreateTopLevel(300, 300, "host");
  }

  void TearDown() override {
    forms.clear();
    if (host && host->IsOpen()) host->DestroyWindow(parent);
    scope.reset();
  }

  // An editor-like form: a borderless child of parentWindow at (0, 0), the
  // pattern filling it, shown and painted.
  TPatternControl* OpenEditor(TNativeWindow parentWindow, uint8_t seed = 0) {
    TFormPtr form(New<TCustomForm>(nullptr, TCustomForm::TCreateNew{}));
    form->SetBounds(0, 0, kEditorWidth, kEditorHeight);
    auto* pattern = New<TPatternControl>(form.get());
    pattern->Seed = seed;
    pattern->SetBounds(0, 0, kEditorWidth, kEditorHeight);
    pattern->SetParent(form.get());
    form->SetParentWindow(parentWindow);
    form->SetBorderStyle(TFormBorderStyle::bsNone);
    form->Show();
    forms.push_back(std::move(form));
    Idle();
    return pattern;
  }

  TNativeWindow EditorWindow(size_t index = 0) { return forms.at(index)->Handle(); }

  // What a host's idle call does, and the server's side of it.
  void Idle() {
    windows.Pump();
    host->Sync();
  }

  // The headless backend's composition of the same form.
  std::vector<uint32_t> HeadlessPixels(uint8_t seed) {
    platform::TBackendScope headless;
    headless->Windows = &platform::HeadlessWindows();
    auto& memory = platform::HeadlessWindows();
    const TNativeWindow foreign = memory.CreateForeignWindow({0, 0, 300, 300});
    OpenEditor(foreign, seed);
    const TNativeWindow editor = EditorWindow(forms.size() - 1);
    memory.Pump();
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < kEditorHeight; ++y) {
      for (int32_t x = 0; x < kEditorWidth; ++x) pixels.push_back(memory.PixelAt(editor, x, y) & 0xFFFFFF);
    }
    forms.pop_back();
    memory.DestroyWindow(foreign);
    return pixels;
  }

  platform::TX11WindowSystem& windows = platform::X11Windows();
  std::unique_ptr<platform::TX11HostDisplay> host;
  std::optional<platform::TBackendScope> scope;
  TNativeWindow parent = 0;
  std::vector<TFormPtr> forms;
};

}  // namespace

TBackendDriver BackendDriver() {
  return {"X11", []() -> std::unique_ptr<TWindowSystemDriver> { return std::make_unique<TX11Driver>(); }};
}

namespace {

TEST_F(X11Editor, IsAMappedBorderlessChildOfItsSizeAtTheOriginOfTheHostWindow) {
  OpenEditor(parent);
  const TNativeWindow editor = EditorWindow();
  EXPECT_EQ(host->Children(parent), std::vector<TNativeWindow>{editor});
  const platform::TX11WindowInfo info = host->Describe(editor);
  EXPECT_TRUE(info.Viewable);
  EXPECT_EQ(info.Bounds, kEditorRect);
  EXPECT_EQ(info.BorderWidth, 0);
  EXPECT_EQ(info.Parent, parent);
}

// Both ways to the screen: shared memory and plain requests.
TEST_F(X11Editor, PixelsReadBackFromTheServerEqualTheHeadlessComposition) {
  for (const bool shared : {true, false}) {
    SCOPED_TRACE(shared ? "shared memory" : "plain requests");
    const auto seed = static_cast<uint8_t>(shared ? 3 : 11);
    const std::vector<uint32_t> expected = HeadlessPixels(seed);
    windows.SetSharedMemoryAllowed(shared);
    OpenEditor(parent, seed);
    EXPECT_EQ(host->ReadPixels(EditorWindow(), kEditorRect), expected);
    EXPECT_EQ(windows.UsesSharedMemory(), shared);
    forms.clear();
  }
  windows.SetSharedMemoryAllowed(true);
}

TEST_F(X11Editor, RealPointerEventsReachTheFormAndADragKeepsThemOutsideIt) {
  if (!host->HasXTest()) GTEST_SKIP() << "the server has no XTest";
  // The pointer starts in the host's window beside the editor.
  host->MovePointer(parent, {290, 295});
  TPatternControl* pattern = OpenEditor(parent);
  host->MovePointer(parent, {100, 120});
  Idle();
  host->PressButton(1);
  Idle();
  host->MovePointer(parent, {120, 130});
  Idle();
  // Outside the editor, inside the host's window: the implicit grab keeps
  // the events coming.
  host->MovePointer(parent, {280, 290});
  Idle();
  host->ReleaseButton(1);
  Idle();
  const std::vector<std::string> expected{"move 100,120", "down 100,120", "move 120,130", "move 280,290",
                                          "up 280,290"};
  std::vector<std::string> log;
  for (const std::string& line : pattern->Log) {
    if (log.empty() || log.back() != line) log.push_back(line);
  }
  EXPECT_EQ(log, expected);
  EXPECT_EQ(windows.ErrorCount(), 0u) << windows.LastError();
}

// The hint window is a window of the server over the editor, painted with
// its pale background, once the pointer rested the hint pause.
TEST_F(X11Editor, AHintShowsInAServerWindowOverTheEditorAfterThePointerRests) {
  if (!host->HasXTest()) GTEST_SKIP() << "the server has no XTest";
  host->MovePointer(parent, {290, 295});
  TPatternControl* pattern = OpenEditor(parent);
  pattern->SetHint("Turn me");
  pattern->SetShowHint(true);
  host->MovePointer(parent, {30, 30});
  THintWindow& hint = ApplicationHintWindow();
  for (int round = 0; round < 200 && !hint.Active(); ++round) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    Idle();
  }
  ASSERT_TRUE(hint.Active());
  Idle();
  const TRect bounds = hint.BoundsRect();
  EXPECT_EQ(bounds.TopLeft(), (TPoint{30, 50}));
  EXPECT_EQ(host->ReadPixels(hint.Handle(), {1, 1, 2, 2}), (std::vector<uint32_t>{0xFFFFE1}));
  FreeApplicationHintWindow();
  EXPECT_EQ(windows.ErrorCount(), 0u) << windows.LastError();
}

// A click leaves the keys (Return, Escape of a dialog) to the host's window,
// even with the pointer over ours. Given the focus, the window hears them as
// our virtual keys with the character typed; leaving the window is told.
TEST_F(X11Editor, AClickLeavesTheKeysToTheHostUntilTheWindowTakesTheFocus) {
  if (!host->HasXTest()) GTEST_SKIP() << "the server has no XTest";
  host->MovePointer(parent, {290, 295});
  host->Focus(parent);
  TRecordingClient client;
  const TNativeWindow window = windows.CreateChild(parent, {0, 0, 100, 100}, client);
  windows.ShowWindow(window, true);
  Idle();
  host->MovePointer(parent, {50, 50});
  host->PressButton(1);
  host->ReleaseButton(1);
  Idle();
  for (const unsigned long key : {0xFF0Dul, 0xFF1Bul}) host->PressKey(key), host->ReleaseKey(key);  // Return, Escape
  Idle();
  host->ServiceEvents();
  EXPECT_EQ(host->KeysPressed, (std::vector<unsigned long>{0xFF0D, 0xFF1B}));
  windows.SetFocus(window);
  Idle();
  host->PressKey('a');
  host->ReleaseKey('a');
  host->MovePointer(parent, {200, 200});
  Idle();
  std::vector<std::string> seen;
  for (const TWindowEvent& event : client.Events) {
    switch (event.Kind) {
      case TWindowEventKind::ekFocusIn:
        seen.push_back("focus");
        break;
      case TWindowEventKind::ekMouseDown:
        seen.push_back("down " + std::to_string(event.Point.X) + "," + std::to_string(event.Point.Y));
        break;
      case TWindowEventKind::ekKeyDown:
        seen.push_back("keydown " + std::to_string(event.Code));
        break;
      case TWindowEventKind::ekChar:
        seen.push_back(std::string("char ") + static_cast<char>(event.Code));
        break;
      case TWindowEventKind::ekKeyUp:
        seen.push_back("keyup " + std::to_string(event.Code));
        break;
      case TWindowEventKind::ekMouseLeave:
        seen.push_back("leave");
        break;
      default:
        break;
    }
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"down 50,50", "focus", "keydown 65", "char a", "keyup 65", "leave"}));
  windows.DestroyWindow(window);
}

TEST_F(X11Editor, OnlyInvalidatedRectanglesArePaintedAndNothingWhenNothingChanged) {
  OpenEditor(parent);
  Idle();
  const uint64_t pixels = windows.PresentedPixels();
  const uint32_t paints = windows.PaintsDelivered();
  Idle();
  EXPECT_EQ(windows.PresentedPixels(), pixels);
  EXPECT_EQ(windows.PaintsDelivered(), paints);
  forms[0]->InvalidateRect({10, 20, 30, 25});
  Idle();
  EXPECT_EQ(windows.PresentedPixels(), pixels + 100);
  EXPECT_EQ(windows.PaintsDelivered(), paints + 1);
}

TEST_F(X11Editor, TimersFireFromPumpLateByAtMostOneIdlePeriodAndNeverLost) {
  TRecordingClient client;
  const TNativeWindow window = windows.CreateChild(parent, {0, 0, 10, 10}, client);
  ASSERT_NE(window, 0u);
  ASSERT_TRUE(windows.SetTimer(window, 7, 10));
  windows.Pump();
  EXPECT_EQ(client.Count(TWindowEventKind::ekTimer), 0);
  // Three periods pass between two idle calls: one firing, none lost.
  std::this_thread::sleep_for(std::chrono::milliseconds(35));
  windows.Pump();
  EXPECT_EQ(client.Count(TWindowEventKind::ekTimer), 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(12));
  windows.Pump();
  EXPECT_EQ(client.Count(TWindowEventKind::ekTimer), 2);
  windows.KillTimer(window, 7);
  std::this_thread::sleep_for(std::chrono::milliseconds(12));
  windows.Pump();
  EXPECT_EQ(client.Count(TWindowEventKind::ekTimer), 2);
  windows.DestroyWindow(window);
}

TEST_F(X11Editor, MessageWindowsKeepTheirTimersWithoutTheServer) {
  TRecordingClient client;
  const TNativeWindow window = windows.CreateChild(0, {}, client);
  ASSERT_NE(window, 0u);
  EXPECT_FALSE(windows.IsConnected());
  ASSERT_TRUE(windows.SetTimer(window, 1, 1));
  std::this_thread::sleep_for(std::chrono::milliseconds(3));
  windows.Pump();
  EXPECT_EQ(client.Count(TWindowEventKind::ekTimer), 1);
  windows.DestroyWindow(window);
}

TEST_F(X11Editor, AFormWhoseHostWindowWentIsFreedWithoutErrors) {
  OpenEditor(parent);
  host->DestroyWindow(parent);
  Idle();
  // The host's window took the last of ours on the server: so goes the connection.
  EXPECT_FALSE(windows.IsConnected());
  forms.clear();
  EXPECT_EQ(windows.WindowCount(), 0u);
}

TEST_F(X11Editor, AParentThatIsNoWindowIsRefusedAndTheErrorOnlyRecorded) {
  TRecordingClient client;
  const uint32_t errors = windows.ErrorCount();
  EXPECT_EQ(windows.CreateChild(0x1FFFFFF0, {0, 0, 10, 10}, client), 0u);
  EXPECT_GT(windows.ErrorCount(), errors);
  EXPECT_FALSE(windows.LastError().empty());
  EXPECT_FALSE(windows.IsConnected());
}

TEST_F(X11Editor, SeveralEditorsInSeveralHostWindowsPaintTheirOwnPixels) {
  const TNativeWindow secondParent = host->CreateTopLevel(300, 300, "second host", {400, 0});
  const std::vector<uint32_t> first = HeadlessPixels(1);
  const std::vector<uint32_t> second = HeadlessPixels(2);
  OpenEditor(parent, 1);
  OpenEditor(secondParent, 2);
  EXPECT_EQ(host->ReadPixels(EditorWindow(0), kEditorRect), first);
  EXPECT_EQ(host->ReadPixels(EditorWindow(1), kEditorRect), second);
  forms.clear();
  host->DestroyWindow(secondParent);
}

TEST_F(X11Editor, AWindowRegionShapesWhatTheServerShows) {
  OpenEditor(parent);
  if (!windows.HasShape()) GTEST_SKIP() << "the server has no Shape extension";
  const platform::TRegionRect kept{0, 0, 100, 50};
  platform::TRegionDataHeader header;
  header.Count = 1;
  header.Bounds = kept;
  const auto region = platform::RegionFactory().CreateFromData(header, std::span(&kept, 1));
  windows.SetWindowRegion(EditorWindow(), region.get());
  forms[0]->Invalidate();
  Idle();
  const std::vector<uint32_t> screen = host->ReadPixels(parent, {0, 0, 120, 60});
  const std::vector<uint32_t> editor = HeadlessPixels(0);
  EXPECT_EQ(screen[10 * 120 + 10], editor[10 * kEditorWidth + 10]);
  EXPECT_EQ(screen[55 * 120 + 110], 0u);  // the host window's black
}

// Several editors stay open while one is opened and closed again and again:
// windows, pixmaps, graphics contexts, cursors and shared-memory segments
// all come back to where they were.
TEST_F(X11Editor, HundredOpenCloseCyclesLeaveTheServersResourcesWhereTheyWere) {
  if (!host->HasResourceCounts()) GTEST_SKIP() << "the server has no X-Resource extension";
  OpenEditor(parent);
  const TNativeWindow secondParent = host->CreateTopLevel(300, 300, "cycling host", {400, 0});
  // One cycle first, so that the connection's cursors exist before counting.
  OpenEditor(secondParent);
  windows.SetCursor(EditorWindow(1), platform::TCursorShape::csHandPoint);
  forms.pop_back();
  Idle();
  const platform::TServerResources before = host->CountResources();
  const int segments = platform::SharedMemorySegmentsOfThisProcess();
  for (int cycle = 0; cycle < 100; ++cycle) {
    OpenEditor(secondParent, static_cast<uint8_t>(cycle));
    windows.SetCursor(EditorWindow(1), platform::TCursorShape::csHandPoint);
    forms.pop_back();
  }
  Idle();
  EXPECT_EQ(host->CountResources(), before);
  EXPECT_EQ(platform::SharedMemorySegmentsOfThisProcess(), segments);
  forms.clear();
  host->DestroyWindow(secondParent);
  EXPECT_FALSE(windows.IsConnected());
  EXPECT_EQ(platform::SharedMemorySegmentsOfThisProcess(), 0);
}

}  // namespace
}  // namespace zelk::tests
