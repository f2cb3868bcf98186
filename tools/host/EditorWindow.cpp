#include "tools/host/EditorWindow.h"

#include <chrono>
#include <cstdio>
#include <exception>
#include <string>
#include <thread>

#include "platform/x11/X11HostDisplay.h"
#include "tools/artwork/PictureFiles.h"
#include "tools/common/HostSession.h"

namespace zelk::host {

namespace {

constexpr auto kIdlePeriod = std::chrono::milliseconds(33);  // about 30 idle calls a second
// Idle calls before the screenshot: the first paints, the rest let the
// server settle.
constexpr int kIdleCallsBeforeScreenshot = 3;
// The window's size while the plug-in does not yet know its editor's.
constexpr int kProvisionalSize = 300;
constexpr float kAngleRange = 360.0f;
// Larger than any name buffer a plug-in may fill.
constexpr size_t kEffectNameSize = 256;

int Fail(const std::string& reason) {
  std::fprintf(stderr, "zelk-host: %s\n", reason.c_str());
  return 1;
}

// The editor's size as the plug-in answers it; empty before it knows.
TRect EditorRect(THostSession& session) {
  ERect* rect = nullptr;
  session.Dispatch(effEditGetRect, 0, 0, &rect);
  if (rect == nullptr) return {};
  return {rect->left, rect->top, rect->right, rect->bottom};
}

std::string EffectName(THostSession& session) {
  char name[kEffectNameSize] = {};
  session.Dispatch(effGetEffectName, 0, 0, name);
  name[kEffectNameSize - 1] = '\0';
  return name;
}

bool WriteScreenshot(platform::TX11HostDisplay& display, platform::TNativeWindow window, const TRect& area,
                     const std::string& path) {
  TLoadedPicture picture;
  picture.width = area.Width();
  picture.height = area.Height();
  picture.pixels = display.ReadPixels(window, area);
  if (picture.pixels.size() != static_cast<size_t>(picture.width) * picture.height) return false;
  for (uint32_t& pixel : picture.pixels) pixel |= 0xFF000000u;
  const std::string format = artwork::WritePictureFile(path, picture);
  std::printf("zelk-host: wrote %s (%s, %d x %d pixels)\n", path.c_str(), format.c_str(), picture.width,
              picture.height);
  return true;
}

}  // namespace

int RunEditor(const TEditorOptions& options) {
  platform::TX11HostDisplay display;
  if (!display.IsOpen()) return Fail("cannot open the X display (is DISPLAY set?)");
  THostSession session;
  if (!session.Open(options.PluginPath, {})) return Fail(session.ErrorText());
  if ((session.Effect()->flags & effFlagsHasEditor) == 0) return Fail("'" + options.PluginPath + "' has no editor");
  if (options.Angle) session.SetParameter(0, *options.Angle / kAngleRange);
  if (options.Scale) session.Dispatch(effVendorSpecific, kContentScaleIndex, kContentScaleValue, nullptr, *options.Scale);

  TRect rect = EditorRect(session);
  const platform::TNativeWindow window = display.CreateTopLevel(rect.IsEmpty() ? kProvisionalSize : rect.Width(),
                                                      rect.IsEmpty() ? kProvisionalSize : rect.Height(),
                                                      EffectName(session));
  if (window == 0) return Fail("cannot create a window");
  if (session.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(window)) == 0) {
    return Fail("the plug-in did not open its editor");
  }
  // Hosts size their window to the editor once it is open.
  rect = EditorRect(session);
  if (rect.IsEmpty()) rect = {0, 0, kProvisionalSize, kProvisionalSize};
  display.ResizeWindow(window, rect.Width(), rect.Height());

  int status = 0;
  for (int idleCalls = 1; display.ServiceEvents(); ++idleCalls) {
    session.Dispatch(effEditIdle);
    if (options.ScreenshotPath && idleCalls >= kIdleCallsBeforeScreenshot) {
      try {
        if (!WriteScreenshot(display, window, {0, 0, rect.Width(), rect.Height()}, *options.ScreenshotPath)) {
          status = Fail("cannot read the window's pixels");
        }
      } catch (const std::exception& error) {
        status = Fail(error.what());
      }
      break;
    }
    std::this_thread::sleep_for(kIdlePeriod);
  }
  session.Dispatch(effEditClose);
  display.DestroyWindow(window);
  session.Close();
  return status;
}

}  // namespace zelk::host
