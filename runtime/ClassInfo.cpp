#include "runtime/ClassInfo.h"

#include "runtime/Text.h"

namespace zelk {

TClassInfo::TClassInfo(std::string name, const TClassInfo* parent) : name_(std::move(name)), parent_(parent) {}

bool TClassInfo::InheritsFrom(const TClassInfo& ancestor) const {
  for (const TClassInfo* info = this; info != nullptr; info = info->parent_) {
    if (info == &ancestor) return true;
  }
  return false;
}

TObject* TClassInfo::Create(TObject* context) const {
  if (factory_ == nullptr) return nullptr;
  TObject* instance = factory_(context);
  try {
    instance->AfterConstruction();
  } catch (...) {
    TObject::Free(instance);
    throw;
  }
  return instance;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
  for (const TClassInfo* info = this; info != nullptr; info = info->parent_) {
    // The last declaration wins, as in Properties().
    for (auto property = info->properties_.rbegin(); property != info->properties_.rend(); ++property) {
      if (SameText(property->Name, name)) return &*property;
    }
  }
  return nullptr;
}

const TMethodInfo* TClassInfo::FindMethod(std::string_view name) const {
  for (const TClassInfo* info = this; info != nullptr; info = info->parent_) {
    for (const TMethodInfo& method : info->methods_) {
      if (SameText(method.Name, name)) return &method;
    }
  }
  return nullptr;
}

const TMethodInfo* TClassInfo::FindMethodByCode(TMethodRef::TCode code) const {
  for (const TClassInfo* info = this; info != nullptr; info = info->parent_) {
    for (const TMethodInfo& method : info->methods_) {
      if (method.Code == code) return &method;
    }
  }
  return nullptr;
}

const TFieldInfo* TClassInfo::FindField(std::string_view name) const {
  for (const TClassInfo* info = this; info != nullptr; info = info->parent_) {
    for (const TFieldInfo& field : info->fields_) {
      if (SameText(field.Name, name)) return &field;
    }
  }
  return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::Properties() const {
  std::vector<const TPropInfo*> result = parent_ ? parent_->Properties() : std::vector<const TPropInfo*>{};
  for (const TPropInfo& property : properties_) {
    // A redeclared property keeps its place but takes the new description.
    bool replaced = false;
    for (const TPropInfo*& existing : result) {
      if (SameText(existing->Name, property.Name)) {
        existing = &property;
        replaced = true;
      }
    }
    if (!replaced) result.push_back(&property);
  }
  return result;
}

std::vector<const TClassInfo*> TClassInfo::FieldClasses() const {
  std::vector<const TClassInfo*> result;
  for (const TClassInfo* info = this; info != nullptr; info = info->parent_) {
    for (const TFieldInfo& field : info->fields_) result.push_back(&field.ClassType());
  }
  return result;
}

TPropInfo& TClassInfo::AddProperty(TPropInfo property) {
  properties_.push_back(std::move(property));
  return properties_.back();
}

}  // namespace zelk
