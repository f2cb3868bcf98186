#include "toolkit/MessageWindow.h"

#include "platform/Backend.h"
#include "runtime/Application.h"

namespace zelk {

TMessageWindow::TMessageWindow(TWndMethod handler)
    : handler_(handler), handle_(platform::Backend().Windows->CreateChild(0, {}, *this)) {}

TMessageWindow::~TMessageWindow() {
  if (handle_ != 0) platform::Backend().Windows->DestroyWindow(handle_);
}

bool TMessageWindow::SetTimer(uint32_t id, uint32_t milliseconds) {
  return handle_ != 0 && platform::Backend().Windows->SetTimer(handle_, id, milliseconds);
}

void TMessageWindow::KillTimer(uint32_t id) {
  if (handle_ != 0) platform::Backend().Windows->KillTimer(handle_, id);
}

void TMessageWindow::HandleWindowEvent(platform::TNativeWindow window, const platform::TWindowEvent& event) {
  if (window != handle_) return;
  if (event.Kind == platform::TWindowEventKind::ekDestroyed) {
    handle_ = 0;
    return;
  }
  if (event.Kind != platform::TWindowEventKind::ekTimer || !handler_) return;
  TMessage message{wmTimer, event.Code, 0, 0};
  try {
    handler_(message);
  } catch (...) {
    Application().HandleException();
  }
}

}  // namespace zelk
