#include "platform/x11/X11Connection.h"

#include <X11/extensions/XShm.h>
#include <X11/extensions/shape.h>

#include <cstdio>

#include "platform/x11/X11Input.h"

// Last of the includes: this file's X calls go through the functions
// loaded on first need.
#include "platform/x11/XlibLoader.h"

namespace zelk::platform {

namespace {

// The connection errors are recorded for; the handler is process-wide.
Display* gRecordedDisplay = nullptr;
uint32_t gErrorCount = 0;
std::string gLastError;
XErrorHandler gForeignHandler = nullptr;

int RecordError(Display* display, XErrorEvent* error) {
  if (display != gRecordedDisplay) return gForeignHandler != nullptr ? gForeignHandler(display, error) : 0;
  ++gErrorCount;
  gLastError = std::to_string(error->request_code) + "/" + std::to_string(error->error_code);
  return 0;
}

}  // namespace

TErrorTrap::TErrorTrap() : saved_(XSetErrorHandler(&RecordError)) {
  if (saved_ != &RecordError) gForeignHandler = saved_;
}

TErrorTrap::~TErrorTrap() { XSetErrorHandler(saved_); }

uint32_t X11ErrorCount() { return gErrorCount; }
std::string X11LastError() { return gLastError; }

void TX11Connection::ConnectionGone(Display*, void* connection) {
  static_cast<TX11Connection*>(connection)->lost_ = true;
}

bool TX11Connection::Connect() {
  if (display_ != nullptr) return !lost_;
  if (!LoadXlib()) {
    // The host hears only that no editor opened; its log hears why.
    std::fprintf(stderr, "Zelk: no editor without the X libraries: %s\n", XlibLoadError().c_str());
    return false;
  }
  // Hosts drive editors from several threads, and the host itself talks
  // to Xlib on others: Xlib is told before our first connection (the
  // earliest a plug-in that loads Xlib only for its editor can).
  static const bool threadsInitialized = XInitThreads() != 0;
  (void)threadsInitialized;
  display_ = XOpenDisplay(nullptr);
  if (display_ == nullptr) return false;
  lost_ = false;
  gRecordedDisplay = display_;
  // A broken connection must not end the host (where Xlib lets us say so:
  // versions before 1.7 end the process whatever the handler does).
  if (XSetIOErrorExitHandler != nullptr) XSetIOErrorExitHandler(display_, &ConnectionGone, this);
  // Asking an extension's library about a server without the extension
  // prints a complaint on every open (remote displays have no MIT-SHM):
  // the server is asked first.
  int major = 0;
  int minor = 0;
  Bool pixmaps = False;
  sharedMemory_ = HasExtension("MIT-SHM") && XShmQueryVersion(display_, &major, &minor, &pixmaps) != 0;
  int eventBase = 0;
  int errorBase = 0;
  shape_ = HasExtension("SHAPE") && XShapeQueryExtension(display_, &eventBase, &errorBase) != 0;
  return true;
}

bool TX11Connection::HasExtension(const char* name) const {
  int opcode = 0;
  int eventBase = 0;
  int errorBase = 0;
  return XQueryExtension(display_, name, &opcode, &eventBase, &errorBase) != 0;
}

void TX11Connection::Disconnect() {
  if (display_ == nullptr) return;
  if (!lost_) {
    TErrorTrap trap;
    for (const auto& [shape, cursor] : cursors_) XFreeCursor(display_, cursor);
  }
  cursors_.clear();
  XCloseDisplay(display_);
  if (gRecordedDisplay == display_) gRecordedDisplay = nullptr;
  display_ = nullptr;
  lost_ = false;
}

Cursor TX11Connection::CursorFor(TCursorShape shape, Window window) {
  const auto cached = cursors_.find(shape);
  if (cached != cursors_.end()) return cached->second;
  Cursor cursor = None;
  const int glyph = CursorGlyphOf(shape);
  if (glyph >= 0) {
    cursor = XCreateFontCursor(display_, static_cast<unsigned>(glyph));
  } else {
    // No cursor: a one-pixel cursor with nothing in its mask.
    static const char kBlank = 0;
    const Pixmap blank = XCreateBitmapFromData(display_, window, &kBlank, 1, 1);
    XColor black{};
    cursor = XCreatePixmapCursor(display_, blank, blank, &black, &black, 0, 0);
    XFreePixmap(display_, blank);
  }
  cursors_.emplace(shape, cursor);
  return cursor;
}

}  // namespace zelk::platform
