// Control templates: pictures written once per image with raw data, link
// records by property name, a property block whose unknown entries are
// skipped by size, and templates moved to a control of another form with
// another image list that then composes the same pixels. Damaged templates
// are refused and change nothing.
#include <algorithm>
#include <cstring>

#include "controls/DIBTemplate.h"
#include "dib/DIBCompressorRegistry.h"
#include "dib/DIBImageLink.h"
#include "dib/DIBImages.h"
#include "dib/RLEDIBCompressor.h"
#include "dib/DIBLibrary.h"
#include "dib/WinDIB.h"
#include "runtime/ClassBuilder.h"
#include "runtime/Stream.h"
#include "tests/controls/DIBControlTestSupport.h"

namespace zelk::tests {
namespace {

// A nested setting object of the knob.
class TKnobFrame : public TPersistent {
  ZELK_CLASS(TKnobFrame, TPersistent)
 public:
  int32_t Depth = 1;
  std::string Label;
};

const TClassInfo& TKnobFrame::StaticClass() {
  static const TClassInfo info = TClassBuilder<TKnobFrame>("TKnobFrame")
                                     .Property("Depth", &TKnobFrame::Depth)
                                     .Property("Label", &TKnobFrame::Label)
                                     .Build();
  return info;
}

// Draws its back picture, then its main picture over it.
class TPictureKnob : public TCustomDIBControl {
  ZELK_CLASS(TPictureKnob, TCustomDIBControl)

  explicit TPictureKnob(TComponent* owner) : TCustomDIBControl(owner), frame_(New<TKnobFrame>()) {
    CreateImageLink(main_);
    CreateImageLink(back_);
    for (const char* name : {"Opacity", "Accelerator", "Caption", "Ratio", "Big", "Mode", "Frame"}) {
      AddTemplateProperty(name);
    }
  }
  ~TPictureKnob() override {
    ReleaseImageLink(main_);
    ReleaseImageLink(back_);
    TObject::Free(main_);
    TObject::Free(back_);
  }
  TDIBImageLink* IndexMain() const { return main_; }
  TDIBImageLink* IndexBack() const { return back_; }
  TKnobFrame* Frame() const { return frame_.get(); }
  void SetFrame(TKnobFrame* source) { frame_->Depth = source->Depth; }

  std::string Caption;
  double Ratio = 0.5;
  int64_t Big = 0;
  TTransparentMode Mode = TTransparentMode::tmAuto;

  void PaintDIB() override {
    TAbstractSuperDIB* image = nullptr;
    for (TDIBImageLink* link : {back_, main_}) {
      if (link->GetImage(image)) image->Draw(0, 0, image->Width(), image->Height(), *ControlDIB(), 0, 0);
    }
  }

 private:
  TDIBImageLink* main_ = nullptr;
  TDIBImageLink* back_ = nullptr;
  std::unique_ptr<TKnobFrame, TFreeObject> frame_;
};

const TClassInfo& TPictureKnob::StaticClass() {
  using T = TPictureKnob;
  static const TClassInfo info = [] {
    TClassBuilder<T> builder("TPictureKnob");
    return PublishDIBControl(builder)
        .ReadOnly("IndexBack", &T::IndexBack)
        .ReadOnly("IndexMain", &T::IndexMain)
        .Property("Caption", &T::Caption)
        .Property("Ratio", &T::Ratio)
        .Property("Big", &T::Big)
        .Property("Mode", &T::Mode)
        .Property("Frame", &T::Frame, &T::SetFrame)
        .Build();
  }();
  return info;
}

std::vector<uint8_t> Bytes(TMemoryStream& stream) { return stream.ToVector(); }

int32_t Int32At(const std::vector<uint8_t>& bytes, size_t at) {
  int32_t value;
  std::memcpy(&value, bytes.data() + at, 4);
  return value;
}

class DIBTemplateTest : public DIBControlTest {
 protected:
  void SetUp() override {
    DIBControlTest::SetUp();
    InitializeDIBLibrary();
    red = AddImage(*MakePattern(30, 20, 1));
    blue = AddImage(*MakePattern(30, 20, 2));
    knob = New<TPictureKnob>(form.get());
    knob->SetParent(container);
    knob->SetBounds(5, 6, 30, 20);
    knob->SetDIBImageList(list.get());
  }
  std::vector<uint8_t> Save(TCustomDIBControl& control) {
    TMemoryStream stream;
    control.SaveTemplate(stream);
    return stream.ToVector();
  }
  void Load(TCustomDIBControl& control, const std::vector<uint8_t>& bytes) {
    TMemoryStream stream(bytes);
    stream.SetPosition(0);
    control.LoadTemplate(stream);
  }
  int32_t red = 0;
  int32_t blue = 0;
  TPictureKnob* knob = nullptr;
};

TEST_F(DIBTemplateTest, TwoLinksToOneImageWriteItOnceAndALinkAtMinusOneNothing) {
  knob->IndexMain()->SetDIBIndex(blue);
  knob->IndexBack()->SetDIBIndex(blue);
  std::vector<uint8_t> both = Save(*knob);
  EXPECT_EQ(Int32At(both, 16), 1) << "images";
  EXPECT_EQ(Int32At(both, 20), 2) << "link records";
  // The two records close the links part; each ends with image number 0.
  const std::string main = "IndexMain";
  const auto at = std::search(both.begin(), both.end(), main.begin(), main.end());
  ASSERT_NE(at, both.end());
  const size_t afterName = size_t(at - both.begin()) + main.size();
  const int32_t displayLength = Int32At(both, afterName);
  EXPECT_EQ(Int32At(both, afterName + 4 + size_t(displayLength)), 0);

  knob->IndexBack()->SetDIBIndex(-1);
  const std::vector<uint8_t> one = Save(*knob);
  EXPECT_EQ(Int32At(one, 16), 1);
  EXPECT_EQ(Int32At(one, 20), 1);
}

TEST_F(DIBTemplateTest, ImagesAreStoredRawAndTheCompressorIsRestored) {
  knob->IndexMain()->SetDIBIndex(red);
  TAbstractDIBCompressor* rle = FindDIBCompressor(kRLECompressorGUIDText);
  ASSERT_NE(rle, nullptr);
  TCurrentDIBCompressorScope scope(rle);
  const std::vector<uint8_t> bytes = Save(*knob);
  EXPECT_EQ(CurrentDIBCompressor(), rle);
  const std::string signature = "DIBCMP";
  EXPECT_EQ(std::search(bytes.begin(), bytes.end(), signature.begin(), signature.end()), bytes.end());
}

TEST_F(DIBTemplateTest, PropertiesTravelAndSixtyFourBitValuesKeepTheirLowHalf) {
  knob->SetOpacity(77);
  knob->SetAccelerator('k');
  knob->Caption = "Gain";
  knob->Ratio = 0.125;
  knob->Big = 0x123456789LL;
  knob->Mode = TTransparentMode::tmFixed;
  knob->Frame()->Depth = 9;
  knob->SetBounds(0, 0, 44, 33);
  const std::vector<uint8_t> bytes = Save(*knob);
  auto* copy = New<TPictureKnob>(form.get());
  copy->SetParent(container);
  copy->Big = -1;
  Load(*copy, bytes);
  EXPECT_EQ(copy->Width(), 44);
  EXPECT_EQ(copy->Height(), 33);
  EXPECT_EQ(copy->Opacity(), 77);
  EXPECT_EQ(copy->Accelerator(), 'k');
  EXPECT_EQ(copy->Caption, "Gain");
  EXPECT_EQ(copy->Ratio, 0.125);
  EXPECT_EQ(copy->Big, 0x23456789LL);
  EXPECT_EQ(copy->Mode, TTransparentMode::tmFixed);
  EXPECT_EQ(copy->Frame()->Depth, 9);
}

// Hand-made: no images, an entry the class does not publish, then Opacity.
TEST_F(DIBTemplateTest, UnknownPropertiesAreSkippedAndNoImagesNeedNoList) {
  TMemoryStream stream;
  const auto int32 = [&](int32_t value) { stream.WriteBuffer(&value, 4); };
  const auto text = [&](std::string_view value) {
    int32(int32_t(value.size()));
    stream.WriteBuffer(value.data(), int64_t(value.size()));
  };
  stream.WriteBuffer(std::string(16, 'g').data(), 16);
  int32(0);
  int32(0);
  int32(2);
  text("Sparkle");
  int32(7);
  stream.WriteBuffer("abcdefg", 7);
  text("Opacity");
  int32(4);
  int32(99);
  auto* bare = New<TPictureKnob>(form.get());
  bare->SetParent(container);
  ASSERT_EQ(bare->DIBImageList(), nullptr);
  Load(*bare, Bytes(stream));
  EXPECT_EQ(bare->Opacity(), 99);
}

TEST_F(DIBTemplateTest, ATemplateWithImagesNeedsAList) {
  knob->IndexMain()->SetDIBIndex(red);
  const std::vector<uint8_t> bytes = Save(*knob);
  auto* bare = New<TPictureKnob>(form.get());
  bare->SetParent(container);
  try {
    Load(*bare, bytes);
    FAIL();
  } catch (const EDIBControlError& error) {
    EXPECT_STREQ(error.what(), "No DIB image list has been assigned.");
  }
}

// Another form, another list with a picture of its own in front: the
// template's pictures land behind it and the knob composes the same frame.
TEST_F(DIBTemplateTest, AKnobMovedToAnotherFormComposesTheSamePixels) {
  knob->IndexBack()->SetDIBIndex(red);
  knob->IndexMain()->SetDIBIndex(blue);
  list->DIBImages()->Item(blue)->DIB()->SetOpacity(120);
  list->DIBImages()->Item(blue)->SetDisplayName("Cap");
  const std::vector<uint8_t> bytes = Save(*knob);

  std::unique_ptr<TForm, TFreeObject> other(New<TForm>(nullptr));
  other->SetBounds(0, 0, 300, 200);
  auto* otherContainer = New<TDIBImageContainer>(other.get());
  otherContainer->SetBounds(10, 10, 100, 60);
  otherContainer->SetParent(other.get());
  otherContainer->SetColor(container->Color());
  TListPtr otherList(New<TDIBImageList>(nullptr));
  otherList->DIBImages()->Add()->DIB()->SetSize(3, 3);
  auto* copy = New<TPictureKnob>(other.get());
  copy->SetParent(otherContainer);
  copy->SetBounds(5, 6, 10, 10);
  copy->SetDIBImageList(otherList.get());
  Load(*copy, bytes);
  // Pictures in the order of the links' creation: main first.
  EXPECT_EQ(copy->IndexMain()->DIBIndex(), 1);
  EXPECT_EQ(copy->IndexBack()->DIBIndex(), 2);
  EXPECT_EQ(otherList->DIBImages()->Item(1)->DisplayName(), "Cap");
  Load(*copy, bytes);
  EXPECT_EQ(otherList->DIBImages()->Count(), 3) << "the same template reuses its images";

  other->Show();
  container->Invalidate();
  windows.Pump();
  ASSERT_NE(windows.PixelAt(Window(), 10, 10), windows.PixelAt(Window(), 90, 50)) << "the knob shows";
  for (int32_t y = 0; y < 60; ++y) {
    for (int32_t x = 0; x < 100; ++x) {
      ASSERT_EQ(windows.PixelAt(otherContainer->Handle(), x, y), windows.PixelAt(Window(), x, y)) << x << "," << y;
    }
  }
}

// Loading a template again reads its pictures into the ones it brought
// before: their pixels and the settings it carries come back, the settings
// it does not carry (an empty file name is not stored) stay.
TEST_F(DIBTemplateTest, LoadingAgainKeepsThePictureSettingsTheTemplateDoesNotCarry) {
  knob->IndexMain()->SetDIBIndex(blue);
  const std::vector<uint8_t> bytes = Save(*knob);
  auto* copy = New<TPictureKnob>(form.get());
  copy->SetParent(container);
  copy->SetDIBImageList(list.get());
  Load(*copy, bytes);
  const int32_t brought = copy->IndexMain()->DIBIndex();
  TMemoryDIB& picture = *list->DIBImages()->Item(brought)->DIB();
  const TPixel corner = picture.Pixel(0, 0);
  picture.SetImageFilename("cap.png");
  picture.SetOpacity(40);
  picture.SetPixel(0, 0, 0);
  Load(*copy, bytes);
  EXPECT_EQ(copy->IndexMain()->DIBIndex(), brought);
  EXPECT_EQ(picture.ImageFilename(), "cap.png");
  EXPECT_EQ(picture.Opacity(), 255);
  EXPECT_EQ(picture.Pixel(0, 0), corner);
}

// Every shortened template, and counts promising more than there is, are
// refused without touching the knob or the list.
TEST_F(DIBTemplateTest, DamagedTemplatesChangeNothing) {
  knob->IndexMain()->SetDIBIndex(red);
  knob->IndexBack()->SetDIBIndex(blue);
  knob->SetOpacity(50);
  knob->Caption = "Saved";
  const std::vector<uint8_t> bytes = Save(*knob);
  knob->IndexMain()->SetDIBIndex(-1);
  knob->SetOpacity(200);
  knob->Caption = "Before";
  const int images = list->DIBImages()->Count();
  const auto unchanged = [&](const std::string& what) {
    EXPECT_EQ(knob->IndexMain()->DIBIndex(), -1) << what;
    EXPECT_EQ(knob->Opacity(), 200) << what;
    EXPECT_EQ(knob->Caption, "Before") << what;
    EXPECT_EQ(list->DIBImages()->Count(), images) << what;
  };
  for (size_t length = 0; length < bytes.size(); length += 1 + length / 64) {
    EXPECT_THROW(Load(*knob, std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(length))), Exception) << length;
    unchanged("length " + std::to_string(length));
  }
  for (size_t at : {16u, 20u}) {
    std::vector<uint8_t> promising = bytes;
    promising[at + 3] = 0x10;
    EXPECT_THROW(Load(*knob, promising), Exception);
    unchanged("count at " + std::to_string(at));
  }
  Load(*knob, bytes);
  EXPECT_EQ(knob->Caption, "Saved");
}

TEST_F(DIBTemplateTest, OnlyPublishedPropertiesOfTemplatableKindsRegister) {
  try {
    knob->AddTemplateProperty("Sparkle");
    FAIL();
  } catch (const EDIBControlError& error) {
    EXPECT_STREQ(error.what(),
                 "Class TPictureKnob is trying to register Sparkle as a template property, and that property does "
                 "not exist.");
  }
  for (const char* name : {"OnEnter", "DIBImageList"}) {
    try {
      knob->AddTemplateProperty(name);
      FAIL() << name;
    } catch (const EDIBControlError& error) {
      EXPECT_STREQ(error.what(), "Attempting to template an invalid property type.");
    }
  }
  EXPECT_EQ(knob->TemplateProperties().front(), "Width");
  EXPECT_EQ(knob->TemplateProperties().size(), 9u);
}

}  // namespace
}  // namespace zelk::tests
