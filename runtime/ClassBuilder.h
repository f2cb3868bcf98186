// TClassBuilder: the one place where a class declares what it publishes.
//
//   const TClassInfo& TKnob::StaticClass() {
//     static const TClassInfo info = TClassBuilder<TKnob>("TKnob")
//         .Property("Position", &TKnob::Position, &TKnob::SetPosition).Default(0)
//         .Property("OnChange", &TKnob::OnChange)
//         .ReadOnly("Version", &TKnob::Version)
//         .Method<&TKnob::KnobChange>("KnobChange")
//         .Build();
//     return info;
//   }
//
// The kind of each property follows from its C++ type: integers, char,
// bool and enumerations (with a name table from ZELK_ENUM_NAMES), float,
// double and long double (the extended kind, kept as its 80 bits from
// stream to property and back), std::string and std::u16string, TSet<E>,
// pointers to runtime objects, int64_t and TEvent<...>. Accessors are member
// functions or data members; a single data member serves as getter and
// setter.
#pragma once

#include <concepts>
#include <type_traits>

#include "runtime/ClassInfo.h"
#include "runtime/Collection.h"
#include "runtime/Component.h"
#include "runtime/Exceptions.h"
#include "runtime/Messages.h"
#include "runtime/Set.h"

namespace zelk {

namespace detail {

template <class T>
struct IsSet : std::false_type {};
template <class E>
struct IsSet<TSet<E>> : std::true_type {
  using Element = E;
};
template <class T>
struct IsEvent : std::false_type {};
template <class S>
struct IsEvent<TEvent<S>> : std::true_type {};

template <class Owner, class Accessor>
decltype(auto) ReadThrough(Accessor accessor, Owner& owner) {
  if constexpr (std::is_member_function_pointer_v<Accessor>) {
    return (owner.*accessor)();
  } else {
    return (owner.*accessor);
  }
}

template <class Owner, class Accessor, class Value>
void WriteThrough(Accessor accessor, Owner& owner, Value&& value) {
  if constexpr (std::is_member_function_pointer_v<Accessor>) {
    (owner.*accessor)(std::forward<Value>(value));
  } else {
    owner.*accessor = std::forward<Value>(value);
  }
}

[[noreturn]] void ThrowInvalidValue();

template <class V>
TValue ToValue(const V& value) {
  if constexpr (std::is_same_v<V, bool>) {
    return int64_t{value ? 1 : 0};
  } else if constexpr (std::is_enum_v<V>) {
    return static_cast<int64_t>(value);
  } else if constexpr (IsSet<V>::value) {
    return static_cast<int64_t>(value.Mask());
  } else if constexpr (std::is_integral_v<V>) {
    return static_cast<int64_t>(value);
  } else if constexpr (std::is_same_v<V, long double>) {
    return TExtended{LongDoubleToFloat80(value)};
  } else if constexpr (std::is_floating_point_v<V>) {
    return static_cast<double>(value);
  } else if constexpr (std::is_same_v<V, std::string> || std::is_same_v<V, std::u16string>) {
    return value;
  } else if constexpr (std::is_pointer_v<V>) {
    return static_cast<TObject*>(value);
  } else {
    static_assert(IsEvent<V>::value, "unsupported published type");
    return value.Ref();
  }
}

template <class V>
V FromValue(const TValue& value) {
  if constexpr (std::is_same_v<V, bool>) {
    return std::get<int64_t>(value) != 0;
  } else if constexpr (std::is_enum_v<V>) {
    return static_cast<V>(std::get<int64_t>(value));
  } else if constexpr (IsSet<V>::value) {
    return V::FromMask(static_cast<uint32_t>(std::get<int64_t>(value)));
  } else if constexpr (std::is_integral_v<V>) {
    return static_cast<V>(std::get<int64_t>(value));
  } else if constexpr (std::is_floating_point_v<V>) {
    // Either kind of float value fits either kind of float property.
    if (const auto* extended = std::get_if<TExtended>(&value)) {
      return static_cast<V>(Float80ToLongDouble(extended->Bytes));
    }
    return static_cast<V>(std::get<double>(value));
  } else if constexpr (std::is_same_v<V, std::string> || std::is_same_v<V, std::u16string>) {
    return std::get<V>(value);
  } else if constexpr (std::is_pointer_v<V>) {
    TObject* object = std::get<TObject*>(value);
    if (object == nullptr) return nullptr;
    using Pointee = std::remove_cv_t<std::remove_pointer_t<V>>;
    if (!object->InheritsFrom(Pointee::StaticClass())) ThrowInvalidValue();
    return static_cast<V>(object);
  } else {
    V event;
    if (!event.Assign(std::get<TMethodRef>(value))) ThrowInvalidValue();
    return event;
  }
}

template <class V>
void Describe(TPropInfo& property) {
  if constexpr (std::is_same_v<V, bool>) {
    property.Kind = TTypeKind::tkEnumeration;
    property.EnumType = &BooleanType();
  } else if constexpr (std::is_enum_v<V>) {
    property.Kind = TTypeKind::tkEnumeration;
    property.EnumType = &EnumTypeOf(V{});
  } else if constexpr (IsSet<V>::value) {
    property.Kind = TTypeKind::tkSet;
    property.EnumType = &EnumTypeOf(typename IsSet<V>::Element{});
  } else if constexpr (std::is_same_v<V, char>) {
    property.Kind = TTypeKind::tkChar;
  } else if constexpr (std::is_same_v<V, int64_t> || std::is_same_v<V, uint64_t>) {
    property.Kind = TTypeKind::tkInt64;
  } else if constexpr (std::is_integral_v<V>) {
    property.Kind = TTypeKind::tkInteger;
  } else if constexpr (std::is_floating_point_v<V>) {
    property.Kind = TTypeKind::tkFloat;
    property.FloatType = std::is_same_v<V, float>         ? TFloatType::ftSingle
                         : std::is_same_v<V, long double> ? TFloatType::ftExtended
                                                          : TFloatType::ftDouble;
  } else if constexpr (std::is_same_v<V, std::string>) {
    property.Kind = TTypeKind::tkString;
  } else if constexpr (std::is_same_v<V, std::u16string>) {
    property.Kind = TTypeKind::tkWString;
  } else if constexpr (std::is_pointer_v<V>) {
    property.Kind = TTypeKind::tkClass;
    property.ClassType = &std::remove_cv_t<std::remove_pointer_t<V>>::StaticClass;
  } else {
    static_assert(IsEvent<V>::value, "unsupported published type");
    property.Kind = TTypeKind::tkMethod;
    property.Signature = &V::SignatureType();
  }
}

}  // namespace detail

template <class T>
class TClassBuilder {
 public:
  explicit TClassBuilder(std::string name) : info_(std::move(name), ParentInfo()) {
    if constexpr (!std::is_abstract_v<T>) {
      if constexpr (std::is_constructible_v<T, TComponent*>) {
        info_.SetFactory([](TObject* owner) -> TObject* { return new T(static_cast<TComponent*>(owner)); });
      } else if constexpr (std::is_constructible_v<T, TCollection*>) {
        info_.SetFactory([](TObject* collection) -> TObject* { return new T(static_cast<TCollection*>(collection)); });
      } else if constexpr (std::is_default_constructible_v<T>) {
        info_.SetFactory([](TObject*) -> TObject* { return new T(); });
      }
    }
  }

  // A read-write property; with one data member as accessor it is both.
  template <class Getter, class Setter>
  TClassBuilder& Property(std::string name, Getter getter, Setter setter) {
    using V = ValueOf<Getter>;
    TPropInfo& property = Add<V>(std::move(name), getter);
    property.Set = [setter](TObject& instance, const TValue& value) {
      detail::WriteThrough(setter, static_cast<T&>(instance), detail::FromValue<V>(value));
    };
    return *this;
  }
  template <class Member>
  TClassBuilder& Property(std::string name, Member member) {
    return Property(std::move(name), member, member);
  }
  template <class Getter>
  TClassBuilder& ReadOnly(std::string name, Getter getter) {
    Add<ValueOf<Getter>>(std::move(name), getter);
    return *this;
  }

  // Modifiers of the property declared last.
  TClassBuilder& Default(int64_t value) {
    Last().Default = value;
    return *this;
  }
  template <class E>
    requires std::is_enum_v<E>
  TClassBuilder& Default(E value) {
    return Default(static_cast<int64_t>(value));
  }
  template <class E>
  TClassBuilder& Default(TSet<E> value) {
    return Default(static_cast<int64_t>(value.Mask()));
  }
  TClassBuilder& Stored(bool stored) {
    Last().Stored = [stored](TObject&) { return stored; };
    return *this;
  }
  TClassBuilder& Stored(bool (T::*test)() const) {
    Last().Stored = [test](TObject& instance) { return (static_cast<T&>(instance).*test)(); };
    return *this;
  }
  TClassBuilder& Idents(const TIdentMap& idents) {
    Last().Idents = &idents;
    return *this;
  }
  TClassBuilder& Precision(TFloatType floatType) {
    Last().FloatType = floatType;
    return *this;
  }

  // A published method that events can be bound to by name.
  template <auto Handler>
  TClassBuilder& Method(std::string name) {
    info_.AddMethod(MethodInfo<Handler>(std::move(name), Handler));
    return *this;
  }

  // A published component field, bound to the owned component of that name.
  template <class Component>
  TClassBuilder& Field(std::string name, Component* T::*field) {
    info_.AddField({std::move(name), &Component::StaticClass, [field](TObject& owner, TComponent* component) {
                      auto* typed = component && component->InheritsFrom(Component::StaticClass())
                                        ? static_cast<Component*>(component)
                                        : nullptr;
                      static_cast<T&>(owner).*field = typed;
                    }});
    return *this;
  }

  TClassInfo Build() { return std::move(info_); }

 private:
  template <class Getter>
  using ValueOf = std::remove_cvref_t<decltype(detail::ReadThrough(std::declval<Getter>(), std::declval<T&>()))>;

  static const TClassInfo* ParentInfo() {
    if constexpr (std::is_same_v<T, TObject>) {
      return nullptr;
    } else {
      return &T::Inherited::StaticClass();
    }
  }

  template <class V, class Getter>
  TPropInfo& Add(std::string name, Getter getter) {
    TPropInfo property;
    property.Name = std::move(name);
    detail::Describe<V>(property);
    property.Get = [getter](TObject& instance) -> TValue {
      return detail::ToValue<V>(detail::ReadThrough(getter, static_cast<T&>(instance)));
    };
    last_ = &info_.AddProperty(std::move(property));
    return *last_;
  }

  TPropInfo& Last() { return *last_; }

  template <auto Handler, class Result, class... Args>
  static TMethodInfo MethodInfo(std::string name, Result (T::*)(Args...)) {
    using Event = TEvent<Result(Args...)>;
    return {std::move(name), Event::template Bind<Handler, T>(nullptr).Ref().Code, &Event::SignatureType()};
  }

  TClassInfo info_;
  TPropInfo* last_ = nullptr;
};

}  // namespace zelk
