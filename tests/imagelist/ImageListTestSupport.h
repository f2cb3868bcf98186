// Shared pieces of the image list tests: a control with two logging image
// links, lists of numbered pictures, a fake picture loader that records
// the paths it is asked for, and a form read from its own resource.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dib/DIBImageLink.h"
#include "dib/DIBImageList.h"
#include "dib/DIBSettings.h"
#include "runtime/DataModule.h"

namespace zelk::tests {

// "<control>.<link> <index> changed|deleted, DIBIndex <value at that moment>"
using TEventLog = std::vector<std::string>;

class TPictureControl : public TComponent {
  ZELK_CLASS(TPictureControl, TComponent)

  explicit TPictureControl(TComponent* owner);
  TDIBImageLink* IndexMain() const { return indexMain_.get(); }
  TDIBImageLink* IndexBack() const { return indexBack_.get(); }

  static inline TEventLog* NewControlsLog = nullptr;  // for controls a stream creates
  TEventLog* Log = NewControlsLog;

 private:
  void LinkChanged(TObject* sender, int32_t index, TDIBImageOperation operation);
  std::unique_ptr<TDIBImageLink, TFreeObject> MakeLink();
  std::unique_ptr<TDIBImageLink, TFreeObject> indexMain_;
  std::unique_ptr<TDIBImageLink, TFreeObject> indexBack_;
};

using TListPtr = std::unique_ptr<TDIBImageList, TFreeObject>;
using TControlPtr = std::unique_ptr<TPictureControl, TFreeObject>;

// Pictures "Image0", "Image1", ...; picture n is (n + 1) x 2 pixels.
TListPtr MakeList(int count);
TControlPtr MakeControl(const std::string& name, TEventLog& log);

// While it lives, every picture file is a 4 x 3 picture, except names
// containing "missing", which raise; the requested paths are recorded.
class TFakePictures {
 public:
  TFakePictures();
  ~TFakePictures();
  static const std::vector<std::string>& Requests();
};

class TImageListForm : public TDataModule {
  ZELK_CLASS(TImageListForm, TDataModule)

  explicit TImageListForm(TComponent* owner) : TDataModule(owner) {}
  TDIBImageList* DIBImageList = nullptr;
  TDIBSettings* DIBSettings = nullptr;
  TPictureControl* Knob = nullptr;
  // Published: sends every image folder to "D:\Pictures".
  void TranslatePath(TObject* sender, std::string& imagePath) { imagePath = "D:\\Pictures"; }

 protected:
  void InitializeComponent() override;
};

using TFormPtr = std::unique_ptr<TImageListForm, TFreeObject>;

// A TImageListForm built from its resource (a stream, or its text form).
TFormPtr LoadForm(const std::vector<uint8_t>& resource);
TFormPtr LoadForm(std::string_view text);

// The pixels of a test picture, and its stored block written with the
// compressor of guidText (empty: raw), in hexadecimal for the text form.
std::vector<uint8_t> PatternPixels(uint16_t width, uint16_t height);
std::string StoredPictureHex(uint16_t width, uint16_t height, std::string_view guidText);

}  // namespace zelk::tests
