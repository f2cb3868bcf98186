#include "runtime/Persistent.h"

#include "runtime/ClassBuilder.h"

namespace zelk {

const TClassInfo& TObject::StaticClass() {
  static const TClassInfo info = TClassBuilder<TObject>("TObject").Build();
  return info;
}

std::string_view TObject::ClassName() const { return ClassType().Name(); }

bool TObject::InheritsFrom(const TClassInfo& ancestor) const { return ClassType().InheritsFrom(ancestor); }

void TObject::Free(TObject* object) {
  if (object == nullptr) return;
  object->BeforeDestruction();
  delete object;
}

namespace detail {
void ThrowInvalidValue() { throw EPropertyError(messages::kInvalidPropertyValue); }
}  // namespace detail

const TClassInfo& TPersistent::StaticClass() {
  static const TClassInfo info = TClassBuilder<TPersistent>("TPersistent").Build();
  return info;
}

void TPersistent::Assign(TPersistent* source) {
  if (source != nullptr) {
    source->AssignTo(this);
  } else {
    AssignError(nullptr);
  }
}

void TPersistent::AssignTo(TPersistent* dest) { dest->AssignError(this); }

void TPersistent::AssignError(TPersistent* source) {
  const std::string sourceName = source ? std::string(source->ClassName()) : std::string("nil");
  throw EConvertError(FormatMessage(messages::kAssignError, {sourceName, ClassName()}));
}

std::string TPersistent::GetNamePath() { return std::string(ClassName()); }

}  // namespace zelk
