#include "tests/toolkit/ToolkitTestSupport.h"

#include <sstream>

#include "runtime/ClassBuilder.h"

namespace zelk::tests {

const TClassInfo& TProbe::StaticClass() {
  static const TClassInfo info = TClassBuilder<TProbe>("TProbe").Build();
  return info;
}

void TProbe::WndProc(TMessage& message) {
  std::ostringstream line;
  const TPoint point = LParamToPoint(message.LParam);
  switch (message.Msg) {
    case cmMouseEnter:
      line << "enter";
      break;
    case cmMouseLeave:
      line << "leave";
      break;
    case wmMouseMove:
      line << "move " << point.X << "," << point.Y;
      break;
    case wmLButtonDown:
      line << "down " << point.X << "," << point.Y;
      break;
    case wmLButtonUp:
      line << "up " << point.X << "," << point.Y;
      break;
    case wmCaptureChanged:
      line << "capturechanged";
      break;
    case cmHitTest:
      if (Shape && !Shape->Contains(point)) {
        message.Result = htNowhere;
        return;
      }
      break;
    default:
      break;
  }
  if (!line.str().empty()) Log.push_back(line.str());
  TGraphicControl::WndProc(message);
}

void TProbe::Click() {
  Log.push_back("click");
  TGraphicControl::Click();
}

void TProbe::Paint() {
  ++Paints;
  LastClipBox = Canvas()->ClipBox();
  Canvas()->Brush().Color = Fill;
  Canvas()->FillRect(ClientRect());
}

bool TProbe::CanAutoSize(int32_t& newWidth, int32_t& newHeight) {
  if (!WantedSize) return false;
  newWidth = WantedSize->X;
  newHeight = WantedSize->Y;
  return true;
}

const TClassInfo& TKeyProbe::StaticClass() {
  static const TClassInfo info = TClassBuilder<TKeyProbe>("TKeyProbe").Build();
  return info;
}

const TMessageTable& TKeyProbe::StaticMessages() {
  static const TMessageTable table =
      TMessageTableBuilder<TKeyProbe>().On<&TKeyProbe::WMGetDlgCode>(wmGetDlgCode).Build();
  return table;
}

TKeyProbe::TKeyProbe(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }

void TKeyProbe::KeyDown(uint16_t& key, TShiftState shift) {
  Log.push_back("keydown " + std::to_string(key));
  TCustomControl::KeyDown(key, shift);
}

void TKeyProbe::KeyUp(uint16_t& key, TShiftState shift) {
  Log.push_back("keyup " + std::to_string(key));
  TCustomControl::KeyUp(key, shift);
}

void TKeyProbe::KeyPress(char& key) {
  Log.push_back(std::string("char ") + key);
  TCustomControl::KeyPress(key);
}

void TKeyProbe::DoEnter() {
  Log.push_back("enter");
  TCustomControl::DoEnter();
}

void TKeyProbe::DoExit() {
  Log.push_back("exit");
  TCustomControl::DoExit();
}

void TKeyProbe::WMGetDlgCode(TMessage& message) {
  ++DialogCodeQueries;
  message.Result = DialogCode;
}

void ToolkitTest::SetUp() {
  InitializeToolkit();
  form.reset(New<TForm>(nullptr));
  form->SetColor(0xFFFFFF);
  form->SetBounds(0, 0, 200, 100);
  form->Show();
  windows.Pump();
}

void ToolkitTest::TearDown() {
  form.reset();
  windows.SetCapture(0);
  windows.SetFocus(0);
}

TProbe* ToolkitTest::AddProbe(const TRect& bounds, TWinControl* parent) {
  auto* probe = New<TProbe>(form.get());
  probe->SetBoundsRect(bounds);
  probe->SetParent(parent != nullptr ? parent : form.get());
  return probe;
}

TKeyProbe* ToolkitTest::AddKeyProbe(const TRect& bounds, TWinControl* parent) {
  auto* probe = New<TKeyProbe>(form.get());
  probe->SetBoundsRect(bounds);
  probe->SetParent(parent != nullptr ? parent : form.get());
  return probe;
}

}  // namespace zelk::tests
