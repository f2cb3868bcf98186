#include "controls/DIBTemplate.h"

#include <algorithm>
#include <vector>

#include "controls/DIBControl.h"
#include "dib/DIBCompressorRegistry.h"
#include "dib/DIBGuid.h"
#include "dib/DIBImageLink.h"
#include "dib/DIBImageList.h"
#include "dib/DIBImages.h"
#include "platform/Guid.h"
#include "resources/Reader.h"
#include "resources/Writer.h"
#include "runtime/ClassBuilder.h"
#include "runtime/Float80.h"
#include "runtime/Stream.h"
#include "runtime/Text.h"

namespace zelk {

namespace {

// --- plain values ---

void WriteInt32(TStream& stream, int32_t value) {
  const uint8_t bytes[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
  stream.WriteBuffer(bytes, 4);
}

void WriteText(TStream& stream, std::string_view text) {
  WriteInt32(stream, static_cast<int32_t>(text.size()));
  stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

int32_t ReadInt32(TStream& stream) {
  uint8_t bytes[4];
  stream.ReadBuffer(bytes, 4);
  return static_cast<int32_t>(uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
                              uint32_t(bytes[3]) << 24);
}

[[noreturn]] void Corrupt() { throw EDIBControlError("The template is damaged or incomplete."); }

// A count or length that the rest of the stream can hold, at least
// unitSize bytes per unit.
int32_t ReadCount(TStream& stream, int64_t unitSize) {
  const int32_t count = ReadInt32(stream);
  if (count < 0 || count * unitSize > stream.Remaining()) Corrupt();
  return count;
}

std::string ReadText(TStream& stream) {
  std::string text(static_cast<size_t>(ReadCount(stream, 1)), '\0');
  stream.ReadBuffer(text.data(), static_cast<int64_t>(text.size()));
  return text;
}

bool IsOrdinal(TTypeKind kind) {
  return kind == TTypeKind::tkInteger || kind == TTypeKind::tkEnumeration || kind == TTypeKind::tkSet ||
         kind == TTypeKind::tkInt64;
}

bool IsText(TTypeKind kind) {
  return kind == TTypeKind::tkChar || kind == TTypeKind::tkString || kind == TTypeKind::tkWString;
}

// An object value that is a persistent but no component.
TPersistent* TemplateObject(TObject& instance, const TPropInfo& property) {
  if (property.Kind != TTypeKind::tkClass) return nullptr;
  TObject* object = std::get<TObject*>(property.Get(instance));
  if (object == nullptr || object->Is<TComponent>() || !object->Is<TPersistent>()) return nullptr;
  return static_cast<TPersistent*>(object);
}

bool CanTemplate(TObject& instance, const TPropInfo& property) {
  return IsOrdinal(property.Kind) || IsText(property.Kind) || property.Kind == TTypeKind::tkFloat ||
         TemplateObject(instance, property) != nullptr;
}

std::vector<uint8_t> WrapperStream(TComponent& wrapper) {
  TMemoryStream stream;
  TWriter(stream).WriteRootComponent(wrapper);
  return stream.ToVector();
}

// --- saving ---

std::vector<uint8_t> ValueOf(TCustomDIBControl& control, const TPropInfo& property) {
  TMemoryStream value;
  const TValue current = property.Get(control);
  if (IsOrdinal(property.Kind)) {
    WriteInt32(value, static_cast<int32_t>(std::get<int64_t>(current)));  // 64-bit values keep their low half
  } else if (property.Kind == TTypeKind::tkChar) {
    WriteText(value, std::string(1, static_cast<char>(std::get<int64_t>(current))));
  } else if (property.Kind == TTypeKind::tkString) {
    WriteText(value, std::get<std::string>(current));
  } else if (property.Kind == TTypeKind::tkWString) {
    WriteText(value, WideToSystem(std::get<std::u16string>(current)));
  } else if (property.Kind == TTypeKind::tkFloat) {
    const TFloat80Bytes bytes = std::holds_alternative<TExtended>(current) ? std::get<TExtended>(current).Bytes
                                                                          : DoubleToFloat80(std::get<double>(current));
    value.WriteBuffer(bytes.data(), 10);
  } else if (TPersistent* object = TemplateObject(control, property)) {
    TPersistentWrapper wrapper(nullptr);
    wrapper.Wrap(object);
    const std::vector<uint8_t> stream = WrapperStream(wrapper);
    value.WriteBuffer(stream.data(), static_cast<int64_t>(stream.size()));
  }
  return value.ToVector();
}

// The published object property holding link: names sorted, searched from
// the last to the first.
std::string LinkPropertyName(TCustomDIBControl& control, TDIBImageLink* link) {
  std::vector<const TPropInfo*> properties = control.ClassType().Properties();
  std::sort(properties.begin(), properties.end(),
            [](const TPropInfo* left, const TPropInfo* right) { return left->Name < right->Name; });
  for (auto at = properties.rbegin(); at != properties.rend(); ++at) {
    if ((*at)->Kind == TTypeKind::tkClass && std::get<TObject*>((*at)->Get(control)) == link) return (*at)->Name;
  }
  return {};
}

// --- loading: everything read first ---

struct TLinkRecord {
  std::string Property;
  std::string DisplayName;
  int32_t ImageNumber;
};

struct TPropertyValue {
  const TPropInfo* Property;
  std::vector<uint8_t> Bytes;
};

struct TTemplate {
  std::string GUIDText;
  // Each picture's component stream, checked by reading it once.
  std::vector<std::vector<uint8_t>> Images;
  std::vector<TLinkRecord> Links;
  std::vector<TPropertyValue> Values;
};

// Reads picture's settings and pixels from a TDIBWrapper stream into it.
void ReadPictureInto(TMemoryDIB& picture, TStream& stream) {
  TDIBWrapper wrapper(nullptr);
  wrapper.Wrap(&picture);
  TReader(stream).ReadRootComponent(wrapper);
}

// The next picture's stream, read once into a throw-away picture to check it.
std::vector<uint8_t> ReadImage(TStream& stream) {
  const int64_t start = stream.Position();
  std::unique_ptr<TMemoryDIB, TFreeObject> check(New<TMemoryDIB>());
  ReadPictureInto(*check, stream);
  std::vector<uint8_t> bytes(static_cast<size_t>(stream.Position() - start));
  stream.SetPosition(start);
  stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  return bytes;
}

// Checks a value against its property's kind; the object value is read
// into a throw-away object of the same class where one can be made.
void CheckValue(TCustomDIBControl& control, const TPropertyValue& entry) {
  const TPropInfo& property = *entry.Property;
  const auto size = static_cast<int64_t>(entry.Bytes.size());
  TMemoryStream value(entry.Bytes);
  value.SetPosition(0);
  if (IsOrdinal(property.Kind)) {
    if (size != 4) Corrupt();
  } else if (property.Kind == TTypeKind::tkFloat) {
    if (size != 10) Corrupt();
  } else if (IsText(property.Kind)) {
    if (size < 4 || ReadCount(value, 1) != size - 4) Corrupt();
    if (property.Kind == TTypeKind::tkChar && size > 5) Corrupt();
  } else if (TPersistent* current = TemplateObject(control, property); current != nullptr) {
    if (!current->ClassType().CanCreate()) return;
    std::unique_ptr<TObject, TFreeObject> scratch(current->ClassType().Create(nullptr));
    TPersistentWrapper wrapper(nullptr);
    wrapper.Wrap(static_cast<TPersistent*>(scratch.get()));
    TReader(value).ReadRootComponent(wrapper);
  }
}

TTemplate ReadTemplate(TCustomDIBControl& control, TStream& stream) {
  TTemplate read;
  uint8_t guid[kGUIDByteSize];
  stream.ReadBuffer(guid, sizeof guid);
  read.GUIDText = GUIDToString(GUIDFromBytes(guid));
  // Every image stream and link record takes more than 4 bytes.
  const int32_t imageCount = ReadCount(stream, 4);
  if (imageCount > 0 && control.DIBImageList() == nullptr) {
    throw EDIBControlError("No DIB image list has been assigned.");
  }
  const int32_t linkCount = ReadCount(stream, 4);
  for (int32_t number = 0; number < imageCount; ++number) read.Images.push_back(ReadImage(stream));
  for (int32_t link = 0; link < linkCount; ++link) {
    TLinkRecord record;
    record.Property = ReadText(stream);
    const int32_t displayLength = ReadCount(stream, 1);
    record.DisplayName.resize(static_cast<size_t>(displayLength));
    stream.ReadBuffer(record.DisplayName.data(), displayLength);
    record.ImageNumber = ReadInt32(stream);
    if (record.ImageNumber < 0 || record.ImageNumber >= imageCount) Corrupt();
    read.Links.push_back(std::move(record));
  }
  const int32_t propertyCount = ReadCount(stream, 8);
  for (int32_t entry = 0; entry < propertyCount; ++entry) {
    const std::string name = ReadText(stream);
    const int32_t size = ReadCount(stream, 1);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    stream.ReadBuffer(bytes.data(), size);
    const TPropInfo* property = control.ClassType().FindProperty(name);
    if (property == nullptr || property->ReadOnly() || !CanTemplate(control, *property)) continue;
    read.Values.push_back({property, std::move(bytes)});
    CheckValue(control, read.Values.back());
  }
  return read;
}

void ApplyValue(TCustomDIBControl& control, const TPropertyValue& entry) {
  const TPropInfo& property = *entry.Property;
  TMemoryStream value(entry.Bytes);
  value.SetPosition(0);
  if (IsOrdinal(property.Kind)) {
    property.Set(control, TValue{int64_t{ReadInt32(value)}});
  } else if (property.Kind == TTypeKind::tkFloat) {
    TExtended extended;
    value.ReadBuffer(extended.Bytes.data(), 10);
    property.Set(control, TValue{extended});
  } else if (IsText(property.Kind)) {
    const std::string text = ReadText(value);
    if (property.Kind == TTypeKind::tkChar) {
      property.Set(control, TValue{int64_t{text.empty() ? 0 : static_cast<unsigned char>(text[0])}});
    } else if (property.Kind == TTypeKind::tkString) {
      property.Set(control, TValue{text});
    } else {
      property.Set(control, TValue{SystemToWide(text)});
    }
  } else if (TPersistent* current = TemplateObject(control, property)) {
    TPersistentWrapper wrapper(nullptr);
    wrapper.Wrap(current);
    TReader(value).ReadRootComponent(wrapper);
  }
}

}  // namespace

// --- wrappers ---

const TClassInfo& TDIBWrapper::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TDIBWrapper>("TDIBWrapper").Property("DIB", &TDIBWrapper::DIB, &TDIBWrapper::SetDIB).Build();
  return info;
}

void TDIBWrapper::SetDIB(TMemoryDIB* source) {
  if (dib_ != nullptr && source != nullptr) dib_->Assign(source);
}

const TClassInfo& TPersistentWrapper::StaticClass() {
  static const TClassInfo info = TClassBuilder<TPersistentWrapper>("TPersistentWrapper")
                                     .Property("Persistent", &TPersistentWrapper::Persistent,
                                               &TPersistentWrapper::SetPersistent)
                                     .Build();
  return info;
}

void TPersistentWrapper::SetPersistent(TPersistent* source) {
  if (persistent_ != nullptr && source != nullptr) persistent_->Assign(source);
}

// --- the control's side ---

void CheckTemplateProperty(TCustomDIBControl& control, const std::string& name) {
  const TPropInfo* property = control.ClassType().FindProperty(name);
  if (property == nullptr) {
    throw EDIBControlError("Class " + std::string(control.ClassType().Name()) + " is trying to register " + name +
                           " as a template property, and that property does not exist.");
  }
  if (!CanTemplate(control, *property)) throw EDIBControlError("Attempting to template an invalid property type.");
}

void SaveControlTemplate(TCustomDIBControl& control, TStream& stream) {
  const std::optional<platform::TGuidBytes> guid = platform::CreateGuid();
  if (!guid) throw EDIBControlError("Could not create a GUID for your new template.");
  TCurrentDIBCompressorScope raw(nullptr);
  TCustomDIBImageList* list = control.DIBImageList();
  TMemoryStream images;
  TMemoryStream links;
  std::vector<int32_t> written;
  int32_t linkCount = 0;
  for (const auto& owned : control.ImageLinks()) {
    TDIBImageLink* link = owned.get();
    const std::string name = LinkPropertyName(control, link);
    if (name.empty() || list == nullptr || !list->IsIndexValid(link->DIBIndex())) continue;
    auto at = std::find(written.begin(), written.end(), link->DIBIndex());
    if (at == written.end()) {
      TDIBWrapper wrapper(nullptr);
      wrapper.Wrap(list->DIBImages()->Item(link->DIBIndex())->DIB());
      const std::vector<uint8_t> image = WrapperStream(wrapper);
      images.WriteBuffer(image.data(), static_cast<int64_t>(image.size()));
      at = written.insert(written.end(), link->DIBIndex());
    }
    WriteText(links, name);
    WriteText(links, list->DIBImages()->Item(link->DIBIndex())->DisplayName());
    WriteInt32(links, static_cast<int32_t>(at - written.begin()));
    ++linkCount;
  }
  stream.WriteBuffer(guid->data(), static_cast<int64_t>(guid->size()));
  WriteInt32(stream, static_cast<int32_t>(written.size()));
  WriteInt32(stream, linkCount);
  stream.WriteBuffer(images.Memory(), images.Size());
  stream.WriteBuffer(links.Memory(), links.Size());
  WriteInt32(stream, static_cast<int32_t>(control.TemplateProperties().size()));
  for (const std::string& name : control.TemplateProperties()) {
    WriteText(stream, name);
    const TPropInfo* property = control.ClassType().FindProperty(name);
    const std::vector<uint8_t> value = property != nullptr ? ValueOf(control, *property) : std::vector<uint8_t>{};
    WriteInt32(stream, static_cast<int32_t>(value.size()));
    stream.WriteBuffer(value.data(), static_cast<int64_t>(value.size()));
  }
}

void LoadControlTemplate(TCustomDIBControl& control, TStream& stream) {
  TTemplate read = ReadTemplate(control, stream);
  std::vector<int32_t> indexes;
  if (!read.Images.empty()) {
    TDIBImages& images = *control.DIBImageList()->DIBImages();
    for (size_t number = 0; number < read.Images.size(); ++number) {
      // Read over what the list holds under the key (a new picture's
      // defaults the first time), so settings the stream does not carry stay.
      TDIBImagesItem* item = images.TemplateImage(read.GUIDText, static_cast<int32_t>(number));
      std::unique_ptr<TMemoryDIB, TFreeObject> picture(New<TMemoryDIB>());
      picture->Assign(item->DIB());
      TMemoryStream stored(read.Images[number]);
      stored.SetPosition(0);
      ReadPictureInto(*picture, stored);
      item->SetDIB(picture.get());
      indexes.push_back(item->Index());
    }
  }
  for (const TLinkRecord& record : read.Links) {
    const TPropInfo* property = control.ClassType().FindProperty(record.Property);
    if (property == nullptr || property->Kind != TTypeKind::tkClass) continue;
    auto* link = dynamic_cast<TDIBImageLink*>(std::get<TObject*>(property->Get(control)));
    if (link == nullptr) continue;
    const int32_t index = indexes[static_cast<size_t>(record.ImageNumber)];
    link->SetDIBIndex(index);
    if (!record.DisplayName.empty() && link->DIBImageList() != nullptr &&
        link->DIBImageList()->IsIndexValid(index)) {
      link->DIBImageList()->DIBImages()->Item(index)->SetDisplayName(record.DisplayName);
    }
  }
  for (const TPropertyValue& entry : read.Values) ApplyValue(control, entry);
  control.LoadingFinished();
}

}  // namespace zelk
