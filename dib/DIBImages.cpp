#include "dib/DIBImages.h"

#include <string>

#include "dib/DIBImageList.h"
#include "runtime/ClassBuilder.h"

namespace zelk {

namespace {

const TClassInfo& CheckedItemClass(const TClassInfo& itemClass) {
  if (!itemClass.InheritsFrom(TDIBImagesItem::StaticClass())) {
    throw EInvalidOperation("TDIBImages cannot hold items of class " + std::string(itemClass.Name()));
  }
  return itemClass;
}

std::string TemplateKey(std::string_view templateGUID, int32_t number) {
  return std::to_string(number) + ":" + std::string(templateGUID);
}

}  // namespace

const TClassInfo& TDIBImages::StaticClass() {
  static const TClassInfo info = TClassBuilder<TDIBImages>("TDIBImages").Build();
  return info;
}

TDIBImages::TDIBImages(TPersistent* owner, const TClassInfo& itemClass)
    : TCollection(CheckedItemClass(itemClass), owner), imageList_(dynamic_cast<TCustomDIBImageList*>(owner)) {}

TDIBImagesItem* TDIBImages::Add() { return static_cast<TDIBImagesItem*>(TCollection::Add()); }

TDIBImagesItem* TDIBImages::Item(int index) const { return static_cast<TDIBImagesItem*>(TCollection::Item(index)); }

TDIBImagesItem* TDIBImages::TemplateImage(std::string_view templateGUID, int32_t number) {
  const std::string key = TemplateKey(templateGUID, number);
  for (int index = 0; index < Count(); ++index) {
    if (Item(index)->TemplateFilename() == key) return Item(index);
  }
  TDIBImagesItem* item = Add();
  item->SetTemplateFilename(key);
  return item;
}

void TDIBImages::ImageChanged(int32_t index, TDIBImageOperation operation) {
  if (imageList_ != nullptr) imageList_->ImageChanged(this, index, operation);
}

void TDIBImages::ImageResized(int32_t index) {
  if (imageList_ != nullptr) imageList_->ImageResized(index);
}

void TDIBImages::ImageMoved(int32_t fromIndex, int32_t toIndex) {
  if (imageList_ != nullptr) imageList_->ImageMoved(fromIndex, toIndex);
}

}  // namespace zelk
