// TDIBImages: the pictures of an image list, a collection of TDIBImagesItem
// (or a descendant) owned by the list. It passes what its items report
// (changes, deletions, moves) on to the list, which tells its links.
#pragma once

#include <cstdint>
#include <string_view>

#include "dib/DIBImageOperation.h"
#include "dib/DIBImagesItem.h"
#include "runtime/Collection.h"

namespace zelk {

class TCustomDIBImageList;

class TDIBImages : public TCollection {
  ZELK_CLASS(TDIBImages, TCollection)

  // itemClass must derive from TDIBImagesItem. Reports reach owner when it
  // is an image list.
  TDIBImages(TPersistent* owner, const TClassInfo& itemClass);

  TCustomDIBImageList* ImageList() const { return imageList_; }

  TDIBImagesItem* Add();
  // Raises EListError for an index outside the collection.
  TDIBImagesItem* Item(int index) const;

  // The image that control template templateGUID (its text form, braces
  // included) keeps as image number: the first item, from index 0 up, whose
  // TemplateFilename is "<number>:<templateGUID>"; when none has it, a new
  // item with that key.
  TDIBImagesItem* TemplateImage(std::string_view templateGUID, int32_t number);

  // Forward to the image list.
  virtual void ImageChanged(int32_t index, TDIBImageOperation operation);
  virtual void ImageMoved(int32_t fromIndex, int32_t toIndex);
  void ImageResized(int32_t index);

 private:
  TCustomDIBImageList* imageList_;
};

}  // namespace zelk
