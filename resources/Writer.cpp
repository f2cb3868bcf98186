#include "resources/Writer.h"

#include <algorithm>

#include "runtime/Application.h"
#include "runtime/ClassInfo.h"
#include "runtime/Collection.h"
#include "runtime/Component.h"
#include "runtime/Filer.h"
#include "runtime/Stream.h"

namespace zelk {

// Writes the extra properties that an object's hooks report data for.
class TWriter::TDefinedProperties final : public TFiler {
 public:
  TDefinedProperties(TBinaryValueWriter& values, const std::string& prefix) : values_(values), prefix_(prefix) {}

  void DefineProperty(std::string_view name, TReadValue, TWriteValue write, bool hasData) override {
    if (!hasData || !write) return;
    values_.WriteStr(prefix_ + std::string(name));
    write(values_);
  }

  void DefineBinaryProperty(std::string_view name, TReadBinary, TWriteBinary write, bool hasData) override {
    if (!hasData || !write) return;
    TMemoryStream block;
    write(block);
    values_.WriteStr(prefix_ + std::string(name));
    values_.WriteBinary(block.Bytes());
  }

 private:
  TBinaryValueWriter& values_;
  const std::string& prefix_;
};

void TWriter::WriteRootComponent(TComponent& root) {
  root_ = &root;
  values_.WriteSignature();
  WriteComponent(root);
  root_ = nullptr;
}

void TWriter::WriteComponent(TComponent& component) {
  component.SetState(csWriting);
  try {
    values_.WriteObjectHeader(component.ClassName(), component.Name());
    WriteProperties(component, {});
    values_.WriteListEnd();
    for (TComponent* child : component.GetChildren(root_)) {
      // A sub-component is written through the property that holds it.
      if ((child->ComponentStyle() & csSubComponent) == 0) WriteComponent(*child);
    }
    values_.WriteListEnd();
  } catch (...) {
    component.ClearState(csWriting);
    throw;
  }
  component.ClearState(csWriting);
}

void TWriter::WriteProperties(TObject& instance, const std::string& prefix) {
  if (std::find(objectPath_.begin(), objectPath_.end(), &instance) != objectPath_.end()) return;
  objectPath_.push_back(&instance);
  try {
    for (const TPropInfo* property : instance.ClassType().Properties()) {
      if (property->IsStored(instance)) WritePublished(instance, *property, prefix);
    }
    if (auto* persistent = dynamic_cast<TPersistent*>(&instance)) {
      TDefinedProperties defined(values_, prefix);
      persistent->DefineProperties(defined);
    }
  } catch (...) {
    objectPath_.pop_back();
    throw;
  }
  objectPath_.pop_back();
}

// Zero, of either sign, is the default of every float property. Extended
// values are written as their 80 bits, unrounded.
void TWriter::WriteFloatValue(const TValue& value, const std::string& name) {
  if (const auto* extended = std::get_if<TExtended>(&value)) {
    if (IsFloat80Zero(extended->Bytes)) return;
    values_.WriteStr(name);
    return values_.WriteExtended(extended->Bytes);
  }
  if (std::get<double>(value) == 0.0) return;
  values_.WriteStr(name);
  values_.WriteFloat(std::get<double>(value));
}

void TWriter::WritePublished(TObject& instance, const TPropInfo& property, const std::string& prefix) {
  const std::string name = prefix + property.Name;
  if (property.Kind == TTypeKind::tkClass) return WriteObject(instance, property, name);
  if (property.ReadOnly()) return;  // could not be read back
  const TValue value = property.Get(instance);
  switch (property.Kind) {
    case TTypeKind::tkInteger:
    case TTypeKind::tkChar:
    case TTypeKind::tkEnumeration:
    case TTypeKind::tkSet:
    case TTypeKind::tkInt64:
      return WriteOrdinal(property, std::get<int64_t>(value), name);
    case TTypeKind::tkFloat:
      return WriteFloatValue(value, name);
    case TTypeKind::tkString:
      if (std::get<std::string>(value).empty()) return;
      values_.WriteStr(name);
      return values_.WriteString(std::get<std::string>(value));
    case TTypeKind::tkWString:
      if (std::get<std::u16string>(value).empty()) return;
      values_.WriteStr(name);
      return values_.WriteText(std::get<std::u16string>(value));
    case TTypeKind::tkMethod:
      return WriteMethod(std::get<TMethodRef>(value), name);
    case TTypeKind::tkClass:
      return;
  }
}

void TWriter::WriteOrdinal(const TPropInfo& property, int64_t value, const std::string& name) {
  // Without a declared default an ordinal is always written; 64-bit
  // integers default to 0.
  const std::optional<int64_t> defaultValue =
      property.Kind == TTypeKind::tkInt64 ? std::optional<int64_t>(property.Default.value_or(0)) : property.Default;
  if (defaultValue && *defaultValue == value) return;
  switch (property.Kind) {
    case TTypeKind::tkEnumeration: {
      const std::string_view ident = property.EnumType ? property.EnumType->NameOf(value) : std::string_view{};
      if (ident.empty()) return;  // no name to write
      values_.WriteStr(name);
      return values_.WriteIdent(ident);
    }
    case TTypeKind::tkSet: {
      std::vector<std::string_view> members;
      const int count = property.EnumType ? std::min(property.EnumType->Count(), 32) : 0;
      for (int ordinal = 0; ordinal < count; ++ordinal) {
        if ((static_cast<uint64_t>(value) >> ordinal) & 1) members.push_back(property.EnumType->NameOf(ordinal));
      }
      values_.WriteStr(name);
      return values_.WriteSet(members);
    }
    case TTypeKind::tkChar:
      values_.WriteStr(name);
      return values_.WriteBytesString(std::string(1, static_cast<char>(value)));
    default: {
      std::string_view ident;
      values_.WriteStr(name);
      if (property.Idents && property.Idents->IntToIdent(static_cast<int32_t>(value), ident)) {
        return values_.WriteIdent(ident);
      }
      return values_.WriteInteger(value);
    }
  }
}

void TWriter::WriteObject(TObject& instance, const TPropInfo& property, const std::string& name) {
  TObject* object = std::get<TObject*>(property.Get(instance));
  if (object == nullptr) return;
  if (auto* collection = dynamic_cast<TCollection*>(object)) {
    if (property.ReadOnly()) return;  // a reader refuses read-only collections
    values_.WriteStr(name);
    return WriteCollection(*collection);
  }
  if (auto* component = dynamic_cast<TComponent*>(object)) {
    if (component->ComponentStyle() & csSubComponent) return WriteProperties(*component, name + ".");
    if (property.ReadOnly()) return;
    if (const std::optional<std::string> reference = ReferenceName(*component)) WriteIdentValue(name, *reference);
    return;
  }
  if (dynamic_cast<TPersistent*>(object) != nullptr) WriteProperties(*object, name + ".");
}

void TWriter::WriteMethod(const TMethodRef& method, const std::string& name) {
  // Only methods of the root can be bound again by name.
  if (!method || method.Data != root_) return;
  if (const TMethodInfo* published = root_->ClassType().FindMethodByCode(method.Code)) {
    WriteIdentValue(name, published->Name);
  }
}

void TWriter::WriteCollection(TCollection& collection) {
  values_.WriteCollectionBegin();
  for (TCollectionItem* item : collection.Items()) {
    values_.WriteListBegin();
    WriteProperties(*item, {});
    values_.WriteListEnd();
  }
  values_.WriteListEnd();
}

void TWriter::WriteIdentValue(const std::string& name, std::string_view ident) {
  // Always tag 7: a reference or method named like "True" is still a name.
  values_.WriteStr(name);
  values_.WriteTag(TValueTag::vaIdent);
  values_.WriteStr(ident);
}

std::optional<std::string> TWriter::ReferenceName(TComponent& component) const {
  if (&component == root_) return "Owner";
  if (component.Name().empty()) return std::nullopt;
  std::string path = component.Name();
  for (TComponent* owner = component.Owner(); owner != nullptr; owner = owner->Owner()) {
    if (owner == root_) return path;
    if (owner->Name().empty()) return std::nullopt;
    path = owner->Name() + "." + path;
    // A component of another root is found through that root's name.
    if (FindRoot(owner->Name()) == owner) return path;
  }
  return std::nullopt;
}

}  // namespace zelk
