#include "platform/x11/X11Windows.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/shape.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <string_view>
#include <map>
#include <optional>
#include <vector>

#include "platform/RectSet.h"
#include "platform/Region.h"
#include "platform/x11/X11Image.h"
#include "platform/x11/X11Input.h"

// Last of the includes: this file's X calls go through the functions
// loaded on first need.
#include "platform/x11/XlibLoader.h"

namespace zelk::platform {

namespace {

constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            EnterWindowMask | LeaveWindowMask | FocusChangeMask | StructureNotifyMask;
// Keys are selected only while a window of ours holds the focus: otherwise
// X passes them on to the host's window, whose keys they are (Return and
// Escape of its dialog), even with the pointer over the editor.
constexpr long kKeyMask = KeyPressMask | KeyReleaseMask;
// Paint handlers that keep invalidating their own window would never let
// Pump return.
constexpr int kMostPaintRounds = 16;
// One notch of the wheel, as the window seam counts it.
constexpr int32_t kWheelNotch = 120;
// More update rectangles than this are painted as their bounds.
constexpr size_t kMostPaintRectangles = 8;
// Message-only windows get ids above every X resource id (29 bits).
constexpr TNativeWindow kMessageWindowBase = TNativeWindow{1} << 31;

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

// Our handler is in place while we talk to the server, the host's before
// and after: errors of our connection are only read inside our calls, and
// a host's errors arriving meanwhile still reach its handler.
class TErrorTrap {
 public:
  TErrorTrap() : saved_(XSetErrorHandler(&RecordError)) {
    if (saved_ != &RecordError) gForeignHandler = saved_;
  }
  ~TErrorTrap() { XSetErrorHandler(saved_); }
  TErrorTrap(const TErrorTrap&) = delete;
  TErrorTrap& operator=(const TErrorTrap&) = delete;

 private:
  XErrorHandler saved_;
};

TRect ExposedArea(const XExposeEvent& event) { return BoundsRect(event.x, event.y, event.width, event.height); }

// Our windows take their parent's visual, and pixels are written through
// its colour masks: right only for true-colour visuals (a colour-mapped
// 8-bit screen would show a black window, a direct-colour one whatever its
// colour map makes of them).
bool IsTrueColour(const Visual* visual) { return visual->c_class == TrueColor; }

void ReportUnsupportedVisual(const XWindowAttributes& attributes) {
  std::fprintf(stderr, "Zelk: unsupported visual (class %d, depth %d): the editor needs a true-colour screen\n",
               attributes.visual->c_class, attributes.depth);
}

}  // namespace

struct TX11WindowSystem::TState {
  struct TTimer {
    uint32_t Interval = 0;
    uint64_t Due = 0;
    uint64_t Sequence = 0;
  };

  struct TWindow {
    Window Id = 0;  // 0 for a message-only window
    TNativeWindow Parent = 0;
    TWindowClient* Client = nullptr;
    TRect Bounds;
    bool Visible = false;
    TRectSet Invalid;
    std::map<uint32_t, TTimer> Timers;
    Visual* WindowVisual = nullptr;
    int Depth = 0;
    GC Context = nullptr;
    std::unique_ptr<TX11Image> Image;

    TRect ClientRect() const { return {0, 0, Bounds.Width(), Bounds.Height()}; }
  };

  Display* DisplayConnection = nullptr;
  bool ConnectionLost = false;
  bool SharedMemory = false;
  bool SharedMemoryAllowed = true;
  bool Shape = false;
  std::map<TCursorShape, Cursor> Cursors;
  std::map<TNativeWindow, std::unique_ptr<TWindow>> Windows;
  TNativeWindow LastMessageWindow = kMessageWindowBase;
  TNativeWindow Capture = 0;
  TNativeWindow Focus = 0;
  unsigned long FocusRequest = 0;  // serial of our last focus request
  bool ImagesBusy = false;         // the server may still read a shared image
  bool PresentedInPump = false;
  uint64_t TimerSequence = 0;
  uint64_t PresentedPixels = 0;
  uint32_t PaintsDelivered = 0;
  std::chrono::steady_clock::time_point Start = std::chrono::steady_clock::now();

  TWindow* Find(TNativeWindow window) const {
    const auto found = Windows.find(window);
    return found == Windows.end() ? nullptr : found->second.get();
  }

  uint64_t Now() const {
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - Start).count());
  }

  // --- The connection ---

  static void ConnectionGone(Display*, void* state) { static_cast<TState*>(state)->ConnectionLost = true; }

  bool Connect() {
    if (DisplayConnection != nullptr) return !ConnectionLost;
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
    DisplayConnection = XOpenDisplay(nullptr);
    if (DisplayConnection == nullptr) return false;
    ConnectionLost = false;
    gRecordedDisplay = DisplayConnection;
    // A broken connection must not end the host (where Xlib lets us say so:
    // versions before 1.7 end the process whatever the handler does).
    if (XSetIOErrorExitHandler != nullptr) XSetIOErrorExitHandler(DisplayConnection, &ConnectionGone, this);
    // Asking an extension's library about a server without the extension
    // prints a complaint on every open (remote displays have no MIT-SHM):
    // the server is asked first.
    int major = 0;
    int minor = 0;
    Bool pixmaps = False;
    SharedMemory = HasExtension("MIT-SHM") && XShmQueryVersion(DisplayConnection, &major, &minor, &pixmaps) != 0;
    int eventBase = 0;
    int errorBase = 0;
    Shape = HasExtension("SHAPE") && XShapeQueryExtension(DisplayConnection, &eventBase, &errorBase) != 0;
    return true;
  }

  bool HasExtension(const char* name) const {
    int opcode = 0;
    int eventBase = 0;
    int errorBase = 0;
    return XQueryExtension(DisplayConnection, name, &opcode, &eventBase, &errorBase) != 0;
  }

  void Disconnect() {
    if (DisplayConnection == nullptr) return;
    if (!ConnectionLost) {
      TErrorTrap trap;
      for (const auto& [shape, cursor] : Cursors) XFreeCursor(DisplayConnection, cursor);
    }
    Cursors.clear();
    XCloseDisplay(DisplayConnection);
    if (gRecordedDisplay == DisplayConnection) gRecordedDisplay = nullptr;
    DisplayConnection = nullptr;
    ConnectionLost = false;
    ImagesBusy = false;
  }

  bool AnyServerWindow() const {
    return std::any_of(Windows.begin(), Windows.end(), [](const auto& entry) { return entry.second->Id != 0; });
  }

  void DisconnectWhenUnused() {
    if (!AnyServerWindow()) Disconnect();
  }

  // Every window on the server is gone with the connection.
  void AbandonConnection() {
    std::vector<TNativeWindow> gone;
    for (const auto& [id, window] : Windows) {
      if (window->Id != 0) gone.push_back(id);
    }
    std::vector<TWindowClient*> clients;
    for (const TNativeWindow id : gone) {
      TWindow* window = Find(id);
      window->Image.reset();
      clients.push_back(window->Client);
      Windows.erase(id);
      Forget(id);
    }
    Disconnect();
    TellDestroyed(gone, clients);
  }

  // --- Windows ---

  void Forget(TNativeWindow id) {
    if (Capture == id) Capture = 0;
    if (Focus == id) Focus = 0;
  }

  void TellDestroyed(const std::vector<TNativeWindow>& ids, const std::vector<TWindowClient*>& clients) {
    TWindowEvent destroyed;
    destroyed.Kind = TWindowEventKind::ekDestroyed;
    for (size_t index = 0; index < ids.size(); ++index) {
      if (clients[index] != nullptr) clients[index]->HandleWindowEvent(ids[index], destroyed);
    }
  }

  // The window and its descendants among ours, the window first.
  std::vector<TNativeWindow> Subtree(TNativeWindow root) const {
    std::vector<TNativeWindow> members{root};
    for (size_t index = 0; index < members.size(); ++index) {
      for (const auto& [id, window] : Windows) {
        if (window->Parent == members[index]) members.push_back(id);
      }
    }
    return members;
  }

  // Drops the records of a subtree (the server's side is the caller's) and
  // answers the descendants with their clients, to be told.
  void DropSubtree(TNativeWindow root, std::vector<TNativeWindow>& told, std::vector<TWindowClient*>& clients,
                   bool tellRoot) {
    for (const TNativeWindow id : Subtree(root)) {
      TWindow* window = Find(id);
      if (window->Context != nullptr && !ConnectionLost) XFreeGC(DisplayConnection, window->Context);
      window->Image.reset();
      if (id != root || tellRoot) {
        told.push_back(id);
        clients.push_back(window->Client);
      }
      Windows.erase(id);
      Forget(id);
    }
  }

  bool IsShowing(const TWindow& window) const {
    for (const TWindow* at = &window; at != nullptr; at = Find(at->Parent)) {
      if (!at->Visible) return false;
    }
    return true;
  }

  void UpdateMapping(const TWindow& window) {
    if (window.Id == 0) return;
    if (window.Visible && !window.Bounds.IsEmpty()) {
      XMapWindow(DisplayConnection, window.Id);
    } else {
      XUnmapWindow(DisplayConnection, window.Id);
    }
  }

  void Deliver(TNativeWindow id, const TWindowEvent& event) {
    const TWindow* window = Find(id);
    if (window != nullptr && window->Client != nullptr) window->Client->HandleWindowEvent(id, event);
  }

  // --- Focus ---

  // Selects the keys of the window holding the focus, and of no other.
  void SelectKeys(TNativeWindow id, bool keys) {
    const TWindow* window = Find(id);
    if (window == nullptr || window->Id == 0 || DisplayConnection == nullptr || ConnectionLost) return;
    TErrorTrap trap;
    XSelectInput(DisplayConnection, window->Id, keys ? kEventMask | kKeyMask : kEventMask);
  }

  void MoveFocus(TNativeWindow id) {
    if (id == Focus) return;
    const TNativeWindow previous = Focus;
    Focus = id;
    SelectKeys(previous, false);
    SelectKeys(id, true);
    const TWindow* window = Find(id);
    if (window != nullptr && window->Id != 0 && DisplayConnection != nullptr && !ConnectionLost) {
      TErrorTrap trap;
      FocusRequest = NextRequest(DisplayConnection);
      XSetInputFocus(DisplayConnection, window->Id, RevertToParent, CurrentTime);
    } else if (DisplayConnection != nullptr) {
      // What the server answers to earlier requests is stale now: it would
      // give the focus back to the window just left.
      FocusRequest = NextRequest(DisplayConnection);
    }
    TWindowEvent event;
    event.Kind = TWindowEventKind::ekFocusOut;
    if (previous != 0) Deliver(previous, event);
    event.Kind = TWindowEventKind::ekFocusIn;
    if (id != 0 && Focus == id) Deliver(id, event);
  }

  // --- Events from the server ---

  void ReadEvents() {
    while (DisplayConnection != nullptr && !ConnectionLost && XPending(DisplayConnection) > 0) {
      XEvent event;
      XNextEvent(DisplayConnection, &event);
      Dispatch(event);
    }
    if (ConnectionLost) AbandonConnection();
  }

  void Dispatch(XEvent& event) {
    const TNativeWindow id = event.xany.window;
    TWindow* window = Find(id);
    switch (event.type) {
      case Expose:
        if (window != nullptr) window->Invalid.Add(IntersectRect(ExposedArea(event.xexpose), window->ClientRect()));
        break;
      case ButtonPress:
      case ButtonRelease:
        if (window != nullptr) Button(id, event.xbutton);
        break;
      case MotionNotify:
        // Only the latest position of a drag matters.
        while (XCheckTypedWindowEvent(DisplayConnection, event.xmotion.window, MotionNotify, &event)) {
        }
        if (window != nullptr) Pointer(id, TWindowEventKind::ekMouseMove, event.xmotion.x, event.xmotion.y,
                                       event.xmotion.x_root, event.xmotion.y_root, TMouseButton::mbLeft,
                                       ModifiersOf(event.xmotion.state));
        break;
      case EnterNotify:
        // The toolkit learns of entering from the first position.
        if (window != nullptr && (Capture == 0 || Capture == id)) {
          Pointer(id, TWindowEventKind::ekMouseMove, event.xcrossing.x, event.xcrossing.y, event.xcrossing.x_root,
                  event.xcrossing.y_root, TMouseButton::mbLeft, ModifiersOf(event.xcrossing.state));
        }
        break;
      case LeaveNotify:
        if (window != nullptr && Capture != id) {
          TWindowEvent leave;
          leave.Kind = TWindowEventKind::ekMouseLeave;
          Deliver(id, leave);
        }
        break;
      case KeyPress:
      case KeyRelease:
        if (window != nullptr) Key(id, event.xkey);
        break;
      case FocusIn:
      case FocusOut:
        if (window != nullptr) FocusChange(id, event.xfocus);
        break;
      case DestroyNotify:
        // Ours are dropped before they are destroyed: this one went with a
        // window of the host.
        if (Find(event.xdestroywindow.window) != nullptr) {
          std::vector<TNativeWindow> told;
          std::vector<TWindowClient*> clients;
          DropSubtree(event.xdestroywindow.window, told, clients, true);
          TellDestroyed(told, clients);
        }
        break;
      case MappingNotify:
        XRefreshKeyboardMapping(&event.xmapping);
        break;
      default:
        break;
    }
  }

  void Button(TNativeWindow id, const XButtonEvent& event) {
    TMouseButton button;
    uint32_t flag;
    switch (event.button) {
      case Button1:
        button = TMouseButton::mbLeft;
        flag = mfLeftButton;
        break;
      case Button2:
        button = TMouseButton::mbMiddle;
        flag = mfMiddleButton;
        break;
      case Button3:
        button = TMouseButton::mbRight;
        flag = mfRightButton;
        break;
      case Button4:
      case Button5:
        // The wheel: each notch is a press and a release; the press counts.
        if (event.type == ButtonPress) Wheel(id, event, event.button == Button4 ? kWheelNotch : -kWheelNotch);
        return;
      default:
        return;  // extra buttons
    }
    const bool press = event.type == ButtonPress;
    // A click leaves the keyboard focus where it is: the toolkit asks for it
    // when the clicked control takes keys (SetFocus).
    const uint32_t modifiers = press ? ModifiersOf(event.state) | flag : ModifiersOf(event.state) & ~flag;
    Pointer(id, press ? TWindowEventKind::ekMouseDown : TWindowEventKind::ekMouseUp, event.x, event.y, event.x_root,
            event.y_root, button, modifiers);
  }

  void Wheel(TNativeWindow id, const XButtonEvent& event, int32_t delta) {
    TWindowEvent wheel;
    wheel.Kind = TWindowEventKind::ekMouseWheel;
    wheel.Point = {event.x, event.y};
    wheel.WheelDelta = delta;
    wheel.Modifiers = ModifiersOf(event.state);
    Deliver(id, wheel);
  }

  void Pointer(TNativeWindow id, TWindowEventKind kind, int x, int y, int rootX, int rootY, TMouseButton button,
               uint32_t modifiers) {
    TWindowEvent event;
    event.Kind = kind;
    event.Point = {x, y};
    event.Button = button;
    event.Modifiers = modifiers;
    TNativeWindow target = id;
    if (Capture != 0 && Capture != id) {
      const TWindow* capture = Find(Capture);
      if (capture == nullptr || capture->Id == 0) return;
      Window child = 0;
      int localX = 0;
      int localY = 0;
      XTranslateCoordinates(DisplayConnection, DefaultRootWindow(DisplayConnection), capture->Id, rootX, rootY,
                            &localX, &localY, &child);
      event.Point = {localX, localY};
      target = Capture;
    }
    Deliver(target, event);
  }

  void Key(TNativeWindow id, XKeyEvent& event) {
    const TNativeWindow target = Find(Focus) != nullptr ? Focus : id;
    TWindowEvent key;
    key.Kind = event.type == KeyPress ? TWindowEventKind::ekKeyDown : TWindowEventKind::ekKeyUp;
    key.Modifiers = ModifiersOf(event.state);
    key.Code = VirtualKeyOf(XLookupKeysym(&event, 0));
    const char16_t character = event.type == KeyPress ? CharacterOf(event) : 0;
    if (key.Code != 0) Deliver(target, key);
    if (character != 0) {
      TWindowEvent typed;
      typed.Kind = TWindowEventKind::ekChar;
      typed.Code = character;
      typed.Modifiers = key.Modifiers;
      Deliver(target, typed);
    }
  }

  void FocusChange(TNativeWindow id, const XFocusChangeEvent& event) {
    // Our own requests have told the clients already; grabs and the
    // pointer's passing focus move nothing.
    if (event.serial < FocusRequest || event.mode == NotifyGrab || event.mode == NotifyUngrab ||
        event.detail == NotifyPointer || event.detail == NotifyInferior) {
      return;
    }
    if (event.type == FocusIn) {
      if (Focus != id) MoveFocusFromServer(id);
    } else if (Focus == id) {
      MoveFocusFromServer(0);
    }
  }

  void MoveFocusFromServer(TNativeWindow id) {
    const TNativeWindow previous = Focus;
    Focus = id;
    SelectKeys(previous, false);
    SelectKeys(id, true);
    TWindowEvent event;
    event.Kind = TWindowEventKind::ekFocusOut;
    if (previous != 0) Deliver(previous, event);
    event.Kind = TWindowEventKind::ekFocusIn;
    if (id != 0 && Focus == id) Deliver(id, event);
  }

  // --- Timers ---

  void FireDueTimers() {
    const uint64_t now = Now();
    // Each timer fires once per call: periods missed between two idle calls
    // are one late firing, as a window system coalesces them.
    std::vector<std::pair<TNativeWindow, uint32_t>> fired;
    for (;;) {
      TNativeWindow dueWindow = 0;
      uint32_t dueId = 0;
      const TTimer* due = nullptr;
      for (const auto& [id, window] : Windows) {
        for (const auto& [timerId, timer] : window->Timers) {
          if (timer.Due > now || std::find(fired.begin(), fired.end(), std::pair{id, timerId}) != fired.end()) continue;
          if (due == nullptr || timer.Due < due->Due || (timer.Due == due->Due && timer.Sequence < due->Sequence)) {
            due = &timer;
            dueWindow = id;
            dueId = timerId;
          }
        }
      }
      if (due == nullptr) return;
      TTimer& timer = Find(dueWindow)->Timers[dueId];
      timer.Due = timer.Due + timer.Interval > now ? timer.Due + timer.Interval : now + timer.Interval;
      fired.emplace_back(dueWindow, dueId);
      TWindowEvent event;
      event.Kind = TWindowEventKind::ekTimer;
      event.Code = dueId;
      Deliver(dueWindow, event);
    }
  }

  // --- Painting ---

  bool PaintInvalid() {
    bool delivered = false;
    std::vector<TNativeWindow> ids;
    for (const auto& [id, window] : Windows) {
      if (window->Id != 0 && !window->Invalid.IsEmpty()) ids.push_back(id);
    }
    for (const TNativeWindow id : ids) {
      TWindow* window = Find(id);
      if (window == nullptr || window->Invalid.IsEmpty() || !IsShowing(*window)) continue;
      std::vector<TRect> areas = window->Invalid.Rects();
      if (areas.size() > kMostPaintRectangles) areas = {window->Invalid.Bounds()};
      window->Invalid.Clear();
      for (const TRect& area : areas) {
        TWindowEvent paint;
        paint.Kind = TWindowEventKind::ekPaint;
        paint.Area = area;
        ++PaintsDelivered;
        delivered = true;
        Deliver(id, paint);
      }
    }
    return delivered;
  }

  TX11Image* ImageOf(TWindow& window) {
    const int width = window.Bounds.Width();
    const int height = window.Bounds.Height();
    if (window.Image && window.Image->Width() == width && window.Image->Height() == height) return window.Image.get();
    window.Image.reset();
    const uint32_t errorsBefore = gErrorCount;
    window.Image = TX11Image::Create(DisplayConnection, window.WindowVisual, window.Depth, width, height,
                                     SharedMemory && SharedMemoryAllowed);
    if (window.Image && window.Image->Shared() && gErrorCount != errorsBefore) {
      // The server refused the segment: it is on another machine.
      window.Image.reset();
      SharedMemory = false;
      window.Image = TX11Image::Create(DisplayConnection, window.WindowVisual, window.Depth, width, height, false);
    }
    return window.Image.get();
  }
};

TX11WindowSystem::TX11WindowSystem() : state_(std::make_unique<TState>()) {}

TX11WindowSystem::~TX11WindowSystem() {
  // Whatever is still open at unload goes with the connection.
  for (auto& [id, window] : state_->Windows) window->Image.reset();
  state_->Windows.clear();
  state_->Disconnect();
}

TNativeWindow TX11WindowSystem::CreateChild(TNativeWindow parent, const TRect& bounds, TWindowClient& client) {
  TState& state = *state_;
  auto window = std::make_unique<TState::TWindow>();
  window->Parent = parent;
  window->Client = &client;
  window->Bounds = bounds;
  if (parent == 0 && bounds.IsEmpty()) {
    const TNativeWindow id = ++state.LastMessageWindow;
    state.Windows[id] = std::move(window);
    return id;
  }
  const TState::TWindow* ourParent = state.Find(parent);
  if (ourParent != nullptr && ourParent->Id == 0) return 0;
  if (!state.Connect()) return 0;
  Display* display = state.DisplayConnection;
  TErrorTrap trap;
  const uint32_t errorsBefore = gErrorCount;
  const Window parentId = parent == 0 ? DefaultRootWindow(display) : static_cast<Window>(parent);
  XWindowAttributes parentAttributes{};
  if (!XGetWindowAttributes(display, parentId, &parentAttributes) || gErrorCount != errorsBefore) {
    state.DisconnectWhenUnused();
    return 0;
  }
  if (!IsTrueColour(parentAttributes.visual)) {
    ReportUnsupportedVisual(parentAttributes);
    state.DisconnectWhenUnused();
    return 0;
  }
  XSetWindowAttributes attributes{};
  attributes.background_pixmap = None;  // what we present covers it; no flash of a cleared window
  attributes.bit_gravity = NorthWestGravity;
  attributes.event_mask = kEventMask;
  const Window id = XCreateWindow(display, parentId, bounds.Left, bounds.Top,
                                  static_cast<unsigned>(std::max(bounds.Width(), 1)),
                                  static_cast<unsigned>(std::max(bounds.Height(), 1)), 0, CopyFromParent, InputOutput,
                                  CopyFromParent, CWBackPixmap | CWBitGravity | CWEventMask, &attributes);
  XSync(display, False);
  if (id == 0 || gErrorCount != errorsBefore) {
    if (id != 0) XDestroyWindow(display, id);
    state.DisconnectWhenUnused();
    return 0;
  }
  window->Id = id;
  window->WindowVisual = parentAttributes.visual;
  window->Depth = parentAttributes.depth;
  state.Windows[id] = std::move(window);
  return id;
}

void TX11WindowSystem::DestroyWindow(TNativeWindow window) {
  TState& state = *state_;
  const TState::TWindow* record = state.Find(window);
  if (record == nullptr) return;
  const Window id = record->Id;
  std::vector<TNativeWindow> told;
  std::vector<TWindowClient*> clients;
  {
    std::optional<TErrorTrap> trap;
    if (state.DisplayConnection != nullptr) trap.emplace();
    state.DropSubtree(window, told, clients, false);
    if (id != 0 && !state.ConnectionLost) {
      XDestroyWindow(state.DisplayConnection, id);
      // Gone, with its images' segments detached, when the host's close returns.
      XSync(state.DisplayConnection, False);
    }
  }
  if (id != 0) state.DisconnectWhenUnused();
  state.TellDestroyed(told, clients);
}

void TX11WindowSystem::PlaceWindow(TNativeWindow window, const TRect& bounds) {
  TState& state = *state_;
  TState::TWindow* record = state.Find(window);
  if (record == nullptr) return;
  const bool resized = bounds.Width() != record->Bounds.Width() || bounds.Height() != record->Bounds.Height();
  record->Bounds = bounds;
  if (record->Id == 0 || state.ConnectionLost) return;
  TErrorTrap trap;
  XMoveResizeWindow(state.DisplayConnection, record->Id, bounds.Left, bounds.Top,
                    static_cast<unsigned>(std::max(bounds.Width(), 1)),
                    static_cast<unsigned>(std::max(bounds.Height(), 1)));
  state.UpdateMapping(*record);
  if (resized) record->Invalid = TRectSet(record->ClientRect());
}

void TX11WindowSystem::ShowWindow(TNativeWindow window, bool visible) {
  TState& state = *state_;
  TState::TWindow* record = state.Find(window);
  if (record == nullptr || record->Visible == visible) return;
  record->Visible = visible;
  if (visible) record->Invalid = TRectSet(record->ClientRect());
  if (record->Id == 0 || state.ConnectionLost) return;
  TErrorTrap trap;
  state.UpdateMapping(*record);
  XFlush(state.DisplayConnection);
}

void TX11WindowSystem::Invalidate(TNativeWindow window, const TRect& area) {
  if (TState::TWindow* record = state_->Find(window)) record->Invalid.Add(IntersectRect(area, record->ClientRect()));
}

void TX11WindowSystem::Present(TNativeWindow window, const TRect& area, TSurface& surface, TPoint source) {
  TState& state = *state_;
  TState::TWindow* record = state.Find(window);
  if (record == nullptr || record->Id == 0 || state.ConnectionLost) return;
  const TRect target = IntersectRect(area, record->ClientRect());
  if (target.IsEmpty()) return;
  Display* display = state.DisplayConnection;
  TErrorTrap trap;
  // A shared image may still be read by the server from the last put.
  if (state.ImagesBusy) {
    XSync(display, False);
    state.ImagesBusy = false;
  }
  TX11Image* image = state.ImageOf(*record);
  if (image == nullptr) return;
  if (record->Context == nullptr) {
    XGCValues values{};
    values.graphics_exposures = False;
    record->Context = XCreateGC(display, record->Id, GCGraphicsExposures, &values);
  }
  image->CopyFrom(target, surface, {source.X + (target.Left - area.Left), source.Y + (target.Top - area.Top)});
  image->Put(record->Id, record->Context, target);
  state.ImagesBusy = image->Shared();
  state.PresentedInPump = true;
  state.PresentedPixels += static_cast<uint64_t>(target.Width()) * static_cast<uint64_t>(target.Height());
}

void TX11WindowSystem::SetCapture(TNativeWindow window) {
  TState& state = *state_;
  if (window == state.Capture || (window != 0 && state.Find(window) == nullptr)) return;
  const TNativeWindow previous = state.Capture;
  state.Capture = window;
  if (previous != 0 && window != 0) {
    TWindowEvent lost;
    lost.Kind = TWindowEventKind::ekCaptureLost;
    state.Deliver(previous, lost);
  }
}

void TX11WindowSystem::SetFocus(TNativeWindow window) {
  if (window != 0 && state_->Find(window) == nullptr) return;
  state_->MoveFocus(window);
}

void TX11WindowSystem::SetCursor(TNativeWindow window, TCursorShape shape) {
  TState& state = *state_;
  const TState::TWindow* record = state.Find(window);
  if (record == nullptr || record->Id == 0 || state.ConnectionLost) return;
  Display* display = state.DisplayConnection;
  TErrorTrap trap;
  auto cached = state.Cursors.find(shape);
  if (cached == state.Cursors.end()) {
    Cursor cursor = None;
    const int glyph = CursorGlyphOf(shape);
    if (glyph >= 0) {
      cursor = XCreateFontCursor(display, static_cast<unsigned>(glyph));
    } else {
      // No cursor: a one-pixel cursor with nothing in its mask.
      static const char kBlank = 0;
      const Pixmap blank = XCreateBitmapFromData(display, record->Id, &kBlank, 1, 1);
      XColor black{};
      cursor = XCreatePixmapCursor(display, blank, blank, &black, &black, 0, 0);
      XFreePixmap(display, blank);
    }
    cached = state.Cursors.emplace(shape, cursor).first;
  }
  XDefineCursor(display, record->Id, cached->second);
  XFlush(display);
}

void TX11WindowSystem::SetWindowRegion(TNativeWindow window, const TRegion* region) {
  TState& state = *state_;
  const TState::TWindow* record = state.Find(window);
  if (record == nullptr || record->Id == 0 || !state.Shape || state.ConnectionLost) return;
  Display* display = state.DisplayConnection;
  TErrorTrap trap;
  if (region == nullptr) {
    XShapeCombineMask(display, record->Id, ShapeBounding, 0, 0, None, ShapeSet);
  } else {
    std::vector<XRectangle> rectangles;
    for (const TRegionRect& rect : region->Rectangles()) {
      const TRect clipped = IntersectRect({rect.Left, rect.Top, rect.Right, rect.Bottom}, {-32768, -32768, 32767, 32767});
      if (clipped.IsEmpty()) continue;
      rectangles.push_back({static_cast<short>(clipped.Left), static_cast<short>(clipped.Top),
                            static_cast<unsigned short>(clipped.Width()), static_cast<unsigned short>(clipped.Height())});
    }
    XShapeCombineRectangles(display, record->Id, ShapeBounding, 0, 0, rectangles.data(),
                            static_cast<int>(rectangles.size()), ShapeSet, Unsorted);
  }
  XFlush(display);
}

bool TX11WindowSystem::SetTimer(TNativeWindow window, uint32_t id, uint32_t milliseconds) {
  TState& state = *state_;
  TState::TWindow* record = state.Find(window);
  if (record == nullptr) return false;
  const uint32_t interval = std::max<uint32_t>(milliseconds, 1);
  record->Timers[id] = {interval, state.Now() + interval, ++state.TimerSequence};
  return true;
}

void TX11WindowSystem::KillTimer(TNativeWindow window, uint32_t id) {
  if (TState::TWindow* record = state_->Find(window)) record->Timers.erase(id);
}

bool TX11WindowSystem::IsKeyDown(uint16_t virtualKey) const {
  const TState& state = *state_;
  Display* display = state.DisplayConnection;
  if (display == nullptr || state.ConnectionLost) return false;
  TErrorTrap trap;
  Window root = 0;
  Window child = 0;
  int rootX = 0;
  int rootY = 0;
  int x = 0;
  int y = 0;
  unsigned int mask = 0;
  XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &x, &y, &mask);
  const uint32_t modifiers = ModifiersOf(mask);
  switch (virtualKey) {
    case 1:  // vkLButton
      return (modifiers & mfLeftButton) != 0;
    case 2:  // vkRButton
      return (modifiers & mfRightButton) != 0;
    case 4:  // vkMButton
      return (modifiers & mfMiddleButton) != 0;
    default:
      break;
  }
  const KeySym symbol = KeySymOf(virtualKey);
  if (symbol == NoSymbol) return false;
  const KeyCode code = XKeysymToKeycode(display, symbol);
  if (code == 0) return false;
  char keys[32] = {};
  XQueryKeymap(display, keys);
  return (keys[code / 8] & (1 << (code % 8))) != 0;
}

uint32_t TX11WindowSystem::TickCount() const { return static_cast<uint32_t>(state_->Now()); }

void TX11WindowSystem::Pump() {
  TState& state = *state_;
  std::optional<TErrorTrap> trap;
  if (state.DisplayConnection != nullptr) trap.emplace();
  state.PresentedInPump = false;
  state.ReadEvents();
  state.FireDueTimers();
  for (int round = 0; round < kMostPaintRounds && state.PaintInvalid(); ++round) {
  }
  // Host windows destroyed under ours may have taken the last of them.
  state.DisconnectWhenUnused();
  if (state.DisplayConnection == nullptr || state.ConnectionLost) return;
  // What was put is on the screen, and the shared images are free again,
  // when the host's idle call returns.
  if (state.PresentedInPump) {
    XSync(state.DisplayConnection, False);
    state.ImagesBusy = false;
  } else {
    XFlush(state.DisplayConnection);
  }
}

void TX11WindowSystem::ShowMessage(TNativeWindow, std::string_view text) {
  // A modal box would stop the host's user-interface thread; the message
  // goes where a host's log goes.
  std::fprintf(stderr, "Zelk: %.*s\n", static_cast<int>(text.size()), text.data());
}

double XftDpiScale(const char* resources) {
  constexpr std::string_view kName = "Xft.dpi:";
  constexpr double kBaseDpi = 96.0;
  if (resources == nullptr) return 1.0;
  std::string_view rest(resources);
  while (!rest.empty()) {
    const size_t end = std::min(rest.find('\n'), rest.size());
    std::string_view line = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    if (line.substr(0, kName.size()) != kName) continue;
    line.remove_prefix(kName.size());
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    double dpi = 0.0;
    const auto [next, error] = std::from_chars(line.data(), line.data() + line.size(), dpi);
    if (error != std::errc{} || !(dpi >= 48.0 && dpi <= 960.0)) return 1.0;
    return dpi / kBaseDpi;
  }
  return 1.0;
}

// The editor's window follows at once, so the connection stays open for it;
// the next Pump closes it when no window came.
double TX11WindowSystem::DisplayScale(TNativeWindow) {
  TState& state = *state_;
  // Without Xlib the editor's window says why; the scale stays silent.
  if (!LoadXlib() || !state.Connect()) return 1.0;
  TErrorTrap trap;
  return XftDpiScale(XResourceManagerString(state.DisplayConnection));
}

bool TX11WindowSystem::IsConnected() const { return state_->DisplayConnection != nullptr; }
bool TX11WindowSystem::UsesSharedMemory() const { return state_->SharedMemory && state_->SharedMemoryAllowed; }
bool TX11WindowSystem::HasShape() const { return state_->Shape; }
size_t TX11WindowSystem::WindowCount() const { return state_->Windows.size(); }
uint64_t TX11WindowSystem::PresentedPixels() const { return state_->PresentedPixels; }
uint32_t TX11WindowSystem::PaintsDelivered() const { return state_->PaintsDelivered; }
uint32_t TX11WindowSystem::ErrorCount() const { return gErrorCount; }
std::string TX11WindowSystem::LastError() const { return gLastError; }
void TX11WindowSystem::SetSharedMemoryAllowed(bool allowed) { state_->SharedMemoryAllowed = allowed; }

TX11WindowSystem& X11Windows() {
  static TX11WindowSystem windows;
  return windows;
}

}  // namespace zelk::platform
