// The Win32 window system as a host meets it: a toolkit form put into a
// host's top-level window as a child, painted through WM_PAINT, driven by
// messages posted like the system posts input and dispatched by the host's
// message loop; and the window-system conformance suite through the driver
// below. Runs under Wine in the Windows stage.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/Backend.h"
#include "platform/KeyCodes.h"
#include "platform/SystemError.h"
#include "platform/software/SoftwareRegion.h"
#include "platform/software/SoftwareSurface.h"
#include "platform/win32/DibSectionSurface.h"
#include "platform/win32/GdiRegion.h"
#include "platform/win32/HostWindows.h"
#include "platform/win32/Win32SystemErrors.h"
#include "platform/win32/Win32Windows.h"
#include "runtime/ClassBuilder.h"
#include "tests/support/WindowSystemDriver.h"
#include "toolkit/HintWindow.h"
#include "toolkit/Panel.h"
#include "toolkit/Toolkit.h"

namespace zelk::tests {
namespace {

namespace host = platform::host;

// Pointer input sent as a user's (SendInput), keys posted to the focused
// window as the system posts them, real time and the host's message loop.
class TWin32Driver final : public TWindowSystemDriver {
 public:
  platform::TWindowSystem& Windows() override { return *windows; }
  TNativeWindow CreateHostWindow(int32_t width, int32_t height) override {
    const TNativeWindow window = host::CreateHostWindow(width, height);
    host::RunMessageLoop();
    return window;
  }
  // The pointer leaves the window first, for the windows of the tests that
  // follow to appear away from it.
  void DestroyHostWindow(TNativeWindow window) override {
    host::SendPointerInput(window, {-30, -30}, host::THostPointerAction::paMove);
    host::DestroyHostWindow(window);
  }
  std::string Problem() const override { return "the system refused the host's window"; }
  void MovePointer(TNativeWindow window, TPoint point) override {
    host::SendPointerInput(window, point, host::THostPointerAction::paMove);
  }
  void PressButton(TNativeWindow window, TPoint point) override {
    host::SendPointerInput(window, point, host::THostPointerAction::paLeftDown);
  }
  void ReleaseButton(TNativeWindow window, TPoint point) override {
    host::SendPointerInput(window, point, host::THostPointerAction::paLeftUp);
  }
  void TurnWheel(TNativeWindow window, TPoint point, int notches) override {
    host::SendPointerInput(window, point, host::THostPointerAction::paWheel, notches * 120);
  }
  // The host's loop translates the key into its character.
  void TypeLetter(char letter) override {
    const TNativeWindow focus = host::FocusWindow();
    host::PostHostMessage(focus, host::hmKeyDown, static_cast<uintptr_t>(letter), 1);
    host::RunMessageLoop();
    host::PostHostMessage(focus, host::hmKeyUp, static_cast<uintptr_t>(letter), static_cast<intptr_t>(0xC0000001u));
  }
  uint32_t PixelAt(TNativeWindow window, int32_t x, int32_t y) override { return host::PixelOfWindow(window, x, y); }
  void Idle(uint32_t milliseconds) override {
    if (milliseconds != 0) host::Wait(milliseconds);
    host::RunMessageLoop();
    windows->Pump();
  }

 private:
  std::unique_ptr<platform::TWin32WindowSystem> windows = std::make_unique<platform::TWin32WindowSystem>();
};

}  // namespace

TBackendDriver BackendDriver() {
  return {"Win32", []() -> std::unique_ptr<TWindowSystemDriver> { return std::make_unique<TWin32Driver>(); }};
}

namespace {

constexpr TColor kRed = 0x0000FF;   // 0x00BBGGRR
constexpr TColor kBlue = 0xFF0000;
constexpr TColor kGreen = 0x00FF00;
constexpr uint32_t kRedPixel = 0xFF0000;  // as the screen holds it, 0x00RRGGBB
constexpr uint32_t kBluePixel = 0x0000FF;
constexpr uint32_t kGreenPixel = 0x00FF00;

// The pattern of a width x height panel, as the screen shows it.
void ExpectPattern(const std::vector<uint32_t>& pixels, int32_t width, int32_t height) {
  ASSERT_EQ(pixels.size(), static_cast<size_t>(width) * static_cast<size_t>(height));
  const auto at = [&](int32_t x, int32_t y) { return pixels[static_cast<size_t>(y) * width + x]; };
  const int32_t half = width / 2;
  EXPECT_EQ(at(0, 0), kGreenPixel);
  EXPECT_EQ(at(width - 1, 4), kGreenPixel);
  EXPECT_EQ(at(0, 5), kRedPixel);
  EXPECT_EQ(at(half - 1, height - 1), kRedPixel);
  EXPECT_EQ(at(half, 5), kBluePixel);
  EXPECT_EQ(at(width - 1, height - 1), kBluePixel);
}

// Paints its left half red and its right half blue, and logs what reaches it.
class TPatternPanel : public TCustomPanel {
  ZELK_CLASS(TPatternPanel, TCustomPanel)

  explicit TPatternPanel(TComponent* owner) : TCustomPanel(owner) {}

  void WndProc(TMessage& message) override {
    const TPoint point = LParamToPoint(message.LParam);
    const std::string at = " " + std::to_string(point.X) + "," + std::to_string(point.Y);
    switch (message.Msg) {
      case wmMouseMove: Log.push_back("move" + at); break;
      case wmLButtonDown: Log.push_back("down" + at); break;
      case wmLButtonUp: Log.push_back("up" + at); break;
      case wmCaptureChanged: Log.push_back("capturechanged"); break;
      case cmMouseLeave: Log.push_back("leave"); break;
      default: break;
    }
    TCustomPanel::WndProc(message);
  }

  std::vector<std::string> Log;
  std::vector<TRect> PaintedClips;

 protected:
  void Paint() override {
    PaintedClips.push_back(Canvas()->ClipBox());
    const int32_t half = Width() / 2;
    Canvas()->Brush().Color = kRed;
    Canvas()->FillRect(0, 0, half, Height());
    Canvas()->Brush().Color = kBlue;
    Canvas()->FillRect(half, 0, Width(), Height());
    Canvas()->Brush().Color = kGreen;
    Canvas()->FillRect(0, 0, Width(), 5);
  }
};

const TClassInfo& TPatternPanel::StaticClass() {
  static const TClassInfo info = TClassBuilder<TPatternPanel>("TPatternPanel").Build();
  return info;
}

uintptr_t TestModule() { return host::ModuleAt(reinterpret_cast<const void*>(&TestModule)); }

// A host window with the editor-like form in it: a borderless 245 x 269
// child at (0, 0), filled by the pattern panel. Each test has a window
// system of its own, so that the window class comes and goes with it.
class Win32WindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitializeToolkit();
    windows = std::make_unique<platform::TWin32WindowSystem>();
    scope->Windows = windows.get();
    hostWindow = host::CreateHostWindow(400, 300);
    ASSERT_NE(hostWindow, 0u);
    form.reset(New<TForm>(nullptr, TCustomForm::TCreateNew{}));
    panel = New<TPatternPanel>(form.get());
    panel->SetBevelOuter(TPanelBevel::bvNone);
    panel->SetAlign(TAlign::alClient);
    panel->SetParent(form.get());
    form->SetParentWindow(hostWindow);
    form->SetBorderStyle(TFormBorderStyle::bsNone);
    form->SetBounds(0, 0, 245, 269);
    form->Show();
    host::RunMessageLoop();
  }
  void TearDown() override {
    form.reset();
    if (host::WindowExists(hostWindow)) host::DestroyHostWindow(hostWindow);
    windows.reset();
    host::RunMessageLoop();
  }
  TNativeWindow FormWindow() { return form->Handle(); }
  TNativeWindow PanelWindow() { return panel->Handle(); }
  void Post(TNativeWindow window, uint32_t message, TPoint point, uint32_t keys = 0) {
    host::PostHostMessage(window, message, keys, host::PointParam(point));
  }

  platform::TBackendScope scope;
  std::unique_ptr<platform::TWin32WindowSystem> windows;
  TNativeWindow hostWindow = 0;
  std::unique_ptr<TForm, TFreeObject> form;
  TPatternPanel* panel = nullptr;
};

TEST_F(Win32WindowsTest, TheFormIsABorderlessVisibleChildOfTheHostWindowAtItsOrigin) {
  EXPECT_EQ(host::ParentOf(FormWindow()), hostWindow);
  EXPECT_EQ(host::BoundsInParent(FormWindow()), (TRect{0, 0, 245, 269}));
  EXPECT_EQ(host::ClientRectOf(FormWindow()), (TRect{0, 0, 245, 269}));
  const uint32_t style = host::StyleOf(FormWindow());
  EXPECT_EQ(style & (host::hsChild | host::hsVisible), host::hsChild | host::hsVisible);
  EXPECT_EQ(style & (host::hsPopup | host::hsCaption | host::hsBorder | host::hsDialogFrame | host::hsThickFrame), 0u);
  EXPECT_EQ(host::ChildrenOf(FormWindow()), std::vector<TNativeWindow>{PanelWindow()});
  EXPECT_EQ(host::BoundsInParent(PanelWindow()), (TRect{0, 0, 245, 269}));
}

TEST_F(Win32WindowsTest, TheWindowClassIsNamedAfterTheModuleAndGoesWithTheWindowSystem) {
  const std::string name = platform::WindowClassNameFor(TestModule());
  EXPECT_EQ(host::ClassNameOf(FormWindow()), name);
  EXPECT_EQ(host::ClassModuleOf(FormWindow()), TestModule());
  EXPECT_TRUE(host::IsClassRegistered(TestModule(), name));
  EXPECT_NE(platform::WindowClassNameFor(TestModule() + 0x10000), name);

  form.reset();
  windows.reset();
  EXPECT_FALSE(host::IsClassRegistered(TestModule(), name));
}

TEST_F(Win32WindowsTest, TheHostsLoopPaintsThePatternAndOnlyTheUpdateRectangleLater) {
  EXPECT_FALSE(host::NeedsPaint(PanelWindow()));
  ASSERT_FALSE(panel->PaintedClips.empty());
  EXPECT_EQ(panel->PaintedClips.back(), (TRect{0, 0, 245, 269}));
  ExpectPattern(host::PrintClient(PanelWindow()), 245, 269);

  panel->PaintedClips.clear();
  panel->InvalidateRect({100, 20, 140, 30});
  EXPECT_TRUE(host::NeedsPaint(PanelWindow()));
  host::RunMessageLoop();
  EXPECT_EQ(panel->PaintedClips, std::vector<TRect>{(TRect{100, 20, 140, 30})});
  EXPECT_FALSE(host::NeedsPaint(PanelWindow()));

  // Pump paints what waits without the host's loop.
  panel->InvalidateRect({0, 0, 10, 10});
  windows->Pump();
  EXPECT_FALSE(host::NeedsPaint(PanelWindow()));
  EXPECT_EQ(panel->PaintedClips.size(), 2u);
}

TEST_F(Win32WindowsTest, PortableSurfacesArePresentedTheRightWayUpToo) {
  scope->Surfaces = &platform::SoftwareSurfaceFactory();
  form->SetBounds(0, 0, 100, 50);  // a new size: a new paint surface
  ExpectPattern(host::PrintClient(PanelWindow()), 100, 50);
}

TEST_F(Win32WindowsTest, MouseMessagesReachTheFormWithCaptureFocusAndLeave) {
  Post(PanelWindow(), host::hmMouseMove, {30, 40});
  Post(PanelWindow(), host::hmLButtonDown, {31, 41}, host::hkLeftButton);
  host::RunMessageLoop();
  EXPECT_EQ(host::CaptureWindow(), PanelWindow());
  // The click takes the keyboard focus from the host into the editor.
  EXPECT_EQ(host::FocusWindow(), FormWindow());
  // Captured moves arrive even outside the window, in its coordinates.
  Post(PanelWindow(), host::hmMouseMove, {300, -5}, host::hkLeftButton);
  Post(PanelWindow(), host::hmLButtonUp, {300, -5});
  host::RunMessageLoop();
  EXPECT_EQ(host::CaptureWindow(), 0u);
  Post(PanelWindow(), host::hmMouseMove, {50, 60});
  Post(PanelWindow(), host::hmMouseLeave, {0, 0});
  host::RunMessageLoop();
  // Leaving the client area during the capture is heard by the capturing
  // control only; the posted WM_MOUSELEAVE is the pointer leaving the window.
  EXPECT_EQ(panel->Log, (std::vector<std::string>{"move 30,40", "down 31,41", "leave", "move 300,-5",
                                                   "up 300,-5", "move 50,60", "leave"}));
}

TEST_F(Win32WindowsTest, AnotherWindowTakingTheCaptureIsACaptureLoss) {
  Post(PanelWindow(), host::hmLButtonDown, {10, 10}, host::hkLeftButton);
  host::RunMessageLoop();
  ASSERT_EQ(host::CaptureWindow(), PanelWindow());
  panel->Log.clear();
  host::TakeCapture(hostWindow);
  EXPECT_EQ(panel->Log, std::vector<std::string>{"capturechanged"});
  EXPECT_FALSE(panel->MouseCapture());
  host::TakeCapture(0);
}

TEST(Win32KeyCodes, VirtualKeysBecomeOurKeyCodes) {
  const struct {
    uint32_t Native;
    uint16_t Ours;
  } cases[] = {{0xA0, vkShift}, {0xA1, vkShift}, {0xA2, vkControl}, {0xA3, vkControl}, {0xA4, vkMenu},
               {0xA5, vkMenu},  {0x10, vkShift}, {0x0D, vkReturn},  {0x25, vkLeft},    {0x70, vkF1},
               {0x7B, vkF12},   {'A', 'A'},      {'7', '7'},        {0x2E, vkDelete}};
  for (const auto& key : cases) EXPECT_EQ(platform::KeyCodeOfVirtualKey(key.Native), key.Ours) << key.Native;
}

TEST_F(Win32WindowsTest, TheCursorOfTheControlUnderThePointerIsShown) {
  panel->SetCursor(crHandPoint);
  Post(PanelWindow(), host::hmMouseMove, {20, 20});
  host::RunMessageLoop();
  EXPECT_EQ(windows->CursorOf(PanelWindow()), platform::TCursorShape::csHandPoint);
  host::SendSetCursor(PanelWindow());
  EXPECT_TRUE(host::CursorIs(platform::TCursorShape::csHandPoint));
}

TEST_F(Win32WindowsTest, AHintShowsInAWindowOverTheFormAfterThePointerRests) {
  panel->SetHint("Turn me");
  panel->SetShowHint(true);
  Post(PanelWindow(), host::hmMouseMove, {20, 20});
  THintWindow& hint = ApplicationHintWindow();
  for (int round = 0; round < 200 && !hint.Active(); ++round) {
    host::Wait(10);
    host::RunMessageLoop();
  }
  ASSERT_TRUE(hint.Active());
  EXPECT_EQ(host::ParentOf(hint.Handle()), FormWindow());
  EXPECT_TRUE(host::IsShown(hint.Handle()));
  EXPECT_EQ(host::BoundsInParent(hint.Handle()).TopLeft(), (TPoint{20, 40}));
  hint.ReleaseHint();
  EXPECT_FALSE(host::IsShown(hint.Handle()));
  FreeApplicationHintWindow();  // its window goes with this test's window system
}

TEST_F(Win32WindowsTest, AWindowRegionShapesTheWindowUntilRemoved) {
  platform::TGdiRegionFactory factory;
  const std::vector<platform::TRegionRect> rects{{0, 0, 50, 10}, {10, 10, 20, 30}};
  const platform::TRegionDataHeader header{.Count = 2};
  const auto region = factory.CreateFromData(header, rects);
  windows->SetWindowRegion(PanelWindow(), region.get());
  bool hasRegion = false;
  EXPECT_EQ(host::RegionOf(PanelWindow(), hasRegion), (std::vector<TRect>{{0, 0, 50, 10}, {10, 10, 20, 30}}));
  EXPECT_TRUE(hasRegion);
  windows->SetWindowRegion(PanelWindow(), nullptr);
  host::RegionOf(PanelWindow(), hasRegion);
  EXPECT_FALSE(hasRegion);
}

TEST_F(Win32WindowsTest, AHostDestroyingItsWindowFirstLeavesTheFormWithoutAWindow) {
  const TNativeWindow formWindow = FormWindow();
  host::DestroyHostWindow(hostWindow);
  EXPECT_FALSE(host::WindowExists(formWindow));
  EXPECT_FALSE(form->HandleAllocated());
  EXPECT_FALSE(panel->HandleAllocated());
  EXPECT_FALSE(windows->Owns(formWindow));
  form.reset();  // frees without touching the gone windows
}

// --- The platform services the backend installs ---

TEST(Win32Services, TheBackendInstallsDibSectionsGdiRegionsAndSystemErrorTexts) {
  InitializeToolkit();
  EXPECT_EQ(platform::Backend().Surfaces, &platform::DibSectionSurfaceFactory());
  EXPECT_NE(dynamic_cast<platform::TGdiRegionFactory*>(platform::Backend().Regions), nullptr);
  EXPECT_NE(dynamic_cast<platform::TWin32SystemErrors*>(platform::Backend().Errors), nullptr);
  EXPECT_EQ(platform::Backend().Windows, &platform::Win32Windows());
}

TEST(Win32Services, ASurfaceIsADibSectionSelectedInARealDeviceContext) {
  const auto surface = platform::DibSectionSurfaceFactory().CreateSurface(3, 2);
  ASSERT_NE(surface, nullptr);
  ASSERT_TRUE(host::IsMemoryDeviceContext(surface->Handle()));
  EXPECT_EQ(platform::DibSectionSurfaceFactory().SurfaceOf(surface->Handle()), surface.get());
  for (int index = 0; index < 3 * 2 * 4; ++index) EXPECT_EQ(surface->Bits()[index], 0) << index;
  // The first pixel in memory is the bottom-left one; pixels are blue, green, red.
  surface->Bits()[0] = 0x30;
  surface->Bits()[1] = 0x20;
  surface->Bits()[2] = 0x10;
  EXPECT_EQ(host::PixelOfContext(surface->Handle(), 0, 1), 0x102030u);
  EXPECT_EQ(host::PixelOfContext(surface->Handle(), 0, 0), 0u);
}

TEST(Win32Services, NoNewSurfaceGetsTheHandleOfAnEarlierOne) {
  std::set<platform::TSurfaceHandle> handles;
  for (int round = 0; round < 300; ++round) {
    const auto surface = platform::DibSectionSurfaceFactory().CreateSurface(1, 1);
    ASSERT_NE(surface, nullptr);
    EXPECT_TRUE(handles.insert(surface->Handle()).second) << round;
  }
  EXPECT_EQ(platform::DibSectionSurfaceFactory().SurfaceOf(*handles.begin()), nullptr);
}

TEST(Win32Services, RefusedSurfacesLeaveTheSystemsReason) {
  platform::TWin32SystemErrors errors;
  EXPECT_EQ(platform::DibSectionSurfaceFactory().CreateSurface(0, 5), nullptr);
  EXPECT_NE(errors.LastErrorCode(), 0u);
  EXPECT_FALSE(errors.MessageText(errors.LastErrorCode()).empty());
}

TEST(Win32Services, ErrorTextsComeFromTheSystemWithoutALineBreak) {
  platform::TWin32SystemErrors errors;
  errors.SetLastErrorCode(5);
  EXPECT_EQ(errors.LastErrorCode(), 5u);
  const std::string text = errors.MessageText(2);  // file not found
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.back(), '\n');
  EXPECT_NE(text.back(), '\r');
}

// GDI regions answer like the portable region for the same rectangles.
TEST(Win32Services, GdiRegionsAgreeWithThePortableRegion) {
  std::mt19937 random(16);
  std::uniform_int_distribution<int32_t> coordinate(-20, 60);
  platform::TGdiRegionFactory gdi;
  platform::TSoftwareRegionFactory portable;
  for (int round = 0; round < 40; ++round) {
    std::vector<platform::TRegionRect> first(1 + round % 7), second(1 + round % 5);
    for (auto* rects : {&first, &second}) {
      for (auto& rect : *rects) {
        const int32_t x = coordinate(random), y = coordinate(random);
        rect = {x, y, x + (coordinate(random) + 20) % 30, y + (coordinate(random) + 20) % 30};
      }
    }
    const auto header = [](const std::vector<platform::TRegionRect>& rects) {
      return platform::TRegionDataHeader{.Count = static_cast<uint32_t>(rects.size())};
    };
    auto gdiRegion = gdi.CreateFromData(header(first), first);
    auto portableRegion = portable.CreateFromData(header(first), first);
    ASSERT_EQ(gdiRegion->Rectangles(), portableRegion->Rectangles()) << round;
    gdiRegion->Unite(*gdi.CreateFromData(header(second), second));
    portableRegion->Unite(*portable.CreateFromData(header(second), second));
    ASSERT_EQ(gdiRegion->Rectangles(), portableRegion->Rectangles()) << round;
    for (int32_t y = -20; y < 90; y += 3) {
      for (int32_t x = -20; x < 90; x += 3) {
        ASSERT_EQ(gdiRegion->Contains(x, y), portableRegion->Contains(x, y)) << round << ": " << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace zelk::tests
