// Events: bound method references, a target object plus a routine that calls
// one of its methods. An event fires only when it is assigned; binding by
// name (from a component stream) checks that the signatures match.
#pragma once

#include <typeinfo>
#include <utility>

namespace zelk {

class TObject;

// The untyped form of a bound method, as published properties see it.
struct TMethodRef {
  using TCode = void (*)();
  TCode Code = nullptr;
  TObject* Data = nullptr;
  const std::type_info* Signature = nullptr;

  explicit operator bool() const { return Code != nullptr; }
  bool operator==(const TMethodRef& other) const { return Code == other.Code && Data == other.Data; }
};

namespace detail {
template <auto Method, class Target, class Result, class... Args>
Result CallMethod(TObject* target, Args... args) {
  return (static_cast<Target*>(target)->*Method)(std::forward<Args>(args)...);
}
}  // namespace detail

template <class Signature>
class TEvent;

template <class Result, class... Args>
class TEvent<Result(Args...)> {
 public:
  using TThunk = Result (*)(TObject*, Args...);

  TEvent() = default;
  TEvent(TThunk thunk, TObject* target) : thunk_(thunk), target_(target) {}

  // Binds a method of target: TEvent<...>::Bind<&TForm::Handler>(form).
  template <auto Method, class Target>
  static TEvent Bind(Target* target) {
    return TEvent(&detail::CallMethod<Method, Target, Result, Args...>, target);
  }

  static const std::type_info& SignatureType() { return typeid(Result(Args...)); }

  explicit operator bool() const { return thunk_ != nullptr; }
  Result operator()(Args... args) const { return thunk_(target_, std::forward<Args>(args)...); }
  TObject* Target() const { return target_; }
  void Clear() { *this = TEvent(); }

  TMethodRef Ref() const {
    return {reinterpret_cast<TMethodRef::TCode>(thunk_), target_, &SignatureType()};
  }
  // False (and unchanged) when the reference has another signature.
  bool Assign(const TMethodRef& ref) {
    if (!ref) {
      Clear();
      return true;
    }
    if (ref.Signature == nullptr || *ref.Signature != SignatureType()) return false;
    thunk_ = reinterpret_cast<TThunk>(ref.Code);
    target_ = ref.Data;
    return true;
  }
  bool operator==(const TEvent& other) const { return thunk_ == other.thunk_ && target_ == other.target_; }

 private:
  TThunk thunk_ = nullptr;
  TObject* target_ = nullptr;
};

using TNotifyEvent = TEvent<void(TObject* Sender)>;

}  // namespace zelk
