#pragma once
// The root of every framework class.
//
// Objects live in two phases. The C++ constructor only initialises members; the framework
// constructor `Create` runs once the object is complete, so that virtual operations it calls reach
// the overrides of the final class. `New<T>(args…)` does both. Teardown is the mirror image: `Free()`
// runs `BeforeDestruction` and the virtual `Destroy` chain while the object is whole, then deletes it.
// Classes whose teardown calls no virtual operation may simply use C++ destructors.

#include <string>
#include <utility>

#include "platform/rtl/TypInfo.h"

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static const TClassInfo& StaticClass();
  virtual const TClassInfo& ClassType() const { return StaticClass(); }
  const std::string& ClassName() const { return ClassType().Name(); }
  bool InheritsFrom(const TClassInfo& cls) const { return ClassType().InheritsFrom(cls); }
  template <class T>
  bool Is() const {
    return InheritsFrom(T::StaticClass());
  }

  // The framework constructor of classes that take no arguments.
  void Create() {}
  virtual void AfterConstruction() {}

  // Runs the teardown and deletes the object.
  void Free();

 protected:
  virtual void BeforeDestruction() {}
  // The framework destructor: overrides do their teardown and then call the inherited Destroy.
  virtual void Destroy() {}
};

// Constructs a framework object in both phases: `new T`, then `Create(args…)`, then
// `AfterConstruction`. When either raises (a form's OnCreate runs in AfterConstruction), the object
// is freed and the exception passes on: nothing half made stays with its owner.
template <class T, class... Args>
T* New(Args&&... args) {
  T* object = new T();
  try {
    object->Create(std::forward<Args>(args)...);
    object->AfterConstruction();
  } catch (...) {
    object->Free();
    throw;
  }
  return object;
}

// `object` as a T, or null when it is null or no T. It asks the class information, so it costs a
// walk up a few parent links instead of a dynamic_cast; the stream's inner loops use it.
template <class T>
T* ClassCast(TObject* object) {
  return object && object->InheritsFrom(T::StaticClass()) ? static_cast<T*>(object) : nullptr;
}

// Frees the object, if any, and clears the pointer.
template <class T>
void FreeAndNil(T*& object) {
  T* doomed = object;
  object = nullptr;
  if (doomed) doomed->Free();
}

// Declares the class information of a framework class: put it first in the class body, and
// DEFINE_CLASS in the implementation file. Every class that overrides a framework operation
// declares its own: the class information records, for one, whether the class overrides
// TComponent::Notification.
#define DECLARE_CLASS(Cls)                                               \
 public:                                                                 \
  static const TClassInfo& StaticClass();                                \
  const TClassInfo& ClassType() const override { return StaticClass(); } \
                                                                         \
 private:                                                                \
  friend class TClassBuilder<Cls>;
