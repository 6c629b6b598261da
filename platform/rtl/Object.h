#pragma once
// The root of every framework class.
//
// Objects live in two phases. The C++ constructor only initialises members; the framework
// constructor `Create` runs once the object is complete, so that virtual operations it calls reach
// the overrides of the final class. `New<T>(args…)` does both. Teardown is the mirror image: `Free()`
// runs `BeforeDestruction` and the virtual `Destroy` chain while the object is whole, then deletes it.
// Classes whose teardown calls no virtual operation may simply use C++ destructors.

#include <memory>
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

  // Expires as soon as the object's teardown begins. Code that holds an object across user code
  // or a posted message keeps a TWeak, built on this token. It costs nothing until first asked for.
  std::weak_ptr<const void> AliveToken() const;

 protected:
  virtual void BeforeDestruction() {}
  // The framework destructor: overrides do their teardown and then call the inherited Destroy.
  virtual void Destroy() {}
  // Weak references to the object read null from now on. Free calls it first; a class whose
  // objects may be deleted without Free calls it as its own destructor begins.
  void EndLife() const {
    alive_.reset();
    lifeEnded_ = true;
  }

 private:
  mutable std::shared_ptr<const void> alive_;  // made on the first AliveToken()
  mutable bool lifeEnded_ = false;
};

// A reference to an object that becomes null when the object's teardown begins. It costs the
// object nothing until the first TWeak to it is made.
template <class T>
class TWeak {
 public:
  TWeak() = default;
  TWeak(T* object) { reset(object); }  // NOLINT(google-explicit-constructor)
  // A reference to a derived class taken over as it is, without asking the object again.
  template <class U>
  TWeak(TWeak<U>&& other) noexcept : ptr_(other.ptr_), token_(std::move(other.token_)) {}  // NOLINT
  TWeak& operator=(T* object) {
    reset(object);
    return *this;
  }

  T* get() const { return token_.expired() ? nullptr : ptr_; }
  T* operator->() const { return get(); }
  T& operator*() const { return *get(); }
  explicit operator bool() const { return get() != nullptr; }
  // True when an object was referred to and its teardown has begun since.
  bool expired() const { return ptr_ && token_.expired(); }
  void reset(T* object = nullptr) {
    ptr_ = object;
    token_ = object ? static_cast<const TObject*>(object)->AliveToken() : std::weak_ptr<const void>();
  }

 private:
  template <class>
  friend class TWeak;

  T* ptr_ = nullptr;
  std::weak_ptr<const void> token_;
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
