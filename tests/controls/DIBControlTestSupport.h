// Shared pieces of the image-drawn control tests: a control that paints a
// plain colour or a picture and logs what reaches it, a shown form holding
// an image container on the headless backend, and the plain reference
// routines from which the tests compute the frames they expect.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/DIBContainer.h"
#include "dib/DIBImageList.h"
#include "dib/MemoryDIB.h"
#include "platform/headless/HeadlessWindows.h"
#include "toolkit/Form.h"

namespace zelk::tests {

// Paints its rectangle with Fill (alpha FillAlpha), or Picture when set;
// logs "enter", "leave", "down x,y", "up x,y", "click", "focus", "unfocus"
// and the keys routed to it.
class TSwatch : public TCustomDIBControl {
  ZELK_CLASS(TSwatch, TCustomDIBControl)

  explicit TSwatch(TComponent* owner);
  std::vector<std::string> TakeLog() { return std::exchange(Log, {}); }
  using TCustomDIBControl::MouseCapture;

  std::vector<std::string> Log;
  uint32_t Fill = 0x00FF0000;  // red, as a pixel 0xAARRGGBB
  uint8_t FillAlpha = 0xFF;
  TAbstractSuperDIB* Picture = nullptr;
  bool PaintsNothing = false;
  // Called at the start of PaintDIB, with the scratch image as it arrives.
  std::function<void(TAbstractSuperDIB&)> OnScratch;
  int Paints = 0;

  void PaintDIB() override;
  void Click() override;

 protected:
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;

 private:
  void LogEnter(TObject*) { Log.push_back("enter"); }
  void LogLeave(TObject*) { Log.push_back("leave"); }
  void LogFocus(TObject*) { Log.push_back("focus"); }
  void LogUnfocus(TObject*) { Log.push_back("unfocus"); }
  void LogKey(TObject*, uint16_t& key, TShiftState) { Log.push_back("key " + std::to_string(key)); }
};

// A frame of 0xAARRGGBB pixels, top row first.
struct TFrame {
  TFrame(int32_t width, int32_t height, uint32_t pixel)
      : Width(width), Height(height), Pixels(static_cast<size_t>(width) * height, pixel) {}
  uint32_t& At(int32_t x, int32_t y) { return Pixels[static_cast<size_t>(y) * Width + x]; }
  uint32_t At(int32_t x, int32_t y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
  int32_t Width;
  int32_t Height;
  std::vector<uint32_t> Pixels;
};

// Reference routines, one pixel at a time.
uint32_t ColorPixel(TColor color);  // 0x00BBGGRR to a pixel with alpha 0
void CopyInto(TFrame& frame, const TAbstractSuperDIB& image, int32_t x, int32_t y, const TRect& clip);
void BlendInto(TFrame& frame, uint32_t pixel, uint8_t opacity, const TRect& area, const TRect& clip);
// The pixels of a bitmap, top row first.
TFrame FrameOf(const TAbstractSuperDIB& dib);
// Describes the first pixels where the two differ inside area; empty when
// none does.
std::string Differences(const TFrame& expected, const TFrame& actual, const TRect& area);

// A picture whose every pixel differs from its neighbours: blue = x,
// green = y, red = seed, alpha 255.
std::unique_ptr<TMemoryDIB, TFreeObject> MakePattern(int32_t width, int32_t height, uint8_t seed);

using TListPtr = std::unique_ptr<TDIBImageList, TFreeObject>;

// A shown white 300 x 200 form holding a 100 x 60 image container at
// (10, 10), composed once; the clock and counters reset.
class DIBControlTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  TSwatch* AddSwatch(const TRect& bounds);
  // Adds a copy of picture to the test's image list (made on first use).
  int32_t AddImage(const TAbstractSuperDIB& picture);
  TNativeWindow Window() { return container->Handle(); }
  // Fills the buffer with a poison pixel, invalidates area and paints.
  void PoisonAndPaint(const TRect& area);
  TFrame PoisonedFrame() const;
  TFrame Presented(const TRect& area);

  static constexpr uint32_t kPoison = 0xA5C3E1F7;
  platform::THeadlessWindowSystem& windows = platform::HeadlessWindows();
  std::unique_ptr<TForm, TFreeObject> form;
  TDIBImageContainer* container = nullptr;
  TListPtr list;
};

}  // namespace zelk::tests
