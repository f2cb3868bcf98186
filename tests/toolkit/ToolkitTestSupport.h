// Controls that record what reaches them, and a fixture with a shown form on
// the headless backend, for the toolkit's tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/headless/HeadlessWindows.h"
#include "toolkit/GraphicControl.h"
#include "toolkit/Toolkit.h"

namespace zelk::tests {

// Logs "enter", "leave", "move x,y", "down x,y", "up x,y", "click" and
// "capturechanged"; paints itself in Fill; refuses points outside Shape.
class TProbe : public TGraphicControl {
  ZELK_CLASS(TProbe, TGraphicControl)

  explicit TProbe(TComponent* owner) : TGraphicControl(owner) {}
  void WndProc(TMessage& message) override;
  void Click() override;
  std::vector<std::string> TakeLog() { return std::exchange(Log, {}); }

  std::vector<std::string> Log;
  TColor Fill = 0x0000FF;  // red
  std::optional<TRect> Shape;
  int Paints = 0;
  TRect LastClipBox;
  // A size for AutoSize to ask for.
  std::optional<TPoint> WantedSize;

 protected:
  void Paint() override;
  bool CanAutoSize(int32_t& newWidth, int32_t& newHeight) override;
};

// A windowed control that logs "enter", "exit", "keydown N", "keyup N" and
// "char c", and answers the dialog-code query with DialogCode.
class TKeyProbe : public TCustomControl {
  ZELK_CLASS(TKeyProbe, TCustomControl)
  ZELK_MESSAGES()

  explicit TKeyProbe(TComponent* owner);
  std::vector<std::string> Log;
  uint32_t DialogCode = 0;
  int DialogCodeQueries = 0;

 protected:
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyUp(uint16_t& key, TShiftState shift) override;
  void KeyPress(char& key) override;
  void DoEnter() override;
  void DoExit() override;
  void WMGetDlgCode(TMessage& message);
};

using TFormPtr = std::unique_ptr<TCustomForm, TFreeObject>;

// A shown 200 x 100 form at (0, 0), white, painted once.
class ToolkitTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  TProbe* AddProbe(const TRect& bounds, TWinControl* parent = nullptr);
  TKeyProbe* AddKeyProbe(const TRect& bounds, TWinControl* parent = nullptr);
  TNativeWindow Window() { return form->Handle(); }

  platform::THeadlessWindowSystem& windows = platform::HeadlessWindows();
  TFormPtr form;
};

}  // namespace zelk::tests
