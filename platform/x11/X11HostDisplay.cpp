#include "platform/x11/X11HostDisplay.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XRes.h>
#include <X11/extensions/XTest.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <sstream>

namespace zelk::platform {

namespace {

// The host's windows may name windows that went away: that is an answer,
// not a reason to end.
int IgnoreError(Display*, XErrorEvent*) { return 0; }

}  // namespace

TX11HostDisplay::TX11HostDisplay() : display_(XOpenDisplay(nullptr)) {
  if (display_ == nullptr) return;
  int eventBase = 0;
  int errorBase = 0;
  int major = 0;
  int minor = 0;
  xtest_ = XTestQueryExtension(display_, &eventBase, &errorBase, &major, &minor) != 0;
  resources_ = XResQueryExtension(display_, &eventBase, &errorBase) != 0;
  deleteWindowAtom_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
}

TX11HostDisplay::~TX11HostDisplay() {
  if (display_ != nullptr) XCloseDisplay(display_);
}

TNativeWindow TX11HostDisplay::CreateTopLevel(int width, int height, const std::string& title, TPoint at) {
  if (display_ == nullptr || width <= 0 || height <= 0) return 0;
  const int screen = DefaultScreen(display_);
  const Window window =
      XCreateSimpleWindow(display_, RootWindow(display_, screen), at.X, at.Y, static_cast<unsigned>(width),
                          static_cast<unsigned>(height), 0, BlackPixel(display_, screen), BlackPixel(display_, screen));
  XStoreName(display_, window, title.c_str());
  XSizeHints hints{};
  hints.flags = PPosition | PMinSize | PMaxSize;
  hints.x = at.X;
  hints.y = at.Y;
  hints.min_width = hints.max_width = width;
  hints.min_height = hints.max_height = height;
  XSetWMNormalHints(display_, window, &hints);
  Atom protocols[] = {deleteWindowAtom_};
  XSetWMProtocols(display_, window, protocols, 1);
  XSelectInput(display_, window, StructureNotifyMask | KeyPressMask);
  XMapWindow(display_, window);
  XEvent event;
  do {
    XWindowEvent(display_, window, StructureNotifyMask, &event);
  } while (event.type != MapNotify);
  return window;
}

void TX11HostDisplay::DestroyWindow(TNativeWindow window) {
  if (display_ == nullptr) return;
  const XErrorHandler saved = XSetErrorHandler(&IgnoreError);
  XDestroyWindow(display_, window);
  XSync(display_, False);
  XSetErrorHandler(saved);
}

void TX11HostDisplay::ResizeWindow(TNativeWindow window, int width, int height) {
  if (display_ == nullptr) return;
  XResizeWindow(display_, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
  XSync(display_, False);
}

TX11WindowInfo TX11HostDisplay::Describe(TNativeWindow window) {
  TX11WindowInfo info;
  if (display_ == nullptr) return info;
  const XErrorHandler saved = XSetErrorHandler(&IgnoreError);
  XWindowAttributes attributes{};
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  if (XGetWindowAttributes(display_, window, &attributes) &&
      XQueryTree(display_, window, &root, &parent, &children, &count)) {
    info.Exists = true;
    info.Mapped = attributes.map_state != IsUnmapped;
    info.Viewable = attributes.map_state == IsViewable;
    info.Bounds = BoundsRect(attributes.x, attributes.y, attributes.width, attributes.height);
    info.BorderWidth = attributes.border_width;
    info.Parent = parent;
    if (children != nullptr) XFree(children);
  }
  XSync(display_, False);
  XSetErrorHandler(saved);
  return info;
}

std::vector<TNativeWindow> TX11HostDisplay::Children(TNativeWindow window) {
  std::vector<TNativeWindow> result;
  if (display_ == nullptr) return result;
  const XErrorHandler saved = XSetErrorHandler(&IgnoreError);
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  if (XQueryTree(display_, window, &root, &parent, &children, &count)) {
    result.assign(children, children + count);
    if (children != nullptr) XFree(children);
  }
  XSync(display_, False);
  XSetErrorHandler(saved);
  return result;
}

std::vector<uint32_t> TX11HostDisplay::ReadPixels(TNativeWindow window, const TRect& area) {
  std::vector<uint32_t> pixels;
  if (display_ == nullptr || area.IsEmpty()) return pixels;
  const XErrorHandler saved = XSetErrorHandler(&IgnoreError);
  XImage* image = XGetImage(display_, window, area.Left, area.Top, static_cast<unsigned>(area.Width()),
                            static_cast<unsigned>(area.Height()), AllPlanes, ZPixmap);
  XSync(display_, False);
  XSetErrorHandler(saved);
  if (image == nullptr) return pixels;
  pixels.reserve(static_cast<size_t>(area.Width()) * area.Height());
  for (int y = 0; y < area.Height(); ++y) {
    for (int x = 0; x < area.Width(); ++x) {
      const unsigned long pixel = XGetPixel(image, x, y);
      // Channels to 8 bits each, whatever the masks.
      auto channel = [pixel](unsigned long mask) -> uint32_t {
        if (mask == 0) return 0;
        int shift = 0;
        while (((mask >> shift) & 1) == 0) ++shift;
        const unsigned long value = (pixel & mask) >> shift;
        const unsigned long top = mask >> shift;
        return static_cast<uint32_t>(value * 255 / top);
      };
      pixels.push_back(channel(image->red_mask) << 16 | channel(image->green_mask) << 8 | channel(image->blue_mask));
    }
  }
  XDestroyImage(image);
  return pixels;
}

void TX11HostDisplay::MovePointer(TNativeWindow window, TPoint point) {
  if (display_ == nullptr || !xtest_) return;
  Window child = 0;
  int rootX = 0;
  int rootY = 0;
  XTranslateCoordinates(display_, window, DefaultRootWindow(display_), point.X, point.Y, &rootX, &rootY, &child);
  XTestFakeMotionEvent(display_, -1, rootX, rootY, CurrentTime);
  XSync(display_, False);
}

void TX11HostDisplay::PressButton(unsigned button) {
  if (display_ == nullptr || !xtest_) return;
  XTestFakeButtonEvent(display_, button, True, CurrentTime);
  XSync(display_, False);
}

void TX11HostDisplay::ReleaseButton(unsigned button) {
  if (display_ == nullptr || !xtest_) return;
  XTestFakeButtonEvent(display_, button, False, CurrentTime);
  XSync(display_, False);
}

void TX11HostDisplay::PressKey(unsigned long keySymbol) {
  if (display_ == nullptr || !xtest_) return;
  XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, keySymbol), True, CurrentTime);
  XSync(display_, False);
}

void TX11HostDisplay::ReleaseKey(unsigned long keySymbol) {
  if (display_ == nullptr || !xtest_) return;
  XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, keySymbol), False, CurrentTime);
  XSync(display_, False);
}

bool TX11HostDisplay::ServiceEvents() {
  if (display_ == nullptr) return false;
  while (XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    if (event.type == ClientMessage && static_cast<unsigned long>(event.xclient.data.l[0]) == deleteWindowAtom_) {
      closeRequested_ = true;
    }
    if (event.type == DestroyNotify) closeRequested_ = true;
    if (event.type == KeyPress) KeysPressed.push_back(XLookupKeysym(&event.xkey, 0));
  }
  return !closeRequested_;
}

void TX11HostDisplay::Focus(TNativeWindow window) {
  if (display_ == nullptr) return;
  XSetInputFocus(display_, window, RevertToParent, CurrentTime);
  XSync(display_, False);
}

void TX11HostDisplay::SetServerResources(const std::string& resources) {
  if (display_ == nullptr) return;
  const Window root = DefaultRootWindow(display_);
  if (resources.empty()) {
    XDeleteProperty(display_, root, XA_RESOURCE_MANAGER);
  } else {
    XChangeProperty(display_, root, XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(resources.data()), static_cast<int>(resources.size()));
  }
  XSync(display_, False);
}

void TX11HostDisplay::Sync() {
  if (display_ != nullptr) XSync(display_, False);
}

TServerResources TX11HostDisplay::CountResources() {
  TServerResources total;
  if (display_ == nullptr || !resources_) return total;
  XSync(display_, False);
  XResClient* clients = nullptr;
  int clientCount = 0;
  if (!XResQueryClients(display_, &clientCount, &clients)) return total;
  total.Clients = clientCount;
  const Atom window = XInternAtom(display_, "WINDOW", False);
  const Atom pixmap = XInternAtom(display_, "PIXMAP", False);
  const Atom context = XInternAtom(display_, "GC", False);
  const Atom cursor = XInternAtom(display_, "CURSOR", False);
  for (int index = 0; index < clientCount; ++index) {
    XResType* types = nullptr;
    int typeCount = 0;
    if (!XResQueryClientResources(display_, clients[index].resource_base, &typeCount, &types)) continue;
    for (int type = 0; type < typeCount; ++type) {
      const uint64_t count = static_cast<uint64_t>(types[type].count);
      if (types[type].resource_type == window) {
        total.Windows += count;
      } else if (types[type].resource_type == pixmap) {
        total.Pixmaps += count;
      } else if (types[type].resource_type == context) {
        total.GraphicsContexts += count;
      } else if (types[type].resource_type == cursor) {
        total.Cursors += count;
      } else {
        total.Other += count;
      }
    }
    XFree(types);
  }
  XFree(clients);
  return total;
}

int SharedMemorySegmentsOfThisProcess() {
  // key shmid perms size cpid lpid nattch ...
  std::ifstream table("/proc/sysvipc/shm");
  std::string line;
  std::getline(table, line);
  int count = 0;
  const long self = static_cast<long>(getpid());
  while (std::getline(table, line)) {
    std::istringstream fields(line);
    long key = 0;
    long id = 0;
    long permissions = 0;
    unsigned long size = 0;
    long creator = 0;
    if (fields >> key >> id >> permissions >> size >> creator && creator == self) ++count;
  }
  return count;
}

}  // namespace zelk::platform
