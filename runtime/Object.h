// The root of the class hierarchy: every object knows its class description
// (name, parent, published properties, methods and fields), so that streams
// can create objects by class name and set their properties by name.
#pragma once

#include <string_view>
#include <utility>

namespace zelk {

class TClassInfo;

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static const TClassInfo& StaticClass();
  virtual const TClassInfo& ClassType() const { return StaticClass(); }
  std::string_view ClassName() const;
  bool InheritsFrom(const TClassInfo& ancestor) const;
  template <class T>
  bool Is() const {
    return InheritsFrom(T::StaticClass());
  }

  // Called once the object is fully constructed (by TClassInfo::Create and
  // New<T>), so that work needing the most derived class runs there.
  virtual void AfterConstruction() {}
  // Called by Free before the destructor chain runs.
  virtual void BeforeDestruction() {}

  // Destroys the object: BeforeDestruction, then the destructors. Null-safe.
  static void Free(TObject* object);
};

// Creates a T, runs AfterConstruction, and frees it again when that fails.
template <class T, class... Args>
T* New(Args&&... args) {
  T* object = new T(std::forward<Args>(args)...);
  try {
    object->AfterConstruction();
  } catch (...) {
    TObject::Free(object);
    throw;
  }
  return object;
}

// Deleter for owning smart pointers of runtime objects.
struct TFreeObject {
  void operator()(TObject* object) const { TObject::Free(object); }
};

}  // namespace zelk

// Declares the class description accessors inside a class body.
#define ZELK_CLASS(Class, Base)                                        \
 public:                                                               \
  using Inherited = Base;                                              \
  static const ::zelk::TClassInfo& StaticClass();                      \
  const ::zelk::TClassInfo& ClassType() const override { return StaticClass(); }
