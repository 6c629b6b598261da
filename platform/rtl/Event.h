#pragma once
// Events: typed closures that also remember the published method they are bound to, so that a
// stream can write the handler's name and a reader can bind it again by name. Parameters that the
// handler answers through are references.

#include <functional>
#include <utility>

#include "platform/rtl/Exception.h"
#include "platform/rtl/Object.h"

template <class... Args>
class TEvent {
 public:
  using Handler = std::function<void(Args...)>;

  TEvent() = default;

  // Binds a method of an object. When the method is published by the object's class, the event
  // knows its name; otherwise it is an anonymous handler that streams do not write.
  template <class C, class M>
  void Bind(C* object, void (M::*method)(Args...)) {
    handler_ = [object, method](Args... args) { (object->*method)(std::forward<Args>(args)...); };
    const TMethodEntry* entry =
        object ? object->ClassType().FindMethodByPointer(static_cast<void (M::*)(Args...)>(method))
               : nullptr;
    method_ = TMethod{entry, entry ? object : nullptr};
  }
  // Binds any callable as an anonymous handler.
  void Bind(Handler handler) {
    handler_ = std::move(handler);
    method_ = TMethod{};
  }
  void Clear() {
    handler_ = nullptr;
    method_ = TMethod{};
  }

  explicit operator bool() const { return static_cast<bool>(handler_); }
  // Calls the handler, if any.
  void operator()(Args... args) const {
    if (handler_) handler_(std::forward<Args>(args)...);
  }

  // The published method the handler is bound to; empty for none or an anonymous handler.
  const TMethod& Method() const { return method_; }
  // Binds the published method a stream named; raises EPropertyError when its signature differs.
  void SetMethod(const TMethod& method) {
    if (!method) {
      Clear();
      return;
    }
    std::any made = method.Code->MakeHandler(method.Data);
    auto* handler = std::any_cast<Handler>(&made);
    if (!handler) throw EPropertyError("Invalid property value");
    handler_ = std::move(*handler);
    method_ = method;
  }

 private:
  Handler handler_;
  TMethod method_;
};

using TNotifyEvent = TEvent<TObject*>;
