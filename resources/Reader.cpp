#include "resources/Reader.h"

#include <algorithm>

#include "runtime/Application.h"
#include "runtime/ClassInfo.h"
#include "runtime/ClassRegistry.h"
#include "runtime/Collection.h"
#include "runtime/Component.h"
#include "runtime/Exceptions.h"
#include "runtime/Filer.h"
#include "runtime/Messages.h"
#include "runtime/Stream.h"
#include "runtime/Text.h"

namespace zelk {

namespace {

std::string ObjectNameOf(TObject& instance) {
  if (auto* component = dynamic_cast<TComponent*>(&instance); component != nullptr && !component->Name().empty()) {
    return component->Name();
  }
  return std::string(instance.ClassName());
}

bool IsSubComponentProperty(TObject& target, const TPropInfo& property) {
  if (property.Kind != TTypeKind::tkClass) return false;
  auto* component = dynamic_cast<TComponent*>(std::get<TObject*>(property.Get(target)));
  return component != nullptr && (component->ComponentStyle() & csSubComponent) != 0;
}

// Restores a reader field when the scope ends, also on errors.
template <class T>
class TRestore {
 public:
  TRestore(T& field, T value) : field_(field), saved_(field) { field_ = value; }
  ~TRestore() { field_ = saved_; }
  TRestore(const TRestore&) = delete;
  TRestore& operator=(const TRestore&) = delete;

 private:
  T& field_;
  T saved_;
};

}  // namespace

// Offers one property name to an object's DefineProperties; the first hook
// of that name with a read routine claims it and reads the value at once.
class TReader::TPropertyHooks final : public TFiler {
 public:
  TPropertyHooks(TReader& reader, std::string_view name) : reader_(reader), name_(name) {}

  void DefineProperty(std::string_view name, TReadValue read, TWriteValue, bool) override {
    if (!Claim(name, read)) return;
    read(reader_);
  }

  void DefineBinaryProperty(std::string_view name, TReadBinary read, TWriteBinary, bool) override {
    if (!Claim(name, read)) return;
    if (reader_.ReadValue() != TValueTag::vaBinary) InvalidValue();
    TMemoryStream block(reader_.ReadBinaryPayload());
    block.SetPosition(0);
    read(block);
  }

  bool Claimed() const { return claimed_; }

 private:
  template <class Routine>
  bool Claim(std::string_view name, const Routine& read) {
    if (claimed_ || !read || !SameText(name, name_)) return false;
    claimed_ = true;
    return true;
  }

  TReader& reader_;
  std::string_view name_;
  bool claimed_ = false;
};

void TReader::ReadRootComponent(TComponent& root) {
  ReadSignature();
  ReadPrefix();
  ReadStr();  // the class name: the root already exists
  const std::string name = ReadStr();
  ReadRoot(root, name);
}

TComponent* TReader::ReadNewRootComponent(TComponent* owner) {
  ReadSignature();
  ReadPrefix();
  const std::string className = ReadStr();
  const std::string name = ReadStr();
  const TClassInfo* classInfo = GetClass(className);
  if (classInfo == nullptr || !classInfo->InheritsFrom(TComponent::StaticClass()) || !classInfo->CanCreate()) {
    throw EClassNotFound(FormatMessage(messages::kClassNotFound, className));
  }
  auto* root = static_cast<TComponent*>(classInfo->Create(owner));
  try {
    ReadRoot(*root, name);
  } catch (...) {
    TObject::Free(root);
    throw;
  }
  return root;
}

void TReader::ReadRoot(TComponent& root, const std::string& name) {
  TRestore<TComponent*> rootScope(root_, &root);
  try {
    // A second module or form open at the same time gets Name_1, Name_2, ...
    if (root.HasState(csDesigning) || name.empty()) {
      root.SetName(name);
    } else {
      SetUniqueRootName(root, name);
    }
    root.SetState(csLoading | csReading);
    loaded_.assign({&root});
    ReadComponentData(root);
    fixups_.Resolve(root);
    root.ClearState(csReading);
    FinishLoading();
    ResolveGlobalReferences();
  } catch (...) {
    fixups_.Clear();
    ForgetGlobalReferences(root);
    root.ClearState(csReading);
    loaded_.clear();
    throw;
  }
  loaded_.clear();
}

void TReader::ReadComponentData(TComponent& component) {
  TNesting nesting(*this);
  ReadProperties(component);
  TRestore<TComponent*> parentScope(parent_, component.GetChildParent());
  while (!EndOfList()) ReadChildComponent();
  ReadListEnd();
}

void TReader::ReadChildComponent() {
  const TObjectPrefix prefix = ReadPrefix();
  const std::string className = ReadStr();
  const std::string name = ReadStr();
  TComponent* child = (prefix.Flags & ffInherited) ? root_->FindComponent(name) : nullptr;
  if (child == nullptr) child = CreateChild(className, name);
  child->SetState(csReading);
  ReadComponentData(*child);
  child->ClearState(csReading);
  if (std::find(loaded_.begin(), loaded_.end(), child) == loaded_.end()) loaded_.push_back(child);
}

TComponent* TReader::CreateChild(const std::string& className, const std::string& name) {
  auto* child = static_cast<TComponent*>(FindComponentClass(className).Create(root_));
  try {
    // A class that ignores the owner it is given could not be freed with the root.
    if (child->Owner() != root_) throw EClassNotFound(FormatMessage(messages::kClassNotFound, className));
    child->SetState(csLoading);
    child->SetParentComponent(parent_);
    child->SetName(name);
  } catch (...) {
    TObject::Free(child);
    throw;
  }
  return child;
}

const TClassInfo& TReader::FindComponentClass(const std::string& className) const {
  const TClassInfo* found = nullptr;
  for (const TClassInfo* fieldClass : root_->ClassType().FieldClasses()) {
    if (SameText(fieldClass->Name(), className)) {
      found = fieldClass;
      break;
    }
  }
  if (found == nullptr) found = GetClass(className);
  if (found == nullptr || !found->InheritsFrom(TComponent::StaticClass()) || !found->CanCreate()) {
    throw EClassNotFound(FormatMessage(messages::kClassNotFound, className));
  }
  return *found;
}

void TReader::FinishLoading() {
  // A component may have been freed by another one's setter; only those
  // still in the root's tree hear of the end of loading.
  const auto stillOwned = [this](TComponent* component) {
    const auto& owned = root_->Components();
    return component == root_ || std::find(owned.begin(), owned.end(), component) != owned.end();
  };
  for (size_t i = 0; i < loaded_.size(); ++i) {
    if (stillOwned(loaded_[i])) loaded_[i]->LoadingFinished();
  }
}

void TReader::ReadProperties(TPersistent& instance) {
  while (!EndOfList()) ReadProperty(instance);
  ReadListEnd();
}

void TReader::ReadProperty(TPersistent& instance) {
  const std::string path = ReadStr();
  try {
    ReadPropertyPath(instance, {ObjectNameOf(instance), path});
  } catch (const Exception& error) {
    throw EReadError(FormatMessage(messages::kReadingError, {ObjectNameOf(instance), ".", path, error.Message()}));
  }
}

void TReader::ReadPropertyPath(TPersistent& instance, const TPropertyContext& context) {
  TPersistent* target = &instance;
  std::string_view rest = context.Path;
  for (size_t dot = rest.find('.'); dot != std::string_view::npos; dot = rest.find('.')) {
    const std::string_view part = rest.substr(0, dot);
    rest.remove_prefix(dot + 1);
    const TPropInfo* property = target->ClassType().FindProperty(part);
    if (property == nullptr) throw EReadError(FormatMessage(messages::kUnknownProperty, part));
    if (property->Kind != TTypeKind::tkClass) throw EReadError(messages::kInvalidPropertyPath);
    target = dynamic_cast<TPersistent*>(std::get<TObject*>(property->Get(*target)));
    if (target == nullptr) throw EReadError(messages::kInvalidPropertyPath);
  }
  if (const TPropInfo* property = target->ClassType().FindProperty(rest)) {
    ReadPublished(*target, *property, context);
    return;
  }
  TPropertyHooks hooks(*this, rest);
  target->DefineProperties(hooks);
  if (!hooks.Claimed()) throw EReadError(FormatMessage(messages::kUnknownProperty, rest));
}

void TReader::ReadPublished(TObject& target, const TPropInfo& property, const TPropertyContext& context) {
  if (property.ReadOnly()) {
    if (!IsSubComponentProperty(target, property)) throw EReadError(messages::kReadOnlyProperty);
    SkipValue();  // the sub-component is fixed; there is nothing to assign
    return;
  }
  switch (property.Kind) {
    case TTypeKind::tkInteger:
      return property.Set(target, TValue{ReadIntegerProperty(property)});
    case TTypeKind::tkChar:
      return property.Set(target, TValue{ReadCharProperty()});
    case TTypeKind::tkEnumeration:
      return property.Set(target, TValue{ReadEnumProperty(property)});
    case TTypeKind::tkFloat:
      // Extended values go to the property as their 80 bits, unrounded.
      if (property.FloatType == TFloatType::ftExtended) return property.Set(target, TValue{TExtended{ReadExtended()}});
      return property.Set(target, TValue{ReadFloat()});
    case TTypeKind::tkString:
      return property.Set(target, TValue{ReadString()});
    case TTypeKind::tkWString:
      return property.Set(target, TValue{ReadWideString()});
    case TTypeKind::tkSet:
      return property.Set(target, TValue{ReadSetProperty(property)});
    case TTypeKind::tkClass:
      return ReadObjectProperty(target, property, context);
    case TTypeKind::tkMethod:
      return ReadMethodProperty(target, property);
    case TTypeKind::tkInt64:
      return property.Set(target, TValue{ReadInteger()});
  }
  InvalidValue();
}

int64_t TReader::ReadIntegerProperty(const TPropInfo& property) {
  if (property.Idents == nullptr || NextValue() != TValueTag::vaIdent) return ReadInt32();
  int32_t value = 0;
  if (!property.Idents->IdentToInt(ReadIdent(), value)) InvalidValue();
  return value;
}

int64_t TReader::ReadCharProperty() {
  if (!IsTextTag(NextValue())) InvalidValue();
  const std::string text = ReadString();
  // One character of the system code page that fits the 8-bit character.
  if (text.size() > 1) InvalidValue();
  return text.empty() ? 0 : static_cast<unsigned char>(text[0]);
}

int64_t TReader::ReadEnumProperty(const TPropInfo& property) {
  const std::string name = ReadIdent();
  const int ordinal = property.EnumType ? property.EnumType->IndexOf(name) : -1;
  if (ordinal < 0) InvalidValue();
  return ordinal;
}

int64_t TReader::ReadSetProperty(const TPropInfo& property) {
  if (ReadValue() != TValueTag::vaSet || property.EnumType == nullptr) InvalidValue();
  uint32_t mask = 0;
  bool unknownElement = false;
  // The whole set is read before an unknown element is reported.
  for (const std::string& name : ReadSetPayload()) {
    const int ordinal = property.EnumType->IndexOf(name);
    if (ordinal < 0) {
      unknownElement = true;
    } else if (ordinal < 32) {
      mask |= uint32_t{1} << ordinal;
    }
  }
  if (unknownElement) InvalidValue();
  return mask;
}

void TReader::ReadObjectProperty(TObject& target, const TPropInfo& property, const TPropertyContext& context) {
  switch (ReadValue()) {
    case TValueTag::vaNil:
      return property.Set(target, TValue{static_cast<TObject*>(nullptr)});
    case TValueTag::vaCollection: {
      auto* collection = dynamic_cast<TCollection*>(std::get<TObject*>(property.Get(target)));
      if (collection == nullptr) InvalidValue();
      return ReadCollection(*collection);
    }
    case TValueTag::vaIdent: {
      const bool refersToComponent = property.ClassType && property.ClassType().InheritsFrom(TComponent::StaticClass());
      if (!refersToComponent) InvalidValue();
      fixups_.Add({&target, &property, ReadStr(), context.ObjectName, std::string(context.Path), collections_});
      return;
    }
    default:
      InvalidValue();
  }
}

void TReader::ReadMethodProperty(TObject& target, const TPropInfo& property) {
  const TValueTag tag = ReadValue();
  if (tag == TValueTag::vaNil) return property.Set(target, TValue{TMethodRef{}});
  if (tag != TValueTag::vaIdent) InvalidValue();
  const TMethodInfo* method = root_->ClassType().FindMethod(ReadStr());
  if (method == nullptr) InvalidValue();
  // The setter refuses a method of another signature.
  property.Set(target, TValue{TMethodRef{method->Code, root_, method->Signature}});
}

void TReader::ReadCollection(TCollection& collection) {
  TNesting nesting(*this);
  // One change announcement for the whole read.
  collection.BeginUpdate();
  collections_.push_back(&collection);
  try {
    if (!EndOfList()) {
      // The items go away with their pending references.
      fixups_.ForgetWithin(collection);
      ForgetGlobalReferencesWithin(collection);
      collection.Clear();
    }
    while (!EndOfList()) {
      if (IsSmallIntegerTag(NextValue())) ReadInteger();  // an item position, not used
      ReadListBegin();
      TNesting item(*this);
      ReadProperties(*collection.Add());
    }
    ReadListEnd();
  } catch (...) {
    collections_.pop_back();
    collection.EndUpdate();
    throw;
  }
  collections_.pop_back();
  collection.EndUpdate();
}

}  // namespace zelk
