// The image list: a component that keeps a form's pictures once, as the
// collection DIBImages, and tells the image links attached to it when an
// image changes, is deleted or moves.
//
// Links attach themselves when their DIBImageList is set (AddLink) and
// detach when it is set to another list or none, or when they go
// (RemoveLink). The list does not own its links; when it goes, it detaches
// every link, last first, without events, so no link keeps pointing at it.
//
// Images are handed out through a view (GetImage): a bitmap of the list that
// shares the pixels of the requested image. The view stays valid until the
// next request to the same list; callers draw from it at once. Once an
// image changes, is resized or is deleted, the view shows a blank 1 x 1
// picture of the list instead, so a stale view never reaches freed or
// reallocated pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "dib/DIBImageOperation.h"
#include "dib/DIBImages.h"
#include "dib/MemoryDIB.h"
#include "runtime/Component.h"

namespace zelk {

class TDIBImageLink;

class TCustomDIBImageList : public TComponent {
  ZELK_CLASS(TCustomDIBImageList, TComponent)

  explicit TCustomDIBImageList(TComponent* owner);
  ~TCustomDIBImageList() override;

  // The class of the list's items.
  static const TClassInfo& GetDIBImagesItemClass();

  // Published.
  TDIBImages* DIBImages() const { return images_.get(); }
  // Copies the items of source.
  void SetDIBImages(TDIBImages* source);

  // False for an index outside the list or an image without pixels;
  // otherwise dib is the list's view of image index (see above). A failed
  // request leaves dib null.
  bool GetImage(int32_t index, TAbstractSuperDIB*& dib);
  // 0 <= index < number of images.
  bool IsIndexValid(int32_t index) const;

  // Attaches link (once) and calls its Notify(n, ioChanged) for every image
  // index n from 0 upwards. A null link is ignored.
  virtual void AddLink(TDIBImageLink* link);
  // Notify(index, operation) on every attached link, in the order of
  // attachment.
  virtual void ImageChanged(TObject* sender, int32_t index, TDIBImageOperation operation);
  // The image at fromIndex went to toIndex: attached links follow it, and
  // the links of the images in between shift by one. No events.
  virtual void ImageMoved(int32_t fromIndex, int32_t toIndex);
  // The pixels of image index were replaced by a resize: the view lets go
  // of them. Links hear nothing (a resize is no change notification).
  void ImageResized(int32_t index);
  virtual void RemoveLink(TDIBImageLink* link);
  // The attached links, in the order of attachment.
  const std::vector<TDIBImageLink*>& Links() const { return links_; }

  // Loads the irLoadOnStart images, after the inherited handling.
  void LoadingFinished() override;
  void BeforeDestruction() override;

 protected:
  // For descendants whose items are of another class.
  TCustomDIBImageList(TComponent* owner, const TClassInfo& itemClass);

 private:
  void DetachLinks();
  void ShowBlankView();

  std::vector<TDIBImageLink*> links_;
  std::unique_ptr<TDIBImages, TFreeObject> images_;
  std::unique_ptr<TMemoryDIB, TFreeObject> view_;
  std::unique_ptr<TMemoryDIB, TFreeObject> blank_;
};

// Publishes DIBImages; adds nothing.
class TDIBImageList : public TCustomDIBImageList {
  ZELK_CLASS(TDIBImageList, TCustomDIBImageList)

  explicit TDIBImageList(TComponent* owner) : TCustomDIBImageList(owner) {}
};

}  // namespace zelk
