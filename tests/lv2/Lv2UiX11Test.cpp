// The bundle's X11 interface on a real X server, hosted as LV2 hosts do it:
// the test loads the bundle's binary, passes its own window as ui:parent,
// sends port events and idle calls, and moves the real pointer (XTest). The
// pixels must be those of the VST 2 editor, composed in this process on the
// headless backend at the same angle.
#include <gtest/gtest.h>
#include <lilv/lilv.h>
#include <lv2/ui/ui.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/DynamicLibrary.h"
#include "platform/x11/X11HostDisplay.h"
#include "tests/support/HeadlessEditor.h"
#include "tests/support/Lv2Bundle.h"
#include "tests/support/x11/FixtureDisplay.h"

namespace zelk::tests {
namespace {

using platform::TNativeWindow;

constexpr uint32_t kAnglePort = 4;
constexpr TRect kEditorRect{0, 0, kEditorWidth, kEditorHeight};
constexpr TPoint kCentre{kEditorWidth / 2, kEditorHeight / 2};

struct TPortWrite {
  uint32_t Port;
  float Value;
  bool operator==(const TPortWrite&) const = default;
};

// What an LV2 host offers an X11 interface, and what the interface tells it.
class TUiHost {
 public:
  // The bundle's binary (lv2-tools-test.sh checks that lilv names it for
  // the interface), loaded; false with a reason.
  ::testing::AssertionResult Load(const TLv2Bundle& bundle) {
    if (!library_.Open(bundle.Path + "Zelk.so")) return ::testing::AssertionFailure() << library_.ErrorText();
    auto entry = reinterpret_cast<LV2UI_DescriptorFunction>(library_.FindSymbol("lv2ui_descriptor"));
    descriptor_ = entry != nullptr ? entry(0) : nullptr;
    if (descriptor_ == nullptr || std::strcmp(descriptor_->URI, "urn:kelmora:zelk-vorlan#ui") != 0) {
      return ::testing::AssertionFailure() << "the binary has no descriptor for the interface";
    }
    bundlePath_ = bundle.Path;
    return ::testing::AssertionSuccess();
  }

  // Null when the interface refuses; parent 0 offers no ui:parent.
  LV2UI_Handle Instantiate(TNativeWindow parent, const char* pluginUri = "urn:kelmora:zelk-vorlan") {
    const LV2_Feature parentFeature{LV2_UI__parent, reinterpret_cast<void*>(parent)};
    const LV2_Feature resizeFeature{LV2_UI__resize, &resize_};
    const LV2_Feature* withParent[] = {&parentFeature, &resizeFeature, nullptr};
    const LV2_Feature* withoutParent[] = {&resizeFeature, nullptr};
    Handle = descriptor_->instantiate(descriptor_, pluginUri, bundlePath_.c_str(), &Write, this, &Widget,
                                      parent != 0 ? withParent : withoutParent);
    return Handle;
  }

  void Cleanup() {
    if (Handle != nullptr) descriptor_->cleanup(Handle);
    Handle = nullptr;
  }

  void PortEvent(uint32_t port, float value) { descriptor_->port_event(Handle, port, sizeof value, 0, &value); }

  int Idle() {
    const auto* idle = static_cast<const LV2UI_Idle_Interface*>(descriptor_->extension_data(LV2_UI__idleInterface));
    return idle != nullptr ? idle->idle(Handle) : -1;
  }

  LV2UI_Handle Handle = nullptr;
  LV2UI_Widget Widget = nullptr;
  std::vector<TPortWrite> Writes;
  std::vector<std::pair<int, int>> Sizes;

 private:
  static void Write(LV2UI_Controller controller, uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
    float value = 0.0f;
    if (format == 0 && size == sizeof value) std::memcpy(&value, buffer, sizeof value);
    static_cast<TUiHost*>(controller)->Writes.push_back({port, value});
  }
  static int Resize(LV2UI_Feature_Handle handle, int width, int height) {
    static_cast<TUiHost*>(handle)->Sizes.emplace_back(width, height);
    return 0;
  }

  platform::TDynamicLibrary library_;
  const LV2UI_Descriptor* descriptor_ = nullptr;
  std::string bundlePath_;
  LV2UI_Resize resize_{this, &Resize};
};

class Lv2UiX11 : public ::testing::Test {
 protected:
  void SetUp() override {
    UseFixtureDisplay();
    display = std::make_unique<platform::TX11HostDisplay>();
    ASSERT_TRUE(display->IsOpen()) << "no X server: run these tests through ctest, which starts Xvfb, or set DISPLAY";
    ASSERT_TRUE(bundle.Found());
    ASSERT_TRUE(ui.Load(bundle));
    parent = display->CreateTopLevel(kEditorWidth, kEditorHeight, "LV2 host");
  }

  void TearDown() override {
    ui.Cleanup();
    if (display && display->IsOpen()) display->DestroyWindow(parent);
  }

  // The host's idle call, and the server's side of it.
  void Idle() {
    EXPECT_EQ(ui.Idle(), 0);
    display->Sync();
  }

  std::vector<uint32_t> Shown() { return display->ReadPixels(parent, kEditorRect); }

  TLv2Bundle bundle;
  TUiHost ui;
  std::unique_ptr<platform::TX11HostDisplay> display;
  TNativeWindow parent = 0;
};

TEST_F(Lv2UiX11, OpensInItsParentShowingTheVst2EditorAndFollowsThePortWithoutWritingItBack) {
  ASSERT_NE(ui.Instantiate(parent), nullptr);
  ui.PortEvent(kAnglePort, 90.0f);
  Idle();
  const std::vector<TNativeWindow> children = display->Children(parent);
  ASSERT_EQ(children.size(), 1u);
  EXPECT_EQ(reinterpret_cast<TNativeWindow>(ui.Widget), children[0]);
  const platform::TX11WindowInfo info = display->Describe(children[0]);
  EXPECT_TRUE(info.Viewable);
  EXPECT_EQ(info.Bounds, kEditorRect);
  EXPECT_EQ(ui.Sizes, (std::vector<std::pair<int, int>>{{kEditorWidth, kEditorHeight}}));
  EXPECT_EQ(Shown(), HeadlessEditorPixels(90.0f));

  ui.PortEvent(kAnglePort, 180.0f);
  Idle();
  EXPECT_EQ(Shown(), HeadlessEditorPixels(180.0f));
  EXPECT_TRUE(ui.Writes.empty());
}

TEST_F(Lv2UiX11, ADragWithRealPointerEventsWritesTheAngleToThePort) {
  if (!display->HasXTest()) GTEST_SKIP() << "the server has no XTest";
  ASSERT_NE(ui.Instantiate(parent), nullptr);
  ui.PortEvent(kAnglePort, 0.0f);
  Idle();
  display->MovePointer(parent, {kCentre.X, kCentre.Y - 40});  // on the cap
  Idle();
  display->PressButton(1);
  Idle();
  display->MovePointer(parent, {kCentre.X + 60, kCentre.Y});
  Idle();
  display->ReleaseButton(1);
  Idle();
  ASSERT_FALSE(ui.Writes.empty());
  EXPECT_EQ(ui.Writes.back(), (TPortWrite{kAnglePort, 90.0f}));
  EXPECT_EQ(Shown(), HeadlessEditorPixels(90.0f));
}

TEST_F(Lv2UiX11, RefusesAHostWithoutAParentWindowOrAnotherPlugin) {
  EXPECT_EQ(ui.Instantiate(0), nullptr);
  EXPECT_EQ(ui.Instantiate(parent, "urn:example:another-plugin"), nullptr);
  EXPECT_TRUE(display->Children(parent).empty());
}

}  // namespace
}  // namespace zelk::tests
