// TCustomDIBImageContainer: the background picture from an image list,
// centred or tiled.
#include "controls/DIBContainer.h"

#include "dib/DIBImageLink.h"
#include "dib/DIBImageList.h"
#include "dib/WinDIB.h"

namespace zelk {

// --- TCustomDIBImageContainer ---

TCustomDIBImageContainer::TCustomDIBImageContainer(TComponent* owner)
    : TCustomDIBContainer(owner), indexImage_(New<TDIBImageLink>(this)) {
  indexImage_->OnImageChanged = TDIBImageChangedEvent::Bind<&TCustomDIBImageContainer::ImageLinkChanged>(this);
}

TCustomDIBImageContainer::~TCustomDIBImageContainer() = default;

void TCustomDIBImageContainer::SetIndexImage(TDIBImageLink* link) { indexImage_->Assign(link); }

TCustomDIBImageList* TCustomDIBImageContainer::DIBImageList() const { return indexImage_->DIBImageList(); }

void TCustomDIBImageContainer::SetDIBImageList(TCustomDIBImageList* list) {
  indexImage_->SetDIBImageList(list);
  Invalidate();
}

void TCustomDIBImageContainer::SetTileMethod(TTileMethod method) {
  tileMethod_ = method;
  Invalidate();
}

void TCustomDIBImageContainer::ImageLinkChanged(TObject* sender, int32_t index, TDIBImageOperation operation) {
  if (HasState(csDestroying)) return;
  DIBImageChanged(index, operation);
}

void TCustomDIBImageContainer::DIBImageChanged(int32_t index, TDIBImageOperation operation) {
  if (operation == TDIBImageOperation::ioDeleted) {
    // The link itself clears its index after this report.
    Invalidate();
  } else if (index == indexImage_->DIBIndex()) {
    Invalidate();
  }
}

void TCustomDIBImageContainer::Notification(TComponent* component, TOperation operation) {
  TCustomDIBContainer::Notification(component, operation);
}

void TCustomDIBImageContainer::PaintBackground() {
  TAbstractSuperDIB* image = nullptr;
  if (!indexImage_->IsValid() || !indexImage_->GetImage(image) || image == nullptr) {
    PaintPlainBackground();
    return;
  }
  if (tileMethod_ == TTileMethod::tmCenter && (image->Width() != Width() || image->Height() != Height())) {
    PaintPlainBackground();
  }
  if (image->Height() == 0 || image->Width() == 0) return;
  if (tileMethod_ == TTileMethod::tmCenter) {
    image->Draw(Width() / 2 - image->Width() / 2, Height() / 2 - image->Height() / 2, image->Width(),
                image->Height(), *Buffer(), 0, 0);
  } else {
    PaintTiles(*image);
  }
}

void TCustomDIBImageContainer::PaintTiles(TAbstractSuperDIB& image) {
  const TRect& update = UpdateRect();
  const int32_t tileWidth = image.Width();
  const int32_t tileHeight = image.Height();
  for (int32_t top = update.Top / tileHeight * tileHeight; top < update.Bottom; top += tileHeight) {
    for (int32_t left = update.Left / tileWidth * tileWidth; left < update.Right; left += tileWidth) {
      image.Draw(left, top, tileWidth, tileHeight, *Buffer(), 0, 0);
    }
  }
}

}  // namespace zelk
