#pragma once
// Type information for published properties, fields and methods.
//
// Every framework class has one TClassInfo (see Object.h and ClassBuilder.h). It lists the class's
// published properties with their types and accessors, the classes of its published fields and its
// published methods. The stream writer and reader, the object inspector and the tests all read the
// same table, so a property is declared once, next to its class.

#include <any>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <typeinfo>
#include <unordered_map>
#include <vector>

#include "platform/rtl/Set.h"

class TObject;
class TClassInfo;
template <class T>
class TClassBuilder;

// The kind codes of property types, as the property information of the inspector stores them.
enum TTypeKind : uint8_t {
  tkUnknown = 0,
  tkInteger = 1,
  tkChar = 2,
  tkEnumeration = 3,
  tkFloat = 4,
  tkString = 5,
  tkSet = 6,
  tkClass = 7,
  tkMethod = 8,
  tkWChar = 9,
  tkLString = 10,
  tkWString = 11,
  tkVariant = 12,
  tkArray = 13,
  tkRecord = 14,
  tkInterface = 15,
  tkInt64 = 16,
  tkDynArray = 17,
};

enum TFloatType : uint8_t { ftSingle, ftDouble, ftExtended, ftComp, ftCurr };

// A short name held zero-padded in a fixed block, for the stream writer: it copies the block with
// a few fixed-size moves instead of calling memcpy for the name's length, for each of the dozens
// of names every component it writes holds. A longer name is not held (Kept() is false); the
// writer then takes the name itself.
struct TPaddedName {
  static constexpr size_t kCapacity = 32;
  alignas(16) char Chars[kCapacity] = {};
  uint8_t Length = 0xFF;

  TPaddedName() = default;
  explicit TPaddedName(std::string_view name);
  bool Kept() const { return Length <= kCapacity; }
};

// A named integer constant that the stream writes as an identifier (clBlack, ANSI_CHARSET …).
struct TIdentMapEntry {
  int32_t Value;
  const char* Name;
};
// The constants of one integer type. Reading a design looks up a name for every colour and
// character set it holds, so the names are indexed (ignoring case) when the map is made.
class TIdentMap {
 public:
  TIdentMap(std::initializer_list<TIdentMapEntry> entries);

  std::vector<TIdentMapEntry>::const_iterator begin() const { return entries_.begin(); }
  std::vector<TIdentMapEntry>::const_iterator end() const { return entries_.end(); }
  size_t size() const { return entries_.size(); }
  // The first entry named `name`, ignoring case; null when there is none.
  const TIdentMapEntry* Find(std::string_view name) const;
  // The first entry with this value; null when there is none. The writer asks it for every
  // colour it writes, so values are indexed as well as names.
  const TIdentMapEntry* FindValue(int32_t value) const;
  // The padded name of an entry of this map (see TPaddedName).
  const TPaddedName& PaddedName(const TIdentMapEntry& entry) const {
    return padded_[static_cast<size_t>(&entry - entries_.data())];
  }

 private:
  std::vector<TIdentMapEntry> entries_;
  std::vector<TPaddedName> padded_;  // one per entry
  // Open-addressing tables, a power of two in size: index into entries_ + 1, 0 for a free slot.
  std::vector<int32_t> slots_;       // by name
  std::vector<int32_t> valueSlots_;  // by value
};

// Looks up a constant by value or by name (ignoring case); false when the map has no such entry.
bool IntToIdent(int32_t value, std::string& ident, const TIdentMap& map);
// The name of the constant, without copying it; null when the map has none.
const char* IdentName(int32_t value, const TIdentMap& map);
bool IdentToInt(std::string_view ident, int32_t& value, const TIdentMap& map);

// The type of a property. Instances are made once, by the functions below and by the ENUMERATION
// and SET_OF macros, and live for the whole run.
class TTypeInfo {
 public:
  TTypeKind Kind = tkUnknown;
  std::string Name;
  std::vector<std::string> EnumNames;        // enumeration: value names in ordinal order
  std::vector<TPaddedName> PaddedEnumNames;  // the same names padded for the writer
  const TTypeInfo* CompType = nullptr;       // set: the element enumeration
  const TClassInfo* ClassType = nullptr;     // class: the class of the referenced object
  TFloatType FloatType = ftExtended;         // float: the stored precision
  const TIdentMap* Idents = nullptr;         // integer: named constants for the stream, if any

  static TTypeInfo Make(TTypeKind kind, std::string name);
  // Names are given as one comma-separated text, so that the ENUMERATION macro can pass its
  // arguments stringised.
  static TTypeInfo Enumeration(std::string name, std::string_view commaSeparatedNames);
  static TTypeInfo SetOf(std::string name, const TTypeInfo& element);
  static TTypeInfo IntegerConsts(std::string name, const TIdentMap& idents);
};

const TTypeInfo& IntegerType();     // Integer
const TTypeInfo& Int64Type();       // Int64
const TTypeInfo& CharType();        // Char
const TTypeInfo& WideCharType();    // WideChar
const TTypeInfo& BooleanType();     // Boolean: False, True
const TTypeInfo& StringType();      // string (long string)
const TTypeInfo& ShortStringType(); // ShortString
const TTypeInfo& WideStringType();  // WideString
const TTypeInfo& SingleType();
const TTypeInfo& DoubleType();
const TTypeInfo& ExtendedType();
const TTypeInfo& CurrencyType();
const TTypeInfo& DateTimeType();    // a double counting days since 1899-12-30
const TTypeInfo& MethodType();      // every event type
const TTypeInfo& VariantType();

// Type information of the framework's basic types, found by overload so that templates can ask
// TypeInfoOf(static_cast<const E*>(nullptr)) for any enumeration or set declared with the macros.
inline const TTypeInfo& TypeInfoOf(const bool*) { return BooleanType(); }

// Declares an enumeration and its type information at once, so its value names are written once:
//   ENUMERATION(tkind, square1, square2, triangle1, triangle2, eclipse, lab, field)
// Values are numbered from 0 in order; explicit values are not allowed.
#define ENUMERATION(TypeName, ...)                                                  \
  enum TypeName { __VA_ARGS__ };                                                    \
  inline const TTypeInfo& TypeInfoOf(const TypeName*) {                             \
    static const TTypeInfo info = TTypeInfo::Enumeration(#TypeName, #__VA_ARGS__);  \
    return info;                                                                    \
  }

// Declares a set type over an enumeration declared with ENUMERATION.
#define SET_OF(TypeName, Element)                                                   \
  using TypeName = TSet<Element>;                                                   \
  inline const TTypeInfo& TypeInfoOf(const TypeName*) {                             \
    static const TTypeInfo info =                                                   \
        TTypeInfo::SetOf(#TypeName, TypeInfoOf(static_cast<const Element*>(nullptr))); \
    return info;                                                                    \
  }

std::string GetEnumName(const TTypeInfo& type, int64_t value);  // "" when out of range
int GetEnumValue(const TTypeInfo& type, std::string_view name);  // -1 when unknown; ignores case

// ---- published methods and events ----

// A published method: a handler that a stream can name and a reader can bind again.
struct TMethodEntry {
  std::string Name;
  std::any MemberPtr;  // the member function pointer, to recognise handlers bound in code
  // Returns a std::function of the handler's signature that calls the method on the instance.
  std::function<std::any(TObject*)> MakeHandler;
};

// A handler as the property information sees it: which published method, on which instance.
struct TMethod {
  const TMethodEntry* Code = nullptr;
  TObject* Data = nullptr;
  explicit operator bool() const { return Code != nullptr; }
  friend bool operator==(const TMethod& a, const TMethod& b) {
    return a.Code == b.Code && a.Data == b.Data;
  }
};

// A published field: a member of a root component that the reader sets when it reads a component
// of the field's name.
struct TFieldEntry {
  std::string Name;
  const TClassInfo* FieldClass = nullptr;
  std::function<void(TObject* root, TObject* value)> Set;
};

// ---- published properties ----

class TPropInfo {
 public:
  std::string Name;
  TPaddedName PaddedName;  // Name, for the writer; the class builder sets both
  const TTypeInfo* PropType = nullptr;
  const TClassInfo* DeclaringClass = nullptr;
  // The declared default of an ordinal property; a property without one is always written.
  std::optional<int64_t> Default;
  // The stored condition; empty means stored.
  std::function<bool(TObject*)> StoredFn;

  // Accessors; which pair is present depends on the kind of the property's type. An empty
  // setter marks a read-only property.
  std::function<int64_t(TObject*)> GetOrd;
  std::function<void(TObject*, int64_t)> SetOrd;
  std::function<long double(TObject*)> GetFloat;
  std::function<void(TObject*, long double)> SetFloat;
  std::function<std::string(TObject*)> GetStr;
  std::function<void(TObject*, const std::string&)> SetStr;
  std::function<TObject*(TObject*)> GetObj;
  std::function<void(TObject*, TObject*)> SetObj;
  std::function<TMethod(TObject*)> GetMethod;
  std::function<void(TObject*, const TMethod&)> SetMethod;

  TTypeKind Kind() const { return PropType ? PropType->Kind : tkUnknown; }
  bool HasGetter() const { return GetOrd || GetFloat || GetStr || GetObj || GetMethod; }
  bool HasSetter() const { return SetOrd || SetFloat || SetStr || SetObj || SetMethod; }
};

// ---- classes ----

template <class T>
struct TClassTag {};

class TClassInfo {
 public:
  // Builds the class information of T: name as the system spells it, parent, and a function that
  // publishes the class's own properties, fields and methods (ClassBuilder.h).
  template <class T>
  TClassInfo(TClassTag<T>, const char* name, const TClassInfo* parent,
             void (*publish)(TClassBuilder<T>&));
  TClassInfo(const TClassInfo&) = delete;
  TClassInfo& operator=(const TClassInfo&) = delete;

  const std::string& Name() const { return name_; }
  const TClassInfo* Parent() const { return parent_; }
  // Answered in constant time: ClassCast asks it wherever a framework object is looked at.
  bool InheritsFrom(const TClassInfo& other) const {
    return other.depth_ < ancestors_.size() && ancestors_[other.depth_] == &other;
  }
  bool ClassNameIs(std::string_view name) const;

  // Creates an instance of the class with its C++ constructors run; the framework constructor
  // (Create) is the caller's next step. Null for abstract classes.
  bool IsCreatable() const { return static_cast<bool>(newInstance_); }
  TObject* NewInstance() const { return newInstance_ ? newInstance_() : nullptr; }

  // All published properties, ancestors' first, each class's in declaration order.
  const std::vector<const TPropInfo*>& Props() const { return allProps_; }
  const TPropInfo* FindProp(std::string_view name) const;  // ignores case

  const TMethodEntry* FindMethod(std::string_view name) const;  // own and inherited, ignores case
  // The name of a published method of this class or an ancestor; empty when it is not one.
  std::string MethodName(const TMethodEntry* code) const;
  template <class F>
  const TMethodEntry* FindMethodByPointer(F memberPtr) const;

  const TFieldEntry* FindField(std::string_view name) const;  // own and inherited, ignores case
  // The class of a published field of this class or an ancestor with the given class name.
  const TClassInfo* FindFieldClass(std::string_view className) const;

  // The type information of a property whose value is an object of this class.
  const TTypeInfo& TypeInfo() const { return typeInfo_; }

  // The component notices (bit 1 << TOperation) that the class's overrides of
  // TComponent::Notification act on, its ancestors' included. A class whose body overrides
  // Notification hears every notice unless it narrows them with `c.Hears(...)`; the owner tree
  // passes no notice to a component that hears none of it and has nobody below it that does.
  uint8_t Notices() const { return notices_; }
  // The C++ class the information was made for; an object of a class that declares no class
  // information of its own has another dynamic type.
  const std::type_info& CppType() const { return *cppType_; }

 private:
  template <class T>
  friend class TClassBuilder;
  void Finish();

  std::string name_;
  const TClassInfo* parent_ = nullptr;
  std::vector<const TClassInfo*> ancestors_;  // the root class first, this class last
  size_t depth_ = 0;                          // this class's place in ancestors_
  std::function<TObject*()> newInstance_;
  std::vector<std::unique_ptr<TPropInfo>> ownProps_;
  std::vector<const TPropInfo*> allProps_;
  // allProps_ by name, ignoring case: an open-addressing table (a power of two in size, at most
  // half full) hashed with HashText, so that the reader, which looks up every property it reads,
  // finds one without an upper-case copy or a node-based map.
  std::vector<const TPropInfo*> propSlots_;
  std::vector<std::unique_ptr<TMethodEntry>> methods_;
  std::vector<TFieldEntry> fields_;
  TTypeInfo typeInfo_;
  const std::type_info* cppType_;
  bool overridesNotification_ = false;  // the class's own body declares Notification
  std::optional<uint8_t> ownNotices_;   // what that override acts on, when the class says so
  uint8_t notices_ = 0;
};

template <class F>
const TMethodEntry* TClassInfo::FindMethodByPointer(F memberPtr) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    for (const auto& m : c->methods_)
      if (const F* p = std::any_cast<F>(&m->MemberPtr); p && *p == memberPtr) return m.get();
  return nullptr;
}

// ---- reading and writing properties by descriptor ----
// Each raises EPropertyError when the property lacks the accessor the call needs.

const TPropInfo* GetPropInfo(const TObject* instance, std::string_view name);
bool IsStoredProp(TObject* instance, const TPropInfo& prop);
int64_t GetOrdProp(TObject* instance, const TPropInfo& prop);
void SetOrdProp(TObject* instance, const TPropInfo& prop, int64_t value);
std::string GetEnumProp(TObject* instance, const TPropInfo& prop);
void SetEnumProp(TObject* instance, const TPropInfo& prop, std::string_view name);
long double GetFloatProp(TObject* instance, const TPropInfo& prop);
void SetFloatProp(TObject* instance, const TPropInfo& prop, long double value);
std::string GetStrProp(TObject* instance, const TPropInfo& prop);
void SetStrProp(TObject* instance, const TPropInfo& prop, const std::string& value);
TObject* GetObjectProp(TObject* instance, const TPropInfo& prop);
void SetObjectProp(TObject* instance, const TPropInfo& prop, TObject* value);
TMethod GetMethodProp(TObject* instance, const TPropInfo& prop);
void SetMethodProp(TObject* instance, const TPropInfo& prop, const TMethod& value);

// The class registry: classes registered by name, so that a reader can create them. It is separate
// from the class information that every class has.
void RegisterClass(const TClassInfo& cls);
void UnRegisterClass(const TClassInfo& cls);
const TClassInfo* GetClass(std::string_view name);  // null when not registered; ignores case
const TClassInfo& FindClass(std::string_view name);  // raises EClassNotFound
