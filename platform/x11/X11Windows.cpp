#include "platform/x11/X11Windows.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/x11/X11Input.h"
#include "platform/x11/X11WindowState.h"

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
// More update rectangles than this are painted as their bounds.
constexpr size_t kMostPaintRectangles = 8;

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

// --- The state: windows on the server ---

uint64_t TX11WindowSystem::TState::Now() const {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - Start).count());
}

bool TX11WindowSystem::TState::AnyServerWindow() const {
  const auto& windows = Core.Windows();
  return std::any_of(windows.begin(), windows.end(),
                     [](const auto& entry) { return static_cast<const TX11Window&>(*entry.second).Id != 0; });
}

void TX11WindowSystem::TState::DisconnectWhenUnused() {
  if (!AnyServerWindow()) Server.Disconnect();
}

void TX11WindowSystem::TState::AbandonConnection() {
  std::vector<TNativeWindow> roots;
  for (const auto& [id, window] : Core.Windows()) {
    if (Core.IsRoot(*window) && static_cast<const TX11Window&>(*window).Id != 0) roots.push_back(id);
  }
  std::vector<TDetachedWindows> gone;
  for (const TNativeWindow root : roots) {
    gone.push_back(Core.Detach(root, true));
    ReleaseServerSide(gone.back());
  }
  Server.Disconnect();
  for (const TDetachedWindows& detached : gone) Core.TellDestroyed(detached);
}

void TX11WindowSystem::TState::ReleaseServerSide(const TDetachedWindows& detached) {
  for (const auto& [id, record] : detached.Windows) {
    auto& window = static_cast<TX11Window&>(*record);
    if (window.Context != nullptr && Server.Usable()) XFreeGC(Server.Handle(), window.Context);
    window.Context = nullptr;
    window.Image.reset();
  }
}

void TX11WindowSystem::TState::UpdateMapping(const TX11Window& window) {
  if (window.Id == 0) return;
  if (window.Visible && !window.Bounds.IsEmpty()) {
    XMapWindow(Server.Handle(), window.Id);
  } else {
    XUnmapWindow(Server.Handle(), window.Id);
  }
}

void TX11WindowSystem::TState::UncoverParent(TNativeWindow id) {
  const TX11Window* window = Find(id);
  if (window == nullptr || window->Id == 0 || !Core.IsShowing(id)) return;
  const TRect area = window->Bounds;
  Core.Invalidate(window->Parent, area);
  for (const auto& [other, record] : Core.Windows()) {
    if (record->Parent == window->Parent) InvalidateUnder(other, area, id);
  }
}

void TX11WindowSystem::TState::InvalidateUnder(TNativeWindow id, const TRect& area, TNativeWindow skip) {
  const TX11Window* window = Find(id);
  if (window == nullptr || id == skip || !window->Visible) return;
  const TRect met = IntersectRect(area, window->Bounds);
  if (met.IsEmpty()) return;
  const TRect inside = met.Offset(-window->Bounds.Left, -window->Bounds.Top);
  Core.Invalidate(id, inside);
  for (const TNativeWindow child : window->Children) InvalidateUnder(child, inside, skip);
}

void TX11WindowSystem::TState::SelectKeys(TNativeWindow id, bool keys) {
  const TX11Window* window = Find(id);
  if (window == nullptr || window->Id == 0 || !Server.Usable()) return;
  TErrorTrap trap;
  XSelectInput(Server.Handle(), window->Id, keys ? kEventMask | kKeyMask : kEventMask);
}

void TX11WindowSystem::TState::MoveFocus(TNativeWindow id, bool fromServer) {
  Core.MoveFocus(id, [this, id, fromServer](TNativeWindow previous) {
    SelectKeys(previous, false);
    SelectKeys(id, true);
    const TX11Window* window = Find(id);
    if (fromServer || !Server.Usable()) return;
    // Even when none of our server windows takes the focus, what the server
    // answers to earlier requests is stale now: it would give the focus back
    // to the window just left.
    FocusRequest = NextRequest(Server.Handle());
    TErrorTrap trap;
    if (window != nullptr && window->Id != 0) XSetInputFocus(Server.Handle(), window->Id, RevertToParent, CurrentTime);
    // The server has moved the focus and the key selection when SetFocus
    // returns: a key another client sends after it (a host's, XTest's)
    // would otherwise reach the window the pointer is over, which takes no
    // keys, and be lost.
    XSync(Server.Handle(), False);
  });
}

// --- The seam ---

TX11WindowSystem::TX11WindowSystem() : state_(std::make_unique<TState>()) {}

TX11WindowSystem::~TX11WindowSystem() {
  // Whatever is still open at unload goes with the connection.
  for (const auto& [id, window] : state_->Core.Windows()) static_cast<TX11Window&>(*window).Image.reset();
  state_->Core.Clear();
  state_->Server.Disconnect();
}

TNativeWindow TX11WindowSystem::CreateChild(TNativeWindow parent, const TRect& bounds, TWindowClient& client) {
  TState& state = *state_;
  auto window = std::make_unique<TX11Window>();
  window->Parent = parent;
  window->Client = &client;
  window->Bounds = bounds;
  if (parent == 0 && bounds.IsEmpty()) {
    const TNativeWindow id = ++state.LastMessageWindow;
    state.Core.Add(id, std::move(window));
    return id;
  }
  const TX11Window* ourParent = state.Find(parent);
  if (ourParent != nullptr && ourParent->Id == 0) return 0;
  if (!state.Server.Connect()) return 0;
  Display* display = state.Server.Handle();
  TErrorTrap trap;
  const uint32_t errorsBefore = X11ErrorCount();
  const Window parentId = parent == 0 ? DefaultRootWindow(display) : static_cast<Window>(parent);
  XWindowAttributes parentAttributes{};
  if (!XGetWindowAttributes(display, parentId, &parentAttributes) || X11ErrorCount() != errorsBefore) {
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
  if (id == 0 || X11ErrorCount() != errorsBefore) {
    if (id != 0) XDestroyWindow(display, id);
    state.DisconnectWhenUnused();
    return 0;
  }
  window->Id = id;
  window->WindowVisual = parentAttributes.visual;
  window->Depth = parentAttributes.depth;
  state.Core.Add(id, std::move(window));
  return id;
}

void TX11WindowSystem::DestroyWindow(TNativeWindow window) {
  TState& state = *state_;
  const TX11Window* record = state.Find(window);
  if (record == nullptr) return;
  const Window id = record->Id;
  TDetachedWindows detached;
  state.UncoverParent(window);
  {
    std::optional<TErrorTrap> trap;
    if (state.Server.IsOpen()) trap.emplace();
    detached = state.Core.Detach(window, false);
    state.ReleaseServerSide(detached);
    if (id != 0 && state.Server.Usable()) {
      XDestroyWindow(state.Server.Handle(), id);
      // Gone, with its images' segments detached, when the host's close returns.
      XSync(state.Server.Handle(), False);
    }
  }
  if (id != 0) state.DisconnectWhenUnused();
  state.Core.TellDestroyed(detached);
}

void TX11WindowSystem::PlaceWindow(TNativeWindow window, const TRect& bounds) {
  TState& state = *state_;
  TX11Window* record = state.Find(window);
  if (record == nullptr) return;
  if (record->Id == 0 || !state.Server.Usable()) {
    record->Bounds = bounds;
    return;
  }
  if (bounds != record->Bounds) state.UncoverParent(window);
  TErrorTrap trap;
  XMoveResizeWindow(state.Server.Handle(), record->Id, bounds.Left, bounds.Top,
                    static_cast<unsigned>(std::max(bounds.Width(), 1)),
                    static_cast<unsigned>(std::max(bounds.Height(), 1)));
  state.Core.Place(window, bounds);
  state.UpdateMapping(*record);
}

void TX11WindowSystem::ShowWindow(TNativeWindow window, bool visible) {
  TState& state = *state_;
  if (!visible) state.UncoverParent(window);
  if (!state.Core.Show(window, visible)) return;
  const TX11Window* record = state.Find(window);
  if (record->Id == 0 || !state.Server.Usable()) return;
  TErrorTrap trap;
  state.UpdateMapping(*record);
  XFlush(state.Server.Handle());
}

void TX11WindowSystem::Invalidate(TNativeWindow window, const TRect& area) { state_->Core.Invalidate(window, area); }

void TX11WindowSystem::SetCapture(TNativeWindow window) { state_->Core.SetCapture(window); }

void TX11WindowSystem::SetFocus(TNativeWindow window) { state_->MoveFocus(window, false); }

bool TX11WindowSystem::SetTimer(TNativeWindow window, uint32_t id, uint32_t milliseconds) {
  return state_->Core.SetTimer(window, id, milliseconds, state_->Now());
}

void TX11WindowSystem::KillTimer(TNativeWindow window, uint32_t id) { state_->Core.KillTimer(window, id); }

bool TX11WindowSystem::IsKeyDown(uint16_t virtualKey) const {
  const TX11Connection& server = state_->Server;
  if (!server.Usable()) return false;
  Display* display = server.Handle();
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
  if (state.Server.IsOpen()) trap.emplace();
  state.PresentedInPump = false;
  state.ReadEvents();
  // Each timer fires once per call: periods missed between two idle calls
  // are one late firing, as a window system coalesces them.
  state.Core.FireDueTimers(state.Now(), TTimerCatchUp::tcOncePerCall);
  state.Core.PaintInvalid(kMostPaintRectangles);
  // Host windows destroyed under ours may have taken the last of them.
  state.DisconnectWhenUnused();
  if (!state.Server.Usable()) return;
  // What was put is on the screen, and the shared images are free again,
  // when the host's idle call returns: the one round trip of a frame.
  if (state.PresentedInPump) {
    state.WaitForImages();
  } else {
    XFlush(state.Server.Handle());
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
  if (!LoadXlib() || !state.Server.Connect()) return 1.0;
  TErrorTrap trap;
  return XftDpiScale(XResourceManagerString(state.Server.Handle()));
}

bool TX11WindowSystem::IsConnected() const { return state_->Server.IsOpen(); }
bool TX11WindowSystem::UsesSharedMemory() const { return state_->Server.SharedMemory() && state_->SharedMemoryAllowed; }
bool TX11WindowSystem::HasShape() const { return state_->Server.Shape(); }
size_t TX11WindowSystem::WindowCount() const { return state_->Core.Windows().size(); }
uint64_t TX11WindowSystem::PresentedPixels() const { return state_->PresentedPixels; }
uint32_t TX11WindowSystem::PaintsDelivered() const { return state_->Core.PaintsDelivered(); }
uint32_t TX11WindowSystem::ErrorCount() const { return X11ErrorCount(); }
std::string TX11WindowSystem::LastError() const { return X11LastError(); }
void TX11WindowSystem::SetSharedMemoryAllowed(bool allowed) { state_->SharedMemoryAllowed = allowed; }

TX11WindowSystem& X11Windows() {
  static TX11WindowSystem windows;
  return windows;
}

}  // namespace zelk::platform
