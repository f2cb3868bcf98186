// Xlib and its extension library (Shape, MIT-SHM), opened when the window
// system first needs the server rather than when the host loads the plug-in:
// loading them costs more than the rest of the library's start, and hosts
// scan plug-ins also where no editor can ever open (render servers,
// containers without X). Where they are missing the plug-in still loads and
// processes; only its editor stays closed.
//
// Every X function the backend calls is a pointer of gXlib, filled by
// LoadXlib; XlibLoader.h points the usual names at them, so calls read as
// plain Xlib calls. A new X call adds its name to a list below and a line to
// XlibLoader.h.
//
// Contract
// - LoadXlib loads once per process, on whichever thread asks first; later
//   calls answer the first outcome at once. Until it answered true nothing
//   may call through gXlib.
// - The libraries stay loaded until the process ends: the window system's
//   own end (at library unload) still closes its display through them.
// - Optional functions (newer than the oldest Xlib we support) are null
//   when the system's library lacks them; callers check.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xresource.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/shape.h>

#include <string>

// Functions of libX11 the plug-in cannot work without.
#define ZELK_XLIB_REQUIRED_FUNCTIONS(F)                                                                             \
  F(XAllocColor) F(XCheckTypedWindowEvent) F(XCloseDisplay) F(XCreateBitmapFromData) F(XCreateColormap)             \
  F(XCreateFontCursor) F(XCreateGC) F(XCreateImage) F(XCreatePixmapCursor) F(XCreateWindow) F(XDefineCursor)        \
  F(XDestroyWindow) F(XDisplayName) F(XFlush) F(XFree) F(XFreeColormap) F(XFreeCursor) F(XFreeGC) F(XFreePixmap)    \
  F(XGetDefault) F(XGetErrorText) F(XGetVisualInfo) F(XGetWindowAttributes) F(XInitThreads) F(XKeysymToKeycode)     \
  F(XLockDisplay) F(XLookupKeysym) F(XLookupString) F(XMapWindow) F(XMatchVisualInfo) F(XMoveResizeWindow)          \
  F(XNextEvent) F(XOpenDisplay) F(XPending) F(XPutImage) F(XQueryColor) F(XQueryColors) F(XQueryExtension)          \
  F(XQueryKeymap) F(XQueryPointer) F(XRefreshKeyboardMapping) F(XResourceManagerString) F(XSelectInput) F(XSendEvent) \
  F(XSetErrorHandler) F(XSetInputFocus) F(XStoreColors) F(XSync) F(XTranslateCoordinates) F(XUnlockDisplay)         \
  F(XUnmapWindow) F(XrmDestroyDatabase) F(XrmGetResource) F(XrmGetStringDatabase) F(XrmInitialize)

// Functions of libX11 that older versions lack (XSetIOErrorExitHandler came
// with libX11 1.7).
#define ZELK_XLIB_OPTIONAL_FUNCTIONS(F) F(XSetIOErrorExitHandler)

// Functions of libXext: the Shape and MIT-SHM extensions.
#define ZELK_XEXT_REQUIRED_FUNCTIONS(F)                                                                              \
  F(XShapeCombineMask) F(XShapeCombineRectangles) F(XShapeQueryExtension) F(XShmAttach) F(XShmCreateImage)          \
  F(XShmDetach) F(XShmPutImage) F(XShmQueryExtension) F(XShmQueryVersion)

namespace zelk::platform {

struct TXlibFunctions {
#define ZELK_XLIB_POINTER(name) decltype(&::name) name = nullptr;
  ZELK_XLIB_REQUIRED_FUNCTIONS(ZELK_XLIB_POINTER)
  ZELK_XLIB_OPTIONAL_FUNCTIONS(ZELK_XLIB_POINTER)
  ZELK_XEXT_REQUIRED_FUNCTIONS(ZELK_XLIB_POINTER)
#undef ZELK_XLIB_POINTER
};

extern TXlibFunctions gXlib;

// Loads libX11 and libXext and fills gXlib; false when either library or a
// required function of it is missing (XlibLoadError says which).
bool LoadXlib();
// Why LoadXlib failed, as one line naming the library; empty after success.
const std::string& XlibLoadError();

}  // namespace zelk::platform
