#include "ImageListTestSupport.h"

#include <cstring>

#include <gtest/gtest.h>

#include "dib/DIBCompressorRegistry.h"
#include "dib/DIBLibrary.h"
#include "dib/PictureLoader.h"
#include "dib/PictureSourceHook.h"
#include "resources/ComponentResources.h"
#include "resources/TextFormCompiler.h"
#include "runtime/ClassBuilder.h"
#include "runtime/Messages.h"
#include "runtime/Stream.h"
#include "tests/support/DIBLibraryEnvironment.h"

namespace zelk::tests {

namespace {

std::vector<std::string>& RecordedRequests() {
  static std::vector<std::string> requests;
  return requests;
}

TLoadedPicture LoadFakePicture(const std::string& fileName) {
  RecordedRequests().push_back(fileName);
  if (fileName.find("missing") != std::string::npos) {
    throw EPictureError(FormatMessage(kPictureFileNotFoundMessage, fileName));
  }
  return TLoadedPicture{4, 3, std::vector<uint32_t>(12, 0xFF336699u), false};
}

}  // namespace

const TClassInfo& TPictureControl::StaticClass() {
  static const TClassInfo info = TClassBuilder<TPictureControl>("TPictureControl")
                                     .ReadOnly("IndexMain", &TPictureControl::IndexMain)
                                     .ReadOnly("IndexBack", &TPictureControl::IndexBack)
                                     .Build();
  return info;
}

TPictureControl::TPictureControl(TComponent* owner) : TComponent(owner), indexMain_(MakeLink()), indexBack_(MakeLink()) {}

std::unique_ptr<TDIBImageLink, TFreeObject> TPictureControl::MakeLink() {
  std::unique_ptr<TDIBImageLink, TFreeObject> link(New<TDIBImageLink>(this));
  link->OnImageChanged = TDIBImageChangedEvent::Bind<&TPictureControl::LinkChanged>(this);
  return link;
}

void TPictureControl::LinkChanged(TObject* sender, int32_t index, TDIBImageOperation operation) {
  auto* link = static_cast<TDIBImageLink*>(sender);
  if (Log == nullptr) return;
  Log->push_back(Name() + (link == indexMain_.get() ? ".IndexMain " : ".IndexBack ") + std::to_string(index) +
                 (operation == TDIBImageOperation::ioDeleted ? " deleted" : " changed") + ", DIBIndex " +
                 std::to_string(link->DIBIndex()));
}

TListPtr MakeList(int count) {
  TListPtr list(New<TDIBImageList>(nullptr));
  for (int index = 0; index < count; ++index) {
    TDIBImagesItem* item = list->DIBImages()->Add();
    item->SetDisplayName("Image" + std::to_string(index));
    item->DIB()->SetSize(static_cast<uint16_t>(index + 1), 2);
  }
  return list;
}

TControlPtr MakeControl(const std::string& name, TEventLog& log) {
  TControlPtr control(New<TPictureControl>(nullptr));
  control->SetName(name);
  control->Log = &log;
  return control;
}

TFakePictures::TFakePictures() {
  RecordedRequests().clear();
  SetPictureLoaderFunction(&LoadFakePicture);
}

TFakePictures::~TFakePictures() { SetPictureLoaderFunction(&LoadPictureFile); }

const std::vector<std::string>& TFakePictures::Requests() { return RecordedRequests(); }

const TClassInfo& TImageListForm::StaticClass() {
  static const TClassInfo info = TClassBuilder<TImageListForm>("TImageListForm")
                                     .Field("DIBImageList", &TImageListForm::DIBImageList)
                                     .Field("DIBSettings", &TImageListForm::DIBSettings)
                                     .Field("Knob", &TImageListForm::Knob)
                                     .Method<&TImageListForm::TranslatePath>("TranslatePath")
                                     .Build();
  return info;
}

void TImageListForm::InitializeComponent() {
  ReadRootResources(*this, TDataModule::StaticClass(), messages::kFormResourceNotFound);
}

TFormPtr LoadForm(std::string_view text) { return LoadForm(CompileComponentText(text)); }

TFormPtr LoadForm(const std::vector<uint8_t>& resource) {
  RegisterComponentResource("TImageListForm", resource);
  struct TUnregister {
    ~TUnregister() { UnregisterComponentResource("TImageListForm"); }
  } unregister;
  return TFormPtr(New<TImageListForm>(nullptr));
}

std::vector<uint8_t> PatternPixels(uint16_t width, uint16_t height) {
  std::vector<uint8_t> pixels(size_t{width} * height * 4);
  for (size_t at = 0; at < pixels.size(); at += 4) {
    const size_t row = at / 4 / width;
    const size_t column = at / 4 % width;
    pixels[at] = static_cast<uint8_t>(row * 16);
    pixels[at + 1] = column < width / 2u ? 40 : 200;
    pixels[at + 2] = 90;
    pixels[at + 3] = 255;
  }
  return pixels;
}

std::string StoredPictureHex(uint16_t width, uint16_t height, std::string_view guidText) {
  std::unique_ptr<TMemoryDIB, TFreeObject> dib(TAbstractSuperDIB::CreateSize<TMemoryDIB>(width, height));
  const std::vector<uint8_t> pixels = PatternPixels(width, height);
  std::memcpy(dib->Bits(), pixels.data(), pixels.size());
  TCurrentDIBCompressorScope compressor(guidText.empty() ? nullptr : FindDIBCompressor(guidText));
  TMemoryStream block;
  dib->WriteData(block);
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (uint8_t byte : block.Bytes()) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 15];
  }
  return hex;
}

}  // namespace zelk::tests
