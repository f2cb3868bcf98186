// The product's knob as the benchmarks turn it: a 245 x 269 form filled by an
// image container and the dial, drawn from the product's own pictures (the
// cap with its indicator, keyed on black, and the background), the cap held
// at the dial's active opacity. The form is shown on whatever window system
// the backend holds; a benchmark places it in a host's window when it needs.
#pragma once

#include <cmath>
#include <memory>
#include <string>

#include "controls/ControlsLibrary.h"
#include "controls/DIBContainer.h"
#include "controls/DIBDial.h"
#include "dib/DIBImageLink.h"
#include "dib/DIBImageList.h"
#include "dib/DIBImages.h"
#include "dib/DIBImagesItem.h"
#include "dib/DIBLibrary.h"
#include "dib/PictureLoader.h"
#include "toolkit/Form.h"
#include "toolkit/Toolkit.h"

namespace zelk::bench {

template <class T>
using TPtr = std::unique_ptr<T, TFreeObject>;

class TKnobEditor {
 public:
  // parentWindow: the host's window, or 0 for a top-level form.
  explicit TKnobEditor(TNativeWindow parentWindow = 0) {
    InitializeToolkit();
    InitializeDIBLibrary();
    InitializeControlsLibrary();
    form_.reset(New<TForm>(nullptr));
    if (parentWindow != 0) {
      form_->SetParentWindow(parentWindow);
      form_->SetBorderStyle(TFormBorderStyle::bsNone);
    }
    form_->SetBounds(0, 0, 245, 269);
    container_ = New<TDIBImageContainer>(form_.get());
    container_->SetParent(form_.get());
    container_->SetAlign(TAlign::alClient);
    auto* list = New<TDIBImageList>(form_.get());
    AddPicture(*list, "Zelk1.png");
    AddPicture(*list, "ZVBack.png");
    TAbstractSuperDIB* cap = list->DIBImages()->Item(0)->DIB();
    cap->SetTransparentColor(0);
    cap->SetTransparentMode(TTransparentMode::tmFixed);
    cap->SetTransparent(true);
    dial_ = New<TDIBDial>(form_.get());
    dial_->SetParent(container_);
    dial_->SetAlign(TAlign::alClient);
    dial_->SetMax(359);
    dial_->PointerAngles()->SetRange(359);
    dial_->PointerOpacities()->SetActive(180);
    dial_->SetPointerRadius(10);
    dial_->SetPointerRotate(true);
    dial_->SetDIBImageList(list);
    dial_->IndexMain()->SetDIBIndex(1);
    dial_->IndexPointer()->SetDIBIndex(0);
    form_->Show();
  }

  TForm& Form() const { return *form_; }
  TDIBImageContainer& Container() const { return *container_; }
  TDIBDial& Dial() const { return *dial_; }

  // A point on the cap, where a press grabs it.
  static TPoint OnTheCap() { return {122, 100}; }
  // A point 100 pixels from the centre in the direction of angle (degrees,
  // clockwise from the top).
  static TPoint PointAt(int angle) {
    const double radians = (angle - 90) * 3.14159265358979323846 / 180.0;
    return {122 + static_cast<int32_t>(std::lround(100 * std::cos(radians))),
            134 + static_cast<int32_t>(std::lround(100 * std::sin(radians)))};
  }

 private:
  static void AddPicture(TDIBImageList& list, const std::string& file) {
    TAbstractSuperDIB* dib = list.DIBImages()->Add()->DIB();
    dib->ImportPicture(LoadPictureFile(std::string(ZELK_BENCH_PICTURES) + "/" + file), file);
  }

  TPtr<TForm> form_;
  TDIBImageContainer* container_ = nullptr;
  TDIBDial* dial_ = nullptr;
};

}  // namespace zelk::bench
