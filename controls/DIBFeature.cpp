#include "controls/DIBFeature.h"

#include <algorithm>

#include "resources/Reader.h"
#include "resources/ValueReader.h"
#include "resources/ValueWriter.h"
#include "resources/Writer.h"
#include "runtime/ClassBuilder.h"
#include "runtime/ClassRegistry.h"
#include "runtime/Filer.h"
#include "runtime/Stream.h"
#include "runtime/Text.h"

namespace zelk {

namespace {

constexpr char kParametersProperty[] = "DIBFeatureParameters";

std::vector<const TClassInfo*>& FeatureClasses() {
  static std::vector<const TClassInfo*> classes;
  return classes;
}

const TClassInfo& RegisteredFeature(std::string_view className) {
  const TClassInfo* featureClass = FindDIBFeature(className);
  if (featureClass == nullptr) throw EFeatureError(std::string(className) + " has not been registered");
  return *featureClass;
}

TFeaturePtr NewFeature(const TClassInfo& featureClass, TControl* control) {
  TFeaturePtr feature(static_cast<TDIBFeature*>(featureClass.Create(nullptr)));
  if (feature == nullptr) throw EFeatureError(std::string(featureClass.Name()) + " has not been registered");
  feature->SetControl(control);
  return feature;
}

}  // namespace

// --- registry ---

void RegisterDIBFeature(const TClassInfo& featureClass) {
  if (!featureClass.InheritsFrom(TDIBFeature::StaticClass()) || !featureClass.CanCreate()) {
    throw EFeatureError(std::string(featureClass.Name()) + " is not a feature class");
  }
  FeatureClasses().push_back(&featureClass);
  RegisterClass(featureClass);
}

const TClassInfo* FindDIBFeature(std::string_view className) {
  const auto& classes = FeatureClasses();
  const auto found = std::find_if(classes.rbegin(), classes.rend(),
                                  [&](const TClassInfo* info) { return SameText(info->Name(), className); });
  return found == classes.rend() ? nullptr : *found;
}

void ClearDIBFeatures() { FeatureClasses().clear(); }

// --- TDIBFeature ---

const TClassInfo& TDIBFeature::StaticClass() {
  static const TClassInfo info = TClassBuilder<TDIBFeature>("TDIBFeature").Build();
  return info;
}

TPersistent* TDIBFeature::GetOwner() { return control_ != nullptr ? control_ : TComponent::GetOwner(); }

// --- the parameters block ---

std::vector<uint8_t> WriteFeatureBlock(TDIBFeature& feature) {
  TMemoryStream block;
  TBinaryValueWriter(block).WriteString(feature.ClassType().Name());
  TWriter(block).WriteRootComponent(feature);
  return block.ToVector();
}

TFeaturePtr ReadFeatureBlock(std::span<const uint8_t> block, TControl* control) {
  TMemoryStream stream(block);
  stream.SetPosition(0);
  const std::string className = TBinaryValueReader(stream).ReadString();
  TFeaturePtr feature = NewFeature(RegisteredFeature(className), control);
  TReader(stream).ReadRootComponent(*feature);
  return feature;
}

// --- TDIBFeatureItem ---

const TClassInfo& TDIBFeatureItem::StaticClass() {
  using T = TDIBFeatureItem;
  static const TClassInfo info = TClassBuilder<T>("TDIBFeatureItem")
                                     .Property("Enabled", &T::Enabled, &T::SetEnabled)
                                     .Default(true)
                                     .Property("FeatureClassName", &T::FeatureClassName, &T::SetFeatureClassName)
                                     .Property("FeatureParameters", &T::FeatureParameters, &T::SetFeatureParameters)
                                     .Build();
  return info;
}

TDIBFeatureItem::TDIBFeatureItem(TCollection* collection) : TCollectionItem(collection) {}

TDIBFeatureItem::~TDIBFeatureItem() = default;

TControl* TDIBFeatureItem::OwnerControl() const {
  TCollection* collection = Collection();
  return collection != nullptr ? dynamic_cast<TControl*>(collection->GetOwner()) : nullptr;
}

TFeaturePtr TDIBFeatureItem::CreateFeature(const std::string& name) const {
  if (name.empty()) return nullptr;
  return NewFeature(RegisteredFeature(name), OwnerControl());
}

void TDIBFeatureItem::SetFeatureClassName(const std::string& name) {
  TFeaturePtr feature = CreateFeature(name);  // raises before anything changes
  feature_ = std::move(feature);
  featureClassName_ = name;
}

void TDIBFeatureItem::BuildFeature() {
  if (storedParameters_.empty()) return;
  TFeaturePtr feature = ReadFeatureBlock(storedParameters_, OwnerControl());
  featureClassName_ = std::string(feature->ClassType().Name());
  feature_ = std::move(feature);
  storedParameters_.clear();
}

std::string TDIBFeatureItem::DisplayName() const {
  return feature_ != nullptr ? feature_->GetFeatureName() : std::string("DIB feature");
}

void TDIBFeatureItem::Assign(TPersistent* source) {
  auto* item = dynamic_cast<TDIBFeatureItem*>(source);
  if (item == nullptr) {
    TCollectionItem::Assign(source);
    return;
  }
  TFeaturePtr feature;
  if (item->feature_ != nullptr) {
    feature = ReadFeatureBlock(WriteFeatureBlock(*item->feature_), OwnerControl());
  } else {
    feature = CreateFeature(item->featureClassName_);
  }
  enabled_ = item->enabled_;
  featureClassName_ = item->featureClassName_;
  feature_ = std::move(feature);
}

void TDIBFeatureItem::DefineProperties(TFiler& filer) {
  TCollectionItem::DefineProperties(filer);
  filer.DefineBinaryProperty(
      kParametersProperty, [this](TStream& stream) { ReadParameters(stream); },
      [this](TStream& stream) { WriteParameters(stream); }, feature_ != nullptr);
}

void TDIBFeatureItem::ReadParameters(TStream& stream) {
  std::vector<uint8_t> block(static_cast<size_t>(stream.Size() - stream.Position()));
  if (!block.empty()) stream.ReadBuffer(block.data(), static_cast<int64_t>(block.size()));
  storedParameters_ = std::move(block);
}

void TDIBFeatureItem::WriteParameters(TStream& stream) {
  if (feature_ == nullptr) return;
  const std::vector<uint8_t> block = WriteFeatureBlock(*feature_);
  stream.WriteBuffer(block.data(), static_cast<int64_t>(block.size()));
}

// --- TDIBFeatures ---

const TClassInfo& TDIBFeatures::StaticClass() {
  static const TClassInfo info = TClassBuilder<TDIBFeatures>("TDIBFeatures").Build();
  return info;
}

TDIBFeatures::TDIBFeatures(TComponent* owner) : TCollection(TDIBFeatureItem::StaticClass(), owner) {}

TDIBFeatures::~TDIBFeatures() {
  BeginUpdate();
  Clear();
}

bool TDIBFeatures::RouteMessage(TMessage& message) {
  bool handled = false;
  // A feature may delete items while it handles the message: walk by index.
  for (int index = 0; index < Count() && !handled; ++index) {
    TDIBFeatureItem* item = Item(index);
    if (item->Enabled() && item->Feature() != nullptr) item->Feature()->FeatureMessage(message, handled);
  }
  return handled;
}

void TDIBFeatures::BuildFeatures() {
  for (int index = 0; index < Count(); ++index) Item(index)->BuildFeature();
}

}  // namespace zelk
