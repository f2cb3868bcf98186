// Class descriptions: what a class publishes (properties, methods, fields)
// and how to create an instance of it by name. Each class builds its
// description once, next to its declaration, with TClassBuilder.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <typeinfo>
#include <variant>
#include <vector>

#include "runtime/Event.h"
#include "runtime/Float80.h"
#include "runtime/Object.h"
#include "runtime/TypeInfo.h"

namespace zelk {

class TComponent;

// A published value in its untyped form: ordinals (integers, characters,
// enumerations, sets, 64-bit integers), floats (extended ones as their 80
// bits, the others as double), 8-bit and wide text, objects and events.
using TValue =
    std::variant<std::monostate, int64_t, double, TExtended, std::string, std::u16string, TObject*, TMethodRef>;

class TPropInfo {
 public:
  using TGetter = std::function<TValue(TObject&)>;
  using TSetter = std::function<void(TObject&, const TValue&)>;
  using TStoredTest = std::function<bool(TObject&)>;

  std::string Name;
  TTypeKind Kind = TTypeKind::tkInteger;
  const TEnumTypeInfo* EnumType = nullptr;  // enumerations and set elements
  const TIdentMap* Idents = nullptr;        // integers written as names
  TFloatType FloatType = TFloatType::ftSingle;
  const TClassInfo& (*ClassType)() = nullptr;  // object properties
  const std::type_info* Signature = nullptr;   // events
  std::optional<int64_t> Default;              // ordinal default
  TGetter Get;
  TSetter Set;  // empty for a read-only property
  TStoredTest Stored;  // empty: always stored

  bool ReadOnly() const { return !Set; }
  bool IsStored(TObject& instance) const { return !Stored || Stored(instance); }
};

struct TMethodInfo {
  std::string Name;
  TMethodRef::TCode Code = nullptr;
  const std::type_info* Signature = nullptr;
};

// A published field: a component pointer of the owner that is bound to the
// owned component of the same name.
struct TFieldInfo {
  std::string Name;
  const TClassInfo& (*ClassType)() = nullptr;
  std::function<void(TObject& owner, TComponent* component)> Bind;
};

class TClassInfo {
 public:
  // Creates an instance from a context: the owner for components, the
  // collection for collection items. Null for classes that cannot be created.
  using TFactory = TObject* (*)(TObject* context);

  TClassInfo(std::string name, const TClassInfo* parent);

  std::string_view Name() const { return name_; }
  const TClassInfo* Parent() const { return parent_; }
  bool InheritsFrom(const TClassInfo& ancestor) const;
  bool CanCreate() const { return factory_ != nullptr; }
  // Creates an instance and runs its AfterConstruction.
  TObject* Create(TObject* context) const;

  // Lookups walk the class chain; names compare without regard to case.
  const TPropInfo* FindProperty(std::string_view name) const;
  const TMethodInfo* FindMethod(std::string_view name) const;
  const TMethodInfo* FindMethodByCode(TMethodRef::TCode code) const;
  const TFieldInfo* FindField(std::string_view name) const;

  // All published properties, the base class's first, in declaration order.
  std::vector<const TPropInfo*> Properties() const;
  // The classes of the published fields of this class and its ancestors.
  std::vector<const TClassInfo*> FieldClasses() const;

  // Used by TClassBuilder while the description is built.
  TPropInfo& AddProperty(TPropInfo property);
  void AddMethod(TMethodInfo method) { methods_.push_back(std::move(method)); }
  void AddField(TFieldInfo field) { fields_.push_back(std::move(field)); }
  void SetFactory(TFactory factory) { factory_ = factory; }

 private:
  std::string name_;
  const TClassInfo* parent_;
  TFactory factory_ = nullptr;
  std::vector<TPropInfo> properties_;
  std::vector<TMethodInfo> methods_;
  std::vector<TFieldInfo> fields_;
};

}  // namespace zelk
