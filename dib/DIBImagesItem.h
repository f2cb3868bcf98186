// TDIBImagesItem: one named picture of an image list (a TMemoryDIB the item
// owns) and where its pixels come from.
//
//   irInternal      the pixels are stored in the component stream ("DIB.Data")
//   irLoadOnStart   loaded from DIB.ImageFilename when the list has finished
//                   loading from its stream
//   irLoadOnDemand  loaded from DIB.ImageFilename at the first read of DIB
//
// Reading DIB runs the image load first while the image is not loaded yet,
// except while the owning list is being read from or written to a stream:
// then the file names and the handler may not be final, and a save must not
// depend on picture files. Loading an image whose ImageFilename is empty
// does nothing and is tried again at the next read. Errors of the import
// pass on to the reader of DIB, and the image stays unloaded.
//
// The item tells its collection (TDIBImages) when its picture changes
// (ImageChanged(index, ioChanged)), when the picture's pixels are replaced
// by a resize (ImageResized(index)), when it moves (ImageMoved(old, new))
// and, after it has left the collection, that it was deleted
// (ImageChanged(old index, ioDeleted)).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "dib/MemoryDIB.h"
#include "runtime/Collection.h"
#include "runtime/Event.h"
#include "runtime/TypeInfo.h"

namespace zelk {

class TDIBImages;

enum class TDIBImageRetrieval : uint8_t { irInternal, irLoadOnStart, irLoadOnDemand };
ZELK_ENUM_NAMES(TDIBImageRetrieval, "irInternal", "irLoadOnStart", "irLoadOnDemand")

// Lets the application redirect the folder image files are loaded from:
// ImagePath holds the folder part of the path (up to and including the last
// separator) and may be changed.
using TDIBTranslateImagePathEvent = TEvent<void(TObject* Sender, std::string& ImagePath)>;

class TDIBImagesItem : public TCollectionItem {
  ZELK_CLASS(TDIBImagesItem, TCollectionItem)

  // A 1 x 1 picture named after the class, irInternal, not loaded.
  explicit TDIBImagesItem(TCollection* collection);
  ~TDIBImagesItem() override;

  // The class the item's picture is created from.
  static const TClassInfo& GetDIBClass();

  // Published: ImageRetrieval (default irInternal), DIB, DisplayName,
  // OnTranslateImagePath; streamed besides: "TemplateFilename".
  TDIBImageRetrieval ImageRetrieval() const { return imageRetrieval_; }
  // The picture is stored in the stream ("DIB.Data") only for irInternal.
  // A new value marks the image as not loaded, so that an item switched to
  // a file loads that file.
  void SetImageRetrieval(TDIBImageRetrieval value);
  // Loads the image first when needed (see above).
  TMemoryDIB* DIB();
  // Copies source into the item's own picture.
  void SetDIB(TMemoryDIB* source);
  std::string DisplayName() const override { return displayName_; }
  void SetDisplayName(const std::string& name) override;
  TDIBTranslateImagePathEvent OnTranslateImagePath;

  // Key of an image that came from a control template: "<number>:<GUID>".
  const std::string& TemplateFilename() const { return templateFilename_; }
  void SetTemplateFilename(std::string key) { templateFilename_ = std::move(key); }
  bool ImageLoaded() const { return imageLoaded_; }

  // The image load: nothing when loaded; irInternal only marks the image
  // loaded; otherwise imports ImageFilename (and MaskFilename, when set)
  // through the path translation inside one BeginUpdate/EndUpdate bracket.
  void LoadImage();
  // ImagePath with its folder passed through OnTranslateImagePath.
  std::string TranslateImagePath(const std::string& imagePath);

  // Moves the item and tells the collection where it went.
  void SetIndex(int index) override;
  // Copies another item: retrieval, picture, names, handler, loaded state.
  void Assign(TPersistent* source) override;
  void DefineProperties(TFiler& filer) override;
  void BeforeDestruction() override;

 protected:
  // For descendants whose picture is of another TMemoryDIB class.
  TDIBImagesItem(TCollection* collection, const TClassInfo& dibClass);
  // The picture's OnChange.
  virtual void DIBChanged(TObject* sender);
  // The picture's OnResize: the list's view must not keep the old pixels.
  void DIBResized(TObject* sender);

 private:
  TDIBImages* Images() const;
  bool StreamInProgress() const;
  // Leaves the collection and reports the deletion; once.
  void Release();

  std::unique_ptr<TMemoryDIB, TFreeObject> dib_;
  TDIBImageRetrieval imageRetrieval_ = TDIBImageRetrieval::irInternal;
  std::string displayName_;
  std::string templateFilename_;
  bool imageLoaded_ = false;
  bool released_ = false;
};

}  // namespace zelk
