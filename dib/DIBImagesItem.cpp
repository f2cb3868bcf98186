#include "dib/DIBImagesItem.h"

#include "dib/DIBImageList.h"
#include "dib/DIBImagePath.h"
#include "dib/DIBImages.h"
#include "runtime/ClassBuilder.h"
#include "runtime/Filer.h"

namespace zelk {

namespace {

constexpr char kTemplateFilenameProperty[] = "TemplateFilename";

TMemoryDIB* CreatePicture(const TClassInfo& dibClass) {
  if (!dibClass.InheritsFrom(TMemoryDIB::StaticClass()) || !dibClass.CanCreate()) {
    throw EInvalidOperation("Cannot create an image of class " + std::string(dibClass.Name()));
  }
  std::unique_ptr<TMemoryDIB, TFreeObject> dib(static_cast<TMemoryDIB*>(dibClass.Create(nullptr)));
  dib->SetSize(1, 1);
  return dib.release();
}

}  // namespace

const TClassInfo& TDIBImagesItem::StaticClass() {
  using T = TDIBImagesItem;
  static const TClassInfo info = TClassBuilder<T>("TDIBImagesItem")
                                     .Property("ImageRetrieval", &T::ImageRetrieval, &T::SetImageRetrieval)
                                     .Default(TDIBImageRetrieval::irInternal)
                                     .Property("DIB", &T::DIB, &T::SetDIB)
                                     .Property("DisplayName", &T::DisplayName, &T::SetDisplayName)
                                     .Property("OnTranslateImagePath", &T::OnTranslateImagePath)
                                     .Build();
  return info;
}

const TClassInfo& TDIBImagesItem::GetDIBClass() { return TMemoryDIB::StaticClass(); }

TDIBImagesItem::TDIBImagesItem(TCollection* collection) : TDIBImagesItem(collection, GetDIBClass()) {}

TDIBImagesItem::TDIBImagesItem(TCollection* collection, const TClassInfo& dibClass)
    : TCollectionItem(collection), dib_(CreatePicture(dibClass)), displayName_(TCollectionItem::DisplayName()) {
  dib_->OnChange = TNotifyEvent::Bind<&TDIBImagesItem::DIBChanged>(this);
  dib_->OnResize = TNotifyEvent::Bind<&TDIBImagesItem::DIBResized>(this);
}

TDIBImagesItem::~TDIBImagesItem() { Release(); }

void TDIBImagesItem::BeforeDestruction() { Release(); }

void TDIBImagesItem::Release() {
  if (released_) return;
  released_ = true;
  TDIBImages* images = Images();
  const int index = Index();
  dib_.reset();
  SetCollection(nullptr);
  if (images != nullptr && index >= 0) images->ImageChanged(index, TDIBImageOperation::ioDeleted);
}

TDIBImages* TDIBImagesItem::Images() const { return dynamic_cast<TDIBImages*>(Collection()); }

bool TDIBImagesItem::StreamInProgress() const {
  const TDIBImages* images = Images();
  const TCustomDIBImageList* list = images ? images->ImageList() : nullptr;
  return list != nullptr && list->HasState(csLoading | csWriting);
}

void TDIBImagesItem::SetImageRetrieval(TDIBImageRetrieval value) {
  // Pixels that came from elsewhere say nothing about the new source.
  if (value != imageRetrieval_) imageLoaded_ = false;
  imageRetrieval_ = value;
  dib_->SetStoreData(value == TDIBImageRetrieval::irInternal);
}

TMemoryDIB* TDIBImagesItem::DIB() {
  if (!imageLoaded_ && !StreamInProgress()) LoadImage();
  return dib_.get();
}

void TDIBImagesItem::SetDIB(TMemoryDIB* source) { dib_->Assign(source); }

void TDIBImagesItem::SetDisplayName(const std::string& name) {
  displayName_ = name;
  TCollectionItem::SetDisplayName(name);
}

void TDIBImagesItem::LoadImage() {
  if (imageLoaded_) return;
  if (imageRetrieval_ == TDIBImageRetrieval::irInternal) {
    imageLoaded_ = true;
    return;
  }
  if (dib_->ImageFilename().empty()) return;
  dib_->BeginUpdate();
  try {
    dib_->ImportImage(TranslateImagePath(dib_->ImageFilename()));
    if (!dib_->MaskFilename().empty()) dib_->ImportMask(TranslateImagePath(dib_->MaskFilename()));
    // Marked before the bracket closes: handlers of the change notification
    // may read DIB again.
    imageLoaded_ = true;
  } catch (...) {
    dib_->EndUpdate();
    throw;
  }
  dib_->EndUpdate();
}

std::string TDIBImagesItem::TranslateImagePath(const std::string& imagePath) {
  if (imagePath.empty() || !OnTranslateImagePath) return imagePath;
  std::string folder(ImageFolderOf(imagePath));
  OnTranslateImagePath(this, folder);
  return ImagePathInFolder(folder, imagePath);
}

void TDIBImagesItem::SetIndex(int index) {
  const int oldIndex = Index();
  TCollectionItem::SetIndex(index);
  // The base ignores indexes outside the collection; only a real move counts.
  const int newIndex = Index();
  if (newIndex == oldIndex) return;
  if (TDIBImages* images = Images()) images->ImageMoved(oldIndex, newIndex);
}

void TDIBImagesItem::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TDIBImagesItem*>(source);
  if (other == nullptr) {
    TCollectionItem::Assign(source);
    return;
  }
  SetImageRetrieval(other->imageRetrieval_);
  dib_->Assign(other->dib_.get());
  templateFilename_ = other->templateFilename_;
  OnTranslateImagePath = other->OnTranslateImagePath;
  imageLoaded_ = other->imageLoaded_;
  SetDisplayName(other->displayName_);
}

void TDIBImagesItem::DefineProperties(TFiler& filer) {
  TCollectionItem::DefineProperties(filer);
  filer.DefineProperty(
      kTemplateFilenameProperty, [this](TValueReader& reader) { templateFilename_ = reader.ReadString(); },
      [this](TValueWriter& writer) { writer.WriteString(templateFilename_); }, !templateFilename_.empty());
}

void TDIBImagesItem::DIBChanged(TObject*) {
  if (TDIBImages* images = Images()) images->ImageChanged(Index(), TDIBImageOperation::ioChanged);
}

void TDIBImagesItem::DIBResized(TObject*) {
  if (TDIBImages* images = Images()) images->ImageResized(Index());
}

}  // namespace zelk
