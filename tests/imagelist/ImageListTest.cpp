// The list hands out its pictures through one shared view that must show
// exactly the requested picture, refuse indexes outside the list and never
// reach pixels that are gone; pictures kept in files load when they are
// first needed, through the application's folder handler.
#include <gtest/gtest.h>

#include <functional>

#include "ImageListTestSupport.h"
#include "dib/DIBImagePath.h"
#include "dib/PictureLoader.h"

namespace zelk::tests {
namespace {

using Paths = std::vector<std::string>;

TEST(ImageListGetImage, TheViewSharesThePicturesPixelsAndSettings) {
  TListPtr list = MakeList(3);
  TMemoryDIB* picture = list->DIBImages()->Item(2)->DIB();
  picture->SetOpacity(77);
  TAbstractSuperDIB* view = nullptr;
  ASSERT_TRUE(list->GetImage(2, view));
  EXPECT_EQ(view->Bits(), picture->Bits());
  EXPECT_EQ(view->Width(), 3);
  EXPECT_EQ(view->Opacity(), 77);
}

TEST(ImageListGetImage, IndexesOutsideTheListAnswerFalseAndNoView) {
  TListPtr list = MakeList(2);
  TEventLog events;
  TControlPtr control = MakeControl("Knob", events);
  control->IndexMain()->SetDIBImageList(list.get());
  for (int32_t index : {-1, -7, 2}) {
    TAbstractSuperDIB* dib = list->DIBImages()->Item(0)->DIB();
    EXPECT_FALSE(list->GetImage(index, dib)) << index;
    EXPECT_EQ(dib, nullptr) << index;
    control->IndexMain()->SetDIBIndex(index);
    EXPECT_FALSE(control->IndexMain()->GetImage(dib)) << index;
    EXPECT_FALSE(control->IndexMain()->IsValid()) << index;
  }
}

// A view kept past a deletion or a new pixel block would read freed memory
// (the sanitizer build checks); it shows the list's blank picture instead.
TEST(ImageListGetImage, AViewNeverOutlivesThePixelsItShows) {
  TListPtr list = MakeList(3);
  TAbstractSuperDIB* view = nullptr;
  ASSERT_TRUE(list->GetImage(1, view));
  list->DIBImages()->Delete(1);
  EXPECT_EQ(view->Width(), 1);
  (void)view->Pixel(0, 0);
  ASSERT_TRUE(list->GetImage(0, view));
  std::unique_ptr<TMemoryDIB, TFreeObject> bigger(TAbstractSuperDIB::CreateSize<TMemoryDIB>(40, 40));
  list->DIBImages()->Item(0)->SetDIB(bigger.get());
  EXPECT_EQ(view->Width(), 1);
  (void)view->Pixel(0, 0);
}

// A resize replaces the picture's pixels without a change notification (and
// inside an update bracket before it): the view lets go of the old pixels at
// once.
TEST(ImageListGetImage, AViewLetsGoOfPixelsAResizeReplaced) {
  const std::function<void(TMemoryDIB&)> resizes[] = {
      [](TMemoryDIB& picture) { picture.SetWidth(64); },
      [](TMemoryDIB& picture) { picture.SetHeight(64); },
      [](TMemoryDIB& picture) { picture.SetSize(64, 48); },
      [](TMemoryDIB& picture) {
        picture.BeginUpdate();
        picture.SetWidth(64);
      },
  };
  for (const auto& resize : resizes) {
    TListPtr list = MakeList(2);
    TAbstractSuperDIB* view = nullptr;
    ASSERT_TRUE(list->GetImage(1, view));
    TMemoryDIB& picture = *list->DIBImages()->Item(1)->DIB();
    resize(picture);
    EXPECT_EQ(view->Width(), 1);
    EXPECT_EQ(view->Height(), 1);
    EXPECT_NE(view->Bits(), nullptr);
    (void)view->Pixel(0, 0);
    ASSERT_TRUE(list->GetImage(1, view));
    EXPECT_EQ(view->Bits(), picture.Bits());
    EXPECT_EQ(view->Width(), picture.Width());
  }
}

// Control templates find their pictures again by key, so loading one
// template twice reuses its pictures.
TEST(ImagesTemplate, TheFirstItemWithTheKeyIsFoundElseOneIsAdded) {
  TListPtr list = MakeList(3);
  TDIBImages& images = *list->DIBImages();
  images.Item(2)->SetTemplateFilename("0:{G}");
  images.Item(1)->SetTemplateFilename("0:{G}");
  EXPECT_EQ(images.TemplateImage("{G}", 0), images.Item(1));
  TDIBImagesItem* added = images.TemplateImage("{G}", 1);
  EXPECT_EQ(added->TemplateFilename(), "1:{G}");
  EXPECT_EQ(images.TemplateImage("{G}", 1), added);
  EXPECT_EQ(images.Count(), 4);
}

TDIBImagesItem* FileItem(TDIBImageList& list, TDIBImageRetrieval retrieval, const std::string& fileName,
                         const std::string& maskName = "") {
  TDIBImagesItem* item = list.DIBImages()->Add();
  item->DIB()->SetImageFilename(fileName);
  item->DIB()->SetMaskFilename(maskName);
  item->SetImageRetrieval(retrieval);
  return item;
}

TEST(ImageLoad, WithoutAFileNameTheEmptyPictureIsKeptAndTheLoadRetried) {
  TFakePictures pictures;
  TListPtr list = MakeList(0);
  TDIBImagesItem* item = FileItem(*list, TDIBImageRetrieval::irLoadOnDemand, "");
  EXPECT_EQ(item->DIB()->Width(), 1);
  item->DIB()->SetImageFilename("Knob.bmp");
  EXPECT_FALSE(item->ImageLoaded());
  EXPECT_EQ(item->DIB()->Width(), 4);
  item->DIB();
  EXPECT_EQ(pictures.Requests(), (Paths{"Knob.bmp"}));
}

// An internal picture pointed at a file must load it, not keep old pixels.
TEST(ImageLoad, AnItemSwitchedToAFileLoadsIt) {
  TFakePictures pictures;
  TListPtr list = MakeList(1);
  TDIBImagesItem* item = list->DIBImages()->Item(0);
  item->DIB()->SetImageFilename("Knob.bmp");
  item->SetImageRetrieval(TDIBImageRetrieval::irLoadOnDemand);
  EXPECT_EQ(item->DIB()->Width(), 4);
}

// One change report for the whole import, not one per step.
TEST(ImageLoad, TheFirstRequestLoadsAndReportsOneChange) {
  TFakePictures pictures;
  TListPtr list = MakeList(1);
  FileItem(*list, TDIBImageRetrieval::irLoadOnDemand, "Knob.bmp", "KnobMask.bmp");
  TEventLog events;
  TControlPtr control = MakeControl("Knob", events);
  control->IndexMain()->SetDIBImageList(list.get());
  control->IndexMain()->SetDIBIndex(1);
  events.clear();
  TAbstractSuperDIB* dib = nullptr;
  ASSERT_TRUE(control->IndexMain()->GetImage(dib));
  EXPECT_EQ(dib->Width(), 4);
  EXPECT_TRUE(dib->Masked());
  EXPECT_EQ(events, (TEventLog{"Knob.IndexMain 1 changed, DIBIndex 1"}));
}

TEST(ImageLoad, AMissingFileRaisesItsMessageAndIsTriedAgain) {
  TListPtr list = MakeList(0);
  TDIBImagesItem* item = FileItem(*list, TDIBImageRetrieval::irLoadOnDemand, "/nonexistent-zelk/Knob.bmp");
  for (int attempt = 0; attempt < 2; ++attempt) {
    TAbstractSuperDIB* dib = nullptr;
    try {
      list->GetImage(0, dib);
      FAIL() << "no error";
    } catch (const EPictureError& error) {
      EXPECT_EQ(error.Message(), "Cannot open picture file \"/nonexistent-zelk/Knob.bmp\".");
    }
    EXPECT_FALSE(item->ImageLoaded());
  }
  item->SetImageRetrieval(TDIBImageRetrieval::irInternal);
  EXPECT_EQ(item->DIB()->UpdateCount(), 0);  // every update bracket was closed
}

// An application's OnTranslateImagePath handler.
class TFolderRedirect : public TObject {
 public:
  explicit TFolderRedirect(std::string folder) : folder_(std::move(folder)) {}
  void Translate(TObject*, std::string& imagePath) {
    Seen.push_back(imagePath);
    imagePath = folder_;
  }
  Paths Seen;

 private:
  std::string folder_;
};

TEST(ImageLoad, TheHandlerRedirectsTheFoldersOfPictureAndMask) {
  for (const auto& [folder, expected] :
       {std::pair<std::string, Paths>{"D:\\Pictures", {"D:\\Pictures\\Knob.bmp", "D:\\Pictures\\KnobMask.bmp"}},
        std::pair<std::string, Paths>{"", {"Knob.bmp", "KnobMask.bmp"}}}) {
    TFakePictures pictures;
    TListPtr list = MakeList(0);
    TFolderRedirect redirect(folder);
    TDIBImagesItem* item =
        FileItem(*list, TDIBImageRetrieval::irLoadOnDemand, "E:\\Old\\Knob.bmp", "E:\\Old\\Masks\\KnobMask.bmp");
    item->OnTranslateImagePath = TDIBTranslateImagePathEvent::Bind<&TFolderRedirect::Translate>(&redirect);
    EXPECT_EQ(item->DIB()->ImageFilename(), expected[0]);
    EXPECT_EQ(redirect.Seen, (Paths{"E:\\Old\\", "E:\\Old\\Masks\\"}));
    EXPECT_EQ(pictures.Requests(), expected);
  }
}

TEST(ImageLoad, TheEndOfLoadingLoadsOnlyTheLoadOnStartPictures) {
  TFakePictures pictures;
  TListPtr list = MakeList(0);
  FileItem(*list, TDIBImageRetrieval::irLoadOnDemand, "demand.bmp");
  TDIBImagesItem* onStart = FileItem(*list, TDIBImageRetrieval::irLoadOnStart, "start.bmp");
  list->LoadingFinished();
  EXPECT_EQ(pictures.Requests(), (Paths{"start.bmp"}));
  EXPECT_TRUE(onStart->ImageLoaded());
  FileItem(*list, TDIBImageRetrieval::irLoadOnStart, "missing.bmp");
  EXPECT_THROW(list->LoadingFinished(), EPictureError);  // import errors reach the reader
}

// Local paths use '/': an added separator follows the paths at hand.
TEST(ImageLoad, TheAddedSeparatorFollowsThePaths) {
  EXPECT_EQ(ImagePathInFolder("/srv/pictures", "E:\\Old\\Knob.bmp"), "/srv/pictures/Knob.bmp");
  EXPECT_EQ(ImagePathInFolder("pictures", "/old/Knob.bmp"), "pictures/Knob.bmp");
  EXPECT_EQ(ImagePathInFolder("pictures", "Knob.bmp"), "pictures\\Knob.bmp");
}

}  // namespace
}  // namespace zelk::tests
