// Feeds arbitrary bytes to LoadTemplate of an image-drawn control with an
// image list, and to the feature parameters block reader. Loading may fail
// with an exception but must never crash, read past the input or allocate
// more than the input backs; a template that fails leaves the control and
// its list as they were.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>

#include "controls/ControlsLibrary.h"
#include "controls/DIBContainer.h"
#include "controls/DIBFeature.h"
#include "dib/DIBImageLink.h"
#include "dib/DIBImageList.h"
#include "dib/DIBImages.h"
#include "dib/DIBLibrary.h"
#include "platform/BuiltInResourceSource.h"
#include "runtime/ClassBuilder.h"
#include "runtime/Stream.h"
#include "toolkit/Form.h"
#include "toolkit/Toolkit.h"

namespace {

using namespace zelk;

// A control with one image link and a few template properties.
class TFuzzKnob : public TCustomDIBControl {
  ZELK_CLASS(TFuzzKnob, TCustomDIBControl)

  explicit TFuzzKnob(TComponent* owner) : TCustomDIBControl(owner) {
    CreateImageLink(main_);
    AddTemplateProperty("Opacity");
    AddTemplateProperty("Caption");
  }
  ~TFuzzKnob() override {
    ReleaseImageLink(main_);
    TObject::Free(main_);
  }
  TDIBImageLink* IndexMain() const { return main_; }
  std::string Caption;

 private:
  TDIBImageLink* main_ = nullptr;
};

const TClassInfo& TFuzzKnob::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TFuzzKnob> builder("TFuzzKnob");
    return PublishDIBControl(builder)
        .ReadOnly("IndexMain", &TFuzzKnob::IndexMain)
        .Property("Caption", &TFuzzKnob::Caption)
        .Build();
  }();
  return info;
}

}  // namespace

// The fuzzer carries none of the product's resources.
std::optional<std::span<const uint8_t>> zelk::platform::FindBuiltInResource(std::string_view) { return std::nullopt; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool started = [] {
    InitializeToolkit();
    InitializeDIBLibrary();
    InitializeControlsLibrary();
    return true;
  }();
  (void)started;
  std::unique_ptr<TForm, TFreeObject> form(New<TForm>(nullptr));
  auto* container = New<TDIBImageContainer>(form.get());
  container->SetParent(form.get());
  std::unique_ptr<TDIBImageList, TFreeObject> list(New<TDIBImageList>(nullptr));
  list->DIBImages()->Add()->DIB()->SetSize(2, 2);
  auto* knob = New<TFuzzKnob>(form.get());
  knob->SetParent(container);
  knob->SetDIBImageList(list.get());
  knob->IndexMain()->SetDIBIndex(0);

  TMemoryStream stream(std::span(data, size));
  stream.SetPosition(0);
  try {
    knob->LoadTemplate(stream);
  } catch (const std::exception&) {
    if (list->DIBImages()->Count() != 1 || knob->IndexMain()->DIBIndex() != 0 || knob->Opacity() != 255 ||
        !knob->Caption.empty()) {
      std::abort();
    }
  }
  try {
    ReadFeatureBlock(std::span(data, size), knob);
  } catch (const std::exception&) {
  }
  return 0;
}
