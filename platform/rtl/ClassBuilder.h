#pragma once
// The builder that publishes a class's properties, fields and methods. Each class does it once, in
// its implementation file:
//
//   DEFINE_CLASS(tshape2, TLabel) {
//     c.Prop("kind", &tshape2::kind, &tshape2::Setkind);
//     c.Prop("pencolor", &tshape2::pencolor, &tshape2::Setpencolor).Type(ColorType());
//   }
//
// The type of a property follows from its getter: bool, integers, char, floating types, enumerations
// and sets declared with ENUMERATION / SET_OF, std::string, pointers to framework objects. `.Type()`
// names a more specific type of the same kind (colours, currency, dates, wide strings).

#include <type_traits>

#include "platform/rtl/Event.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Object.h"

class TComponent;

namespace classbuilder_detail {

// The class that declares the member function a pointer to member points to.
template <class M>
struct MemberOwner;
template <class C, class R, class... A>
struct MemberOwner<R (C::*)(A...)> {
  using Type = C;
};

template <class R>
struct IsSet : std::false_type {};
template <class E>
struct IsSet<TSet<E>> : std::true_type {};

template <class R>
constexpr bool kIsOrdinal = std::is_same_v<R, bool> || std::is_enum_v<R> || IsSet<R>::value ||
                            std::is_integral_v<R>;

template <class R>
const TTypeInfo& DefaultType() {
  if constexpr (std::is_same_v<R, bool>) return BooleanType();
  else if constexpr (std::is_enum_v<R> || IsSet<R>::value)
    return TypeInfoOf(static_cast<const R*>(nullptr));
  else if constexpr (std::is_same_v<R, char>) return CharType();
  else if constexpr (std::is_same_v<R, char16_t>) return WideCharType();
  else if constexpr (std::is_integral_v<R> && sizeof(R) == 8) return Int64Type();
  else if constexpr (std::is_integral_v<R>) return IntegerType();
  else if constexpr (std::is_same_v<R, float>) return SingleType();
  else if constexpr (std::is_same_v<R, double>) return DoubleType();
  else if constexpr (std::is_same_v<R, long double>) return ExtendedType();
  else if constexpr (std::is_same_v<R, std::string>) return StringType();
  else if constexpr (std::is_pointer_v<R>) return std::remove_pointer_t<R>::StaticClass().TypeInfo();
  else static_assert(sizeof(R) == 0, "unsupported property type");
}

template <class R>
int64_t ToOrd(const R& v) {
  if constexpr (IsSet<R>::value) return static_cast<int64_t>(v.Bits());
  else if constexpr (std::is_same_v<R, char>) return static_cast<unsigned char>(v);
  else return static_cast<int64_t>(v);
}

template <class R>
R FromOrd(int64_t v) {
  if constexpr (IsSet<R>::value) return R::FromBits(static_cast<uint32_t>(v));
  else if constexpr (std::is_same_v<R, bool>) return v != 0;
  else return static_cast<R>(v);
}

}  // namespace classbuilder_detail

template <class T>
class TClassBuilder {
 public:
  explicit TClassBuilder(TClassInfo& info) : info_(info) {}

  // True when T's own body overrides TComponent::Notification: the pointer to member names the
  // class that declares the override the name finds. DECLARE_CLASS makes the builder T's friend,
  // so a protected override counts as well; a second overload would make the name ambiguous and
  // stop the build rather than go unseen.
  static constexpr bool OverridesNotification() {
    if constexpr (std::is_base_of_v<TComponent, T>)
      return std::is_same_v<
          typename classbuilder_detail::MemberOwner<decltype(&T::Notification)>::Type, T>;
    else
      return false;
  }

  // Narrows the component notices that the class's own Notification override acts on, given as
  // TOperation values; with none, the override acts on none of them and only passes them on.
  // Without this call an override hears them all, so forgetting it costs time, never a notice.
  template <class... Op>
  void Hears(Op... operations) {
    static_assert(OverridesNotification(), "Hears belongs next to an override of Notification");
    static_assert((std::is_enum_v<Op> && ...), "Hears takes TOperation values");
    info_.ownNotices_ = static_cast<uint8_t>((0u | ... | (1u << operations)));
  }

  // Further settings of the property just published.
  class PropRef {
   public:
    explicit PropRef(TPropInfo& prop) : prop_(prop) {}
    PropRef& Default(int64_t value) {
      prop_.Default = value;
      return *this;
    }
    PropRef& Stored(bool stored) {
      if (stored) prop_.StoredFn = nullptr;
      else prop_.StoredFn = [](TObject*) { return false; };
      return *this;
    }
    PropRef& Stored(bool (T::*isStored)() const) {
      prop_.StoredFn = [isStored](TObject* o) { return (Cast(o)->*isStored)(); };
      return *this;
    }
    PropRef& Type(const TTypeInfo& type) {
      prop_.PropType = &type;
      return *this;
    }

   private:
    TPropInfo& prop_;
  };

  // Publishes a property read by `get` (a const member function or a data member) and written by
  // `set` (a member function, a data member, or nullptr for read-only).
  template <class G, class S = std::nullptr_t>
  PropRef Prop(const char* name, G get, S set = nullptr) {
    using namespace classbuilder_detail;
    using R = std::decay_t<std::invoke_result_t<G, T*>>;
    TPropInfo& p = Add(name, OwnOrDefaultType<R>());
    if constexpr (kIsOrdinal<R>) {
      p.GetOrd = [get](TObject* o) { return ToOrd<R>(std::invoke(get, Cast(o))); };
      if constexpr (!std::is_null_pointer_v<S>)
        p.SetOrd = [set](TObject* o, int64_t v) { Assign(set, Cast(o), FromOrd<R>(v)); };
    } else if constexpr (std::is_floating_point_v<R>) {
      p.GetFloat = [get](TObject* o) { return static_cast<long double>(std::invoke(get, Cast(o))); };
      if constexpr (!std::is_null_pointer_v<S>)
        p.SetFloat = [set](TObject* o, long double v) { Assign(set, Cast(o), static_cast<R>(v)); };
    } else if constexpr (std::is_same_v<R, std::string>) {
      p.GetStr = [get](TObject* o) { return std::string(std::invoke(get, Cast(o))); };
      if constexpr (!std::is_null_pointer_v<S>)
        p.SetStr = [set](TObject* o, const std::string& v) { Assign(set, Cast(o), v); };
    } else if constexpr (std::is_pointer_v<R>) {
      p.GetObj = [get](TObject* o) -> TObject* { return std::invoke(get, Cast(o)); };
      if constexpr (!std::is_null_pointer_v<S>)
        p.SetObj = [set](TObject* o, TObject* v) {
          auto* typed = dynamic_cast<R>(v);
          if (v && !typed) throw EPropertyError("Invalid property value");
          Assign(set, Cast(o), typed);
        };
    }
    return PropRef(p);
  }

  // Publishes an event held in a data member of the class or of an ancestor.
  template <class B, class... A>
  PropRef Event(const char* name, TEvent<A...> B::*field) {
    static_assert(std::is_base_of_v<B, T>, "the event must be a member of the class or an ancestor");
    TPropInfo& p = Add(name, MethodType());
    p.GetMethod = [field](TObject* o) { return (Cast(o)->*field).Method(); };
    p.SetMethod = [field](TObject* o, const TMethod& m) { (Cast(o)->*field).SetMethod(m); };
    return PropRef(p);
  }

  // Publishes a field: a reader that reads a component of this name into an instance of T as
  // root stores the component here, and finds its class among the root's field classes.
  template <class F>
  void Field(const char* name, F* T::*field) {
    info_.fields_.push_back(TFieldEntry{
        name, &F::StaticClass(),
        [field](TObject* root, TObject* value) { Cast(root)->*field = dynamic_cast<F*>(value); }});
  }

  // Publishes a method that streams may name as an event handler.
  template <class... A>
  void Method(const char* name, void (T::*method)(A...)) {
    auto entry = std::make_unique<TMethodEntry>();
    entry->Name = name;
    entry->MemberPtr = method;
    entry->MakeHandler = [method](TObject* data) -> std::any {
      T* object = Cast(data);
      return std::function<void(A...)>(
          [object, method](A... args) { (object->*method)(std::forward<A>(args)...); });
    };
    info_.methods_.push_back(std::move(entry));
  }

 private:
  static T* Cast(TObject* o) { return static_cast<T*>(o); }

  // A property that refers to an object of the class being published (the next part of a
  // chain) takes the class's own type information, which is filled in when publishing ends:
  // asking the class for it now would start its initialisation again from inside itself.
  template <class R>
  const TTypeInfo& OwnOrDefaultType() {
    if constexpr (std::is_same_v<R, T*>) return info_.typeInfo_;
    else return classbuilder_detail::DefaultType<R>();
  }

  template <class S, class V>
  static void Assign(S set, T* target, V&& value) {
    if constexpr (std::is_member_object_pointer_v<S>) target->*set = std::forward<V>(value);
    else std::invoke(set, target, std::forward<V>(value));
  }

  TPropInfo& Add(const char* name, const TTypeInfo& type) {
    auto p = std::make_unique<TPropInfo>();
    p->Name = name;
    p->PaddedName = TPaddedName(p->Name);
    p->PropType = &type;
    p->DeclaringClass = &info_;
    info_.ownProps_.push_back(std::move(p));
    return *info_.ownProps_.back();
  }

  TClassInfo& info_;
};

template <class T>
TClassInfo::TClassInfo(TClassTag<T>, const char* name, const TClassInfo* parent,
                       void (*publish)(TClassBuilder<T>&))
    : name_(name), parent_(parent), cppType_(&typeid(T)) {
  overridesNotification_ = TClassBuilder<T>::OverridesNotification();
  if constexpr (!std::is_abstract_v<T> && std::is_default_constructible_v<T>)
    newInstance_ = []() -> TObject* { return new T(); };
  TClassBuilder<T> builder(*this);
  if (publish) publish(builder);
  Finish();
}

// Defines the class information declared with DECLARE_CLASS; the block that follows publishes the
// class's own properties, fields and methods through the builder `c`.
#define DEFINE_CLASS(Cls, Base)                                                           \
  static void Cls##_Publish(TClassBuilder<Cls>& c);                                       \
  const TClassInfo& Cls::StaticClass() {                                                  \
    static const TClassInfo info(TClassTag<Cls>(), #Cls, &Base::StaticClass(), &Cls##_Publish); \
    return info;                                                                          \
  }                                                                                       \
  static void Cls##_Publish([[maybe_unused]] TClassBuilder<Cls>& c)
