#include "tests/controls/DIBControlTestSupport.h"

#include <sstream>

#include "dib/DIBImagesItem.h"
#include "dib/DIBImages.h"
#include "dib/WinDIB.h"
#include "runtime/ClassBuilder.h"
#include "runtime/ClassRegistry.h"
#include "toolkit/Toolkit.h"

namespace zelk::tests {

const TClassInfo& TSwatch::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TSwatch> builder("TSwatch");
    return PublishDIBControl(builder).Build();
  }();
  return info;
}

TSwatch::TSwatch(TComponent* owner) : TCustomDIBControl(owner) {
  OnMouseEnter = TNotifyEvent::Bind<&TSwatch::LogEnter>(this);
  OnMouseLeave = TNotifyEvent::Bind<&TSwatch::LogLeave>(this);
  OnEnter = TNotifyEvent::Bind<&TSwatch::LogFocus>(this);
  OnExit = TNotifyEvent::Bind<&TSwatch::LogUnfocus>(this);
  OnKeyDown = TKeyEvent::Bind<&TSwatch::LogKey>(this);
}

void TSwatch::PaintDIB() {
  ++Paints;
  TAbstractSuperDIB& scratch = *ControlDIB();
  if (OnScratch) OnScratch(scratch);
  if (PaintsNothing) return;
  if (Picture != nullptr) {
    Picture->Draw(0, 0, Picture->Width(), Picture->Height(), scratch, 0, 0);
    return;
  }
  const TPixel pixel = (Fill & 0x00FFFFFFu) | (uint32_t{FillAlpha} << 24);
  for (int32_t y = 0; y < scratch.Height(); ++y) {
    for (int32_t x = 0; x < scratch.Width(); ++x) scratch.SetPixel(x, y, pixel);
  }
}

void TSwatch::Click() {
  Log.push_back("click");
  TCustomDIBControl::Click();
}

void TSwatch::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  Log.push_back("down " + std::to_string(x) + "," + std::to_string(y));
  TCustomDIBControl::MouseDown(button, shift, x, y);
}

void TSwatch::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  Log.push_back("up " + std::to_string(x) + "," + std::to_string(y));
  TCustomDIBControl::MouseUp(button, shift, x, y);
}

// --- reference routines ---

uint32_t ColorPixel(TColor color) {
  const auto rgb = static_cast<uint32_t>(color);
  return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

void CopyInto(TFrame& frame, const TAbstractSuperDIB& image, int32_t x, int32_t y, const TRect& clip) {
  for (int32_t row = 0; row < image.Height(); ++row) {
    for (int32_t column = 0; column < image.Width(); ++column) {
      const TPoint target{x + column, y + row};
      if (!clip.Contains(target) || target.X < 0 || target.Y < 0 || target.X >= frame.Width ||
          target.Y >= frame.Height) {
        continue;
      }
      frame.At(target.X, target.Y) = image.Pixel(column, row);
    }
  }
}

void BlendInto(TFrame& frame, uint32_t pixel, uint8_t opacity, const TRect& area, const TRect& clip) {
  for (int32_t y = area.Top; y < area.Bottom; ++y) {
    for (int32_t x = area.Left; x < area.Right; ++x) {
      if (!clip.Contains({x, y}) || x < 0 || y < 0 || x >= frame.Width || y >= frame.Height) continue;
      uint32_t& target = frame.At(x, y);
      uint32_t result = std::max(target >> 24, pixel >> 24) << 24;
      for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t source = (pixel >> shift) & 0xFF;
        const uint32_t under = (target >> shift) & 0xFF;
        result |= (((source * opacity + under * (255 - opacity) + 255) >> 8) & 0xFF) << shift;
      }
      target = result;
    }
  }
}

TFrame FrameOf(const TAbstractSuperDIB& dib) {
  TFrame frame(dib.Width(), dib.Height(), 0);
  for (int32_t y = 0; y < dib.Height(); ++y) {
    for (int32_t x = 0; x < dib.Width(); ++x) frame.At(x, y) = dib.Pixel(x, y);
  }
  return frame;
}

std::string Differences(const TFrame& expected, const TFrame& actual, const TRect& area) {
  std::ostringstream out;
  int count = 0;
  for (int32_t y = area.Top; y < area.Bottom; ++y) {
    for (int32_t x = area.Left; x < area.Right; ++x) {
      if (expected.At(x, y) == actual.At(x, y)) continue;
      if (++count <= 5) {
        out << std::hex << "(" << std::dec << x << "," << y << std::hex << ") expected " << expected.At(x, y)
            << " got " << actual.At(x, y) << "; ";
      }
    }
  }
  if (count > 0) out << std::dec << count << " pixels differ";
  return out.str();
}

std::unique_ptr<TMemoryDIB, TFreeObject> MakePattern(int32_t width, int32_t height, uint8_t seed) {
  std::unique_ptr<TMemoryDIB, TFreeObject> dib(New<TMemoryDIB>());
  dib->SetSize(static_cast<uint16_t>(width), static_cast<uint16_t>(height));
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      dib->SetPixel(x, y, 0xFF000000u | (uint32_t{seed} << 16) | ((y & 0xFF) << 8) | (x & 0xFF));
    }
  }
  dib->SetClipRect({0, 0, width - 1, height - 1});
  return dib;
}

// --- fixture ---

void DIBControlTest::SetUp() {
  InitializeToolkit();
  static const bool registered = [] {
    RegisterDIBControlClasses();
    RegisterClasses({&TSwatch::StaticClass()});
    return true;
  }();
  (void)registered;
  form.reset(New<TForm>(nullptr));
  form->SetColor(0xFFFFFF);
  form->SetBounds(0, 0, 300, 200);
  container = New<TDIBImageContainer>(form.get());
  container->SetBounds(10, 10, 100, 60);
  container->SetParent(form.get());
  container->SetColor(0x00336699);
  form->Show();
  windows.Pump();
  windows.ResetCounters();
}

void DIBControlTest::TearDown() {
  form.reset();
  list.reset();
  windows.SetCapture(0);
  windows.SetFocus(0);
}

TSwatch* DIBControlTest::AddSwatch(const TRect& bounds) {
  auto* swatch = New<TSwatch>(form.get());
  swatch->SetBoundsRect(bounds);
  swatch->SetParent(container);
  return swatch;
}

int32_t DIBControlTest::AddImage(const TAbstractSuperDIB& picture) {
  if (!list) {
    list.reset(New<TDIBImageList>(nullptr));
    container->SetDIBImageList(list.get());
  }
  TDIBImagesItem* item = list->DIBImages()->Add();
  item->DIB()->CopyPixelsFrom(picture);
  return item->Index();
}

void DIBControlTest::PoisonAndPaint(const TRect& area) {
  TWinDIB& buffer = *container->Buffer();
  for (int32_t y = 0; y < buffer.Height(); ++y) {
    for (int32_t x = 0; x < buffer.Width(); ++x) buffer.SetPixel(x, y, kPoison);
  }
  container->InvalidateRect(area);
  windows.Pump();
}

TFrame DIBControlTest::PoisonedFrame() const { return TFrame(container->Width(), container->Height(), kPoison); }

TFrame DIBControlTest::Presented(const TRect& area) {
  TFrame frame(container->Width(), container->Height(), 0);
  for (int32_t y = area.Top; y < area.Bottom; ++y) {
    for (int32_t x = area.Left; x < area.Right; ++x) frame.At(x, y) = windows.PixelAt(Window(), x, y);
  }
  return frame;
}

}  // namespace zelk::tests
