// The X11 window system's own display connection: opening it on first
// need, the extensions the server offers, the cursors made on it, and the
// X errors that arrive on it, recorded instead of ending the host.
// Window thread only.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <map>
#include <string>

#include "platform/WindowSystem.h"

namespace zelk::platform {

// Our error handler is in place while we talk to the server, the host's
// before and after: errors of our connection are only read inside our
// calls, and a host's errors arriving meanwhile still reach its handler.
class TErrorTrap {
 public:
  TErrorTrap();
  ~TErrorTrap();
  TErrorTrap(const TErrorTrap&) = delete;
  TErrorTrap& operator=(const TErrorTrap&) = delete;

 private:
  XErrorHandler saved_;
};

// How many errors our connections have had, and the last as
// "request code/error code" (empty for none).
uint32_t X11ErrorCount();
std::string X11LastError();

class TX11Connection {
 public:
  // Opens $DISPLAY unless open; false without Xlib, without a server or
  // after the connection broke.
  bool Connect();
  // Closes the connection with the cursors made on it.
  void Disconnect();
  // Open and not broken: requests may be sent.
  bool Usable() const { return display_ != nullptr && !lost_; }
  bool IsOpen() const { return display_ != nullptr; }
  bool Lost() const { return lost_; }
  Display* Handle() const { return display_; }
  bool SharedMemory() const { return sharedMemory_; }
  // The server took a shared request and then failed it: it is on another machine.
  void RefuseSharedMemory() { sharedMemory_ = false; }
  bool Shape() const { return shape_; }
  // The cursor of shape, made on the first request; window lends its
  // screen to the blank cursor.
  Cursor CursorFor(TCursorShape shape, Window window);

 private:
  static void ConnectionGone(Display*, void* connection);
  bool HasExtension(const char* name) const;

  Display* display_ = nullptr;
  bool lost_ = false;
  bool sharedMemory_ = false;
  bool shape_ = false;
  std::map<TCursorShape, Cursor> cursors_;
};

}  // namespace zelk::platform
