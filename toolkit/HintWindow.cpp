#include "toolkit/HintWindow.h"

#include <algorithm>
#include <vector>

#include "runtime/ClassBuilder.h"
#include "toolkit/InputState.h"
#include "toolkit/WinControl.h"

namespace zelk {

namespace {

constexpr int32_t kGlyphWidth = 5;
constexpr int32_t kGlyphHeight = 7;
constexpr int32_t kAdvance = kGlyphWidth + 1;
constexpr int32_t kPadding = 3;
// Below the pointer, clear of the arrow.
constexpr int32_t kPointerHeight = 20;
constexpr TColor kHintBackground = 0x00E1FFFF;  // pale yellow
constexpr TColor kHintInk = 0x00000000;

// Columns of the printable ASCII characters from ' ', bit 0 the top row.
constexpr uint8_t kFont[95][kGlyphWidth] = {
    {0x00, 0x00, 0x00, 0x00, 0x00},  // ' '
    {0x00, 0x00, 0x5F, 0x00, 0x00},  // '!'
    {0x00, 0x07, 0x00, 0x07, 0x00},  // '"'
    {0x14, 0x7F, 0x14, 0x7F, 0x14},  // '#'
    {0x24, 0x2A, 0x7F, 0x2A, 0x12},  // '$'
    {0x23, 0x13, 0x08, 0x64, 0x62},  // '%'
    {0x36, 0x49, 0x55, 0x22, 0x50},  // '&'
    {0x00, 0x05, 0x03, 0x00, 0x00},  // "'"
    {0x00, 0x1C, 0x22, 0x41, 0x00},  // '('
    {0x00, 0x41, 0x22, 0x1C, 0x00},  // ')'
    {0x08, 0x2A, 0x1C, 0x2A, 0x08},  // '*'
    {0x08, 0x08, 0x3E, 0x08, 0x08},  // '+'
    {0x00, 0x50, 0x30, 0x00, 0x00},  // ','
    {0x08, 0x08, 0x08, 0x08, 0x08},  // '-'
    {0x00, 0x60, 0x60, 0x00, 0x00},  // '.'
    {0x20, 0x10, 0x08, 0x04, 0x02},  // '/'
    {0x3E, 0x51, 0x49, 0x45, 0x3E},  // '0'
    {0x00, 0x42, 0x7F, 0x40, 0x00},  // '1'
    {0x42, 0x61, 0x51, 0x49, 0x46},  // '2'
    {0x21, 0x41, 0x45, 0x4B, 0x31},  // '3'
    {0x18, 0x14, 0x12, 0x7F, 0x10},  // '4'
    {0x27, 0x45, 0x45, 0x45, 0x39},  // '5'
    {0x3C, 0x4A, 0x49, 0x49, 0x30},  // '6'
    {0x01, 0x71, 0x09, 0x05, 0x03},  // '7'
    {0x36, 0x49, 0x49, 0x49, 0x36},  // '8'
    {0x06, 0x49, 0x49, 0x29, 0x1E},  // '9'
    {0x00, 0x36, 0x36, 0x00, 0x00},  // ':'
    {0x00, 0x56, 0x36, 0x00, 0x00},  // ';'
    {0x00, 0x08, 0x14, 0x22, 0x41},  // '<'
    {0x14, 0x14, 0x14, 0x14, 0x14},  // '='
    {0x41, 0x22, 0x14, 0x08, 0x00},  // '>'
    {0x02, 0x01, 0x51, 0x09, 0x06},  // '?'
    {0x32, 0x49, 0x79, 0x41, 0x3E},  // '@'
    {0x7E, 0x11, 0x11, 0x11, 0x7E},  // 'A'
    {0x7F, 0x49, 0x49, 0x49, 0x36},  // 'B'
    {0x3E, 0x41, 0x41, 0x41, 0x22},  // 'C'
    {0x7F, 0x41, 0x41, 0x22, 0x1C},  // 'D'
    {0x7F, 0x49, 0x49, 0x49, 0x41},  // 'E'
    {0x7F, 0x09, 0x09, 0x01, 0x01},  // 'F'
    {0x3E, 0x41, 0x41, 0x51, 0x32},  // 'G'
    {0x7F, 0x08, 0x08, 0x08, 0x7F},  // 'H'
    {0x00, 0x41, 0x7F, 0x41, 0x00},  // 'I'
    {0x20, 0x40, 0x41, 0x3F, 0x01},  // 'J'
    {0x7F, 0x08, 0x14, 0x22, 0x41},  // 'K'
    {0x7F, 0x40, 0x40, 0x40, 0x40},  // 'L'
    {0x7F, 0x02, 0x04, 0x02, 0x7F},  // 'M'
    {0x7F, 0x04, 0x08, 0x10, 0x7F},  // 'N'
    {0x3E, 0x41, 0x41, 0x41, 0x3E},  // 'O'
    {0x7F, 0x09, 0x09, 0x09, 0x06},  // 'P'
    {0x3E, 0x41, 0x51, 0x21, 0x5E},  // 'Q'
    {0x7F, 0x09, 0x19, 0x29, 0x46},  // 'R'
    {0x46, 0x49, 0x49, 0x49, 0x31},  // 'S'
    {0x01, 0x01, 0x7F, 0x01, 0x01},  // 'T'
    {0x3F, 0x40, 0x40, 0x40, 0x3F},  // 'U'
    {0x1F, 0x20, 0x40, 0x20, 0x1F},  // 'V'
    {0x7F, 0x20, 0x18, 0x20, 0x7F},  // 'W'
    {0x63, 0x14, 0x08, 0x14, 0x63},  // 'X'
    {0x03, 0x04, 0x78, 0x04, 0x03},  // 'Y'
    {0x61, 0x51, 0x49, 0x45, 0x43},  // 'Z'
    {0x00, 0x00, 0x7F, 0x41, 0x41},  // '['
    {0x02, 0x04, 0x08, 0x10, 0x20},  // '\\'
    {0x41, 0x41, 0x7F, 0x00, 0x00},  // ']'
    {0x04, 0x02, 0x01, 0x02, 0x04},  // '^'
    {0x40, 0x40, 0x40, 0x40, 0x40},  // '_'
    {0x00, 0x01, 0x02, 0x04, 0x00},  // '`'
    {0x20, 0x54, 0x54, 0x54, 0x78},  // 'a'
    {0x7F, 0x48, 0x44, 0x44, 0x38},  // 'b'
    {0x38, 0x44, 0x44, 0x44, 0x20},  // 'c'
    {0x38, 0x44, 0x44, 0x48, 0x7F},  // 'd'
    {0x38, 0x54, 0x54, 0x54, 0x18},  // 'e'
    {0x08, 0x7E, 0x09, 0x01, 0x02},  // 'f'
    {0x08, 0x14, 0x54, 0x54, 0x3C},  // 'g'
    {0x7F, 0x08, 0x04, 0x04, 0x78},  // 'h'
    {0x00, 0x44, 0x7D, 0x40, 0x00},  // 'i'
    {0x20, 0x40, 0x44, 0x3D, 0x00},  // 'j'
    {0x00, 0x7F, 0x10, 0x28, 0x44},  // 'k'
    {0x00, 0x41, 0x7F, 0x40, 0x00},  // 'l'
    {0x7C, 0x04, 0x18, 0x04, 0x78},  // 'm'
    {0x7C, 0x08, 0x04, 0x04, 0x78},  // 'n'
    {0x38, 0x44, 0x44, 0x44, 0x38},  // 'o'
    {0x7C, 0x14, 0x14, 0x14, 0x08},  // 'p'
    {0x08, 0x14, 0x14, 0x18, 0x7C},  // 'q'
    {0x7C, 0x08, 0x04, 0x04, 0x08},  // 'r'
    {0x48, 0x54, 0x54, 0x54, 0x20},  // 's'
    {0x04, 0x3F, 0x44, 0x40, 0x20},  // 't'
    {0x3C, 0x40, 0x40, 0x20, 0x7C},  // 'u'
    {0x1C, 0x20, 0x40, 0x20, 0x1C},  // 'v'
    {0x3C, 0x40, 0x30, 0x40, 0x3C},  // 'w'
    {0x44, 0x28, 0x10, 0x28, 0x44},  // 'x'
    {0x0C, 0x50, 0x50, 0x50, 0x3C},  // 'y'
    {0x44, 0x64, 0x54, 0x4C, 0x44},  // 'z'
    {0x00, 0x08, 0x36, 0x41, 0x00},  // '{'
    {0x00, 0x00, 0x7F, 0x00, 0x00},  // '|'
    {0x00, 0x41, 0x36, 0x08, 0x00},  // '}'
    {0x08, 0x04, 0x08, 0x10, 0x08},  // '~'
};

// The degree sign, which values in hints carry ("90.0 \u00B0").
constexpr uint8_t kDegreeGlyph[kGlyphWidth] = {0x00, 0x06, 0x09, 0x09, 0x06};

const uint8_t* GlyphOf(char32_t code) {
  if (code >= 32 && code < 127) return kFont[code - 32];
  return code == U'\u00B0' ? kDegreeGlyph : kFont['?' - 32];
}

// The glyphs of a UTF-8 text, one per character; a byte that starts no
// character is one unknown character.
std::vector<const uint8_t*> GlyphsOf(const std::string& text) {
  std::vector<const uint8_t*> glyphs;
  for (size_t at = 0; at < text.size();) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    const int followers = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    char32_t code = followers == 0 ? lead : lead & (0x3F >> followers);
    for (int i = 0; i < followers && at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80; ++i) {
      code = (code << 6) | (static_cast<unsigned char>(text[at++]) & 0x3F);
    }
    glyphs.push_back(GlyphOf(lead >= 0x80 && lead < 0xC0 ? U'?' : code));
  }
  return glyphs;
}

THintWindow*& SharedHintWindow() {
  static THintWindow* window = nullptr;
  return window;
}

// What the hint tracking waits for or shows.
struct THintState {
  TControl* Control = nullptr;      // the control whose hint is due or shown
  TWinControl* TimerWindow = nullptr;  // runs the hint timer
  TPoint Point;                     // the pointer, in Control's coordinates
  bool Shown = false;
};

THintState& HintState() {
  static THintState state;
  return state;
}

bool WantsHint(const TControl* control) { return control != nullptr && control->ShowHint() && !control->Hint().empty(); }

}  // namespace

const TClassInfo& THintWindow::StaticClass() {
  static const TClassInfo info = TClassBuilder<THintWindow>("THintWindow").Build();
  return info;
}

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
  SetVisible(false);
  SetColor(kHintBackground);
}

TPoint THintWindow::HintSize(const std::string& text) {
  const auto length = static_cast<int32_t>(GlyphsOf(text).size());
  return {length * kAdvance - (length > 0 ? 1 : 0) + 2 * kPadding, kGlyphHeight + 2 * kPadding};
}

void THintWindow::ActivateHint(TControl& control, TPoint point, std::string text) {
  TPoint origin;
  TWinControl* top = TopControlOf(control, origin);
  if (top == nullptr || top == this) return;
  const TPoint size = HintSize(text);
  TPoint at{origin.X + point.X, origin.Y + point.Y};
  at.X = std::max(0, std::min(at.X, top->Width() - size.X));
  at.Y = std::max(0, std::min(at.Y, top->Height() - size.Y));
  caption_ = std::move(text);
  SetParentWindow(top->Handle());
  SetBounds(at.X, at.Y, size.X, size.Y);
  Invalidate();
  Show();
}

void THintWindow::ReleaseHint() { Hide(); }

void THintWindow::Paint() {
  platform::TCanvas& canvas = *Canvas();
  canvas.Brush().Style = platform::TBrushStyle::bsSolid;
  canvas.Brush().Color = kHintInk;
  // A one-pixel frame, then the text.
  canvas.FillRect(0, 0, Width(), 1);
  canvas.FillRect(0, Height() - 1, Width(), Height());
  canvas.FillRect(0, 0, 1, Height());
  canvas.FillRect(Width() - 1, 0, Width(), Height());
  int32_t left = kPadding;
  for (const uint8_t* glyph : GlyphsOf(caption_)) {
    for (int32_t column = 0; column < kGlyphWidth; ++column) {
      for (int32_t row = 0; row < kGlyphHeight; ++row) {
        if ((glyph[column] >> row) & 1) canvas.FillRect(left + column, kPadding + row, left + column + 1, kPadding + row + 1);
      }
    }
    left += kAdvance;
  }
}

THintWindow& ApplicationHintWindow() {
  THintWindow*& window = SharedHintWindow();
  if (window == nullptr) window = New<THintWindow>(nullptr);
  return *window;
}

void FreeApplicationHintWindow() {
  CancelHint();
  TObject::Free(SharedHintWindow());
  SharedHintWindow() = nullptr;
}

void HintMouseMoved(TWinControl& window, TControl* hover, TPoint point) {
  THintState& state = HintState();
  if (hover == SharedHintWindow() && hover != nullptr) return;
  if (hover != state.Control) {
    CancelHint();
    if (!WantsHint(hover)) return;
    state.Control = hover;
    state.TimerWindow = &window;
    window.SetTimer(kHintTimerId, kHintPause);
  }
  if (state.Control == nullptr || state.Shown) return;
  // The pointer in the hovered control's coordinates.
  TPoint windowOrigin;
  TPoint controlOrigin;
  TopControlOf(window, windowOrigin);
  TopControlOf(*hover, controlOrigin);
  state.Point = {point.X + windowOrigin.X - controlOrigin.X, point.Y + windowOrigin.Y - controlOrigin.Y};
}

void CancelHint() {
  THintState& state = HintState();
  if (state.TimerWindow != nullptr) state.TimerWindow->KillTimer(kHintTimerId);
  if (state.Shown && SharedHintWindow() != nullptr) SharedHintWindow()->ReleaseHint();
  state = {};
}

void HintTimerFired(TWinControl& window) {
  THintState& state = HintState();
  if (&window != state.TimerWindow || state.Control == nullptr) {
    window.KillTimer(kHintTimerId);
    return;
  }
  if (state.Shown || !WantsHint(state.Control)) {
    CancelHint();
    return;
  }
  state.Shown = true;
  window.SetTimer(kHintTimerId, kHintHidePause);
  ApplicationHintWindow().ActivateHint(*state.Control, {state.Point.X, state.Point.Y + kPointerHeight},
                                       state.Control->Hint());
}

void ForgetHintControl(const TControl* control) {
  THintState& state = HintState();
  if (control == state.Control || control == state.TimerWindow) CancelHint();
}

}  // namespace zelk
