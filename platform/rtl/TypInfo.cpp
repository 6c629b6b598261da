#include "platform/rtl/TypInfo.h"

#include <cstring>
#include <map>

#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Texts.h"

namespace {
// Equality of two short byte runs, inline: property names are a few bytes, for which a call to
// memcmp costs more than the comparison.
bool SameBytes(const char* a, const char* b, size_t n) {
  for (; n >= 8; a += 8, b += 8, n -= 8) {
    uint64_t x, y;
    std::memcpy(&x, a, 8);
    std::memcpy(&y, b, 8);
    if (x != y) return false;
  }
  for (; n > 0; ++a, ++b, --n)
    if (*a != *b) return false;
  return true;
}

// SameText for names that streams mostly spell exactly as they are declared: the exact bytes
// first, inline, and case folded only when they differ.
bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && (SameBytes(a.data(), b.data(), a.size()) || SameText(a, b));
}
}  // namespace

// ---- types ----

TPaddedName::TPaddedName(std::string_view name) {
  if (name.size() > kCapacity) return;
  std::memcpy(Chars, name.data(), name.size());
  Length = static_cast<uint8_t>(name.size());
}

TTypeInfo TTypeInfo::Make(TTypeKind kind, std::string name) {
  TTypeInfo t;
  t.Kind = kind;
  t.Name = std::move(name);
  return t;
}

TTypeInfo TTypeInfo::Enumeration(std::string name, std::string_view commaSeparatedNames) {
  TTypeInfo t = Make(tkEnumeration, std::move(name));
  size_t start = 0;
  while (start <= commaSeparatedNames.size()) {
    size_t comma = commaSeparatedNames.find(',', start);
    if (comma == std::string_view::npos) comma = commaSeparatedNames.size();
    std::string_view item = commaSeparatedNames.substr(start, comma - start);
    while (!item.empty() && isspace(static_cast<unsigned char>(item.front()))) item.remove_prefix(1);
    while (!item.empty() && isspace(static_cast<unsigned char>(item.back()))) item.remove_suffix(1);
    if (!item.empty()) {
      t.EnumNames.emplace_back(item);
      t.PaddedEnumNames.emplace_back(item);
    }
    start = comma + 1;
  }
  return t;
}

TTypeInfo TTypeInfo::SetOf(std::string name, const TTypeInfo& element) {
  TTypeInfo t = Make(tkSet, std::move(name));
  t.CompType = &element;
  return t;
}

TTypeInfo TTypeInfo::IntegerConsts(std::string name, const TIdentMap& idents) {
  TTypeInfo t = Make(tkInteger, std::move(name));
  t.Idents = &idents;
  return t;
}

namespace {
TTypeInfo FloatTypeInfo(const char* name, TFloatType floatType) {
  TTypeInfo t = TTypeInfo::Make(tkFloat, name);
  t.FloatType = floatType;
  return t;
}
}  // namespace

#define SIMPLE_TYPE(Fn, Kind, Name)                          \
  const TTypeInfo& Fn() {                                    \
    static const TTypeInfo info = TTypeInfo::Make(Kind, Name); \
    return info;                                             \
  }
SIMPLE_TYPE(IntegerType, tkInteger, "Integer")
SIMPLE_TYPE(Int64Type, tkInt64, "Int64")
SIMPLE_TYPE(CharType, tkChar, "Char")
SIMPLE_TYPE(WideCharType, tkWChar, "WideChar")
SIMPLE_TYPE(StringType, tkLString, "string")
SIMPLE_TYPE(ShortStringType, tkString, "ShortString")
SIMPLE_TYPE(WideStringType, tkWString, "WideString")
SIMPLE_TYPE(MethodType, tkMethod, "TMethod")
SIMPLE_TYPE(VariantType, tkVariant, "Variant")
#undef SIMPLE_TYPE

#define FLOAT_TYPE(Fn, Name, FloatKind)                          \
  const TTypeInfo& Fn() {                                        \
    static const TTypeInfo info = FloatTypeInfo(Name, FloatKind); \
    return info;                                                 \
  }
FLOAT_TYPE(SingleType, "Single", ftSingle)
FLOAT_TYPE(DoubleType, "Double", ftDouble)
FLOAT_TYPE(ExtendedType, "Extended", ftExtended)
FLOAT_TYPE(CurrencyType, "Currency", ftCurr)
FLOAT_TYPE(DateTimeType, "TDateTime", ftDouble)
#undef FLOAT_TYPE

const TTypeInfo& BooleanType() {
  static const TTypeInfo info = TTypeInfo::Enumeration("Boolean", "False, True");
  return info;
}

std::string GetEnumName(const TTypeInfo& type, int64_t value) {
  if (value < 0 || value >= static_cast<int64_t>(type.EnumNames.size())) return {};
  return type.EnumNames[static_cast<size_t>(value)];
}

int GetEnumValue(const TTypeInfo& type, std::string_view name) {
  for (size_t i = 0; i < type.EnumNames.size(); ++i)
    if (SameName(type.EnumNames[i], name)) return static_cast<int>(i);
  return -1;
}

const char* IdentName(int32_t value, const TIdentMap& map) {
  const TIdentMapEntry* entry = map.FindValue(value);
  return entry ? entry->Name : nullptr;
}

bool IntToIdent(int32_t value, std::string& ident, const TIdentMap& map) {
  const TIdentMapEntry* entry = map.FindValue(value);
  if (entry) ident = entry->Name;
  return entry != nullptr;
}

namespace {
size_t ValueHash(int32_t value) {
  // Colours differ in their high bytes as often as in their low ones: mix them all down.
  uint64_t h = static_cast<uint32_t>(value) * 0x9E3779B97F4A7C15ull;
  return static_cast<size_t>(h >> 32);
}
}  // namespace

TIdentMap::TIdentMap(std::initializer_list<TIdentMapEntry> entries) : entries_(entries) {
  size_t slots = 8;
  while (slots < entries_.size() * 2) slots *= 2;
  slots_.assign(slots, 0);
  valueSlots_.assign(slots, 0);
  for (size_t e = 0; e < entries_.size(); ++e) {
    const TIdentMapEntry& entry = entries_[e];
    padded_.emplace_back(entry.Name);
    // Enters the entry unless the table holds one with the same key already: of two entries
    // with one name, or one value, the first is found.
    auto enter = [&](std::vector<int32_t>& table, size_t hash, auto sameKey) {
      size_t i = hash & (slots - 1);
      for (; table[i] != 0; i = (i + 1) & (slots - 1))
        if (sameKey(entries_[static_cast<size_t>(table[i] - 1)])) return;
      table[i] = static_cast<int32_t>(e + 1);
    };
    enter(slots_, static_cast<size_t>(HashText(entry.Name)),
          [&](const TIdentMapEntry& other) { return SameText(other.Name, entry.Name); });
    enter(valueSlots_, ValueHash(entry.Value),
          [&](const TIdentMapEntry& other) { return other.Value == entry.Value; });
  }
}

const TIdentMapEntry* TIdentMap::FindValue(int32_t value) const {
  const size_t mask = valueSlots_.size() - 1;
  for (size_t i = ValueHash(value) & mask; valueSlots_[i] != 0; i = (i + 1) & mask) {
    const TIdentMapEntry& entry = entries_[static_cast<size_t>(valueSlots_[i] - 1)];
    if (entry.Value == value) return &entry;
  }
  return nullptr;
}

const TIdentMapEntry* TIdentMap::Find(std::string_view name) const {
  const size_t mask = slots_.size() - 1;
  for (size_t i = static_cast<size_t>(HashText(name)) & mask; slots_[i] != 0; i = (i + 1) & mask) {
    const auto e = static_cast<size_t>(slots_[i] - 1);
    const TIdentMapEntry& entry = entries_[e];
    // The padded copy knows the name's length, which spares measuring it.
    const std::string_view entryName = padded_[e].Kept()
                                           ? std::string_view(entry.Name, padded_[e].Length)
                                           : std::string_view(entry.Name);
    if (SameName(entryName, name)) return &entry;
  }
  return nullptr;
}

bool IdentToInt(std::string_view ident, int32_t& value, const TIdentMap& map) {
  const TIdentMapEntry* entry = map.Find(ident);
  if (entry) value = entry->Value;
  return entry != nullptr;
}

// ---- classes ----

const TClassInfo& TObject::StaticClass() {
  static const TClassInfo info(TClassTag<TObject>(), "TObject", nullptr,
                               static_cast<void (*)(TClassBuilder<TObject>&)>(nullptr));
  return info;
}

std::weak_ptr<const void> TObject::AliveToken() const {
  if (!alive_ && !lifeEnded_) alive_ = std::make_shared<const char>(0);
  return alive_;
}

void TObject::Free() {
  EndLife();
  BeforeDestruction();
  Destroy();
  delete this;
}

void TClassInfo::Finish() {
  if (parent_) ancestors_ = parent_->ancestors_;
  depth_ = ancestors_.size();
  ancestors_.push_back(this);
  if (parent_) allProps_ = parent_->allProps_;
  for (const auto& p : ownProps_) {
    // A class may republish an inherited property (to change its default); it keeps its place.
    bool replaced = false;
    for (auto& existing : allProps_)
      if (SameText(existing->Name, p->Name)) {
        existing = p.get();
        replaced = true;
      }
    if (!replaced) allProps_.push_back(p.get());
  }
  // allProps_ holds no two names that differ only in case (see above), so each has a slot.
  size_t slots = 8;
  while (slots < allProps_.size() * 2) slots *= 2;
  propSlots_.assign(slots, nullptr);
  for (const TPropInfo* p : allProps_) {
    size_t i = static_cast<size_t>(HashText(p->Name)) & (slots - 1);
    while (propSlots_[i]) i = (i + 1) & (slots - 1);
    propSlots_[i] = p;
  }
  typeInfo_ = TTypeInfo::Make(tkClass, name_);
  typeInfo_.ClassType = this;
  // An override calls the inherited Notification, so a class hears what its ancestors hear.
  notices_ = parent_ ? parent_->notices_ : 0;
  if (overridesNotification_) notices_ |= ownNotices_.value_or(0xFF);
}

bool TClassInfo::ClassNameIs(std::string_view name) const { return SameText(name_, name); }

const TPropInfo* TClassInfo::FindProp(std::string_view name) const {
  const size_t mask = propSlots_.size() - 1;
  for (size_t i = static_cast<size_t>(HashText(name)) & mask; propSlots_[i]; i = (i + 1) & mask) {
    if (SameName(propSlots_[i]->Name, name)) return propSlots_[i];
  }
  return nullptr;
}

const TMethodEntry* TClassInfo::FindMethod(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    for (const auto& m : c->methods_)
      if (SameText(m->Name, name)) return m.get();
  return nullptr;
}

std::string TClassInfo::MethodName(const TMethodEntry* code) const {
  if (!code) return {};
  for (const TClassInfo* c = this; c; c = c->parent_)
    for (const auto& m : c->methods_)
      if (m.get() == code) return m->Name;
  return {};
}

const TFieldEntry* TClassInfo::FindField(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (const TClassInfo* c = this; c; c = c->parent_)
    for (const auto& f : c->fields_)
      if (SameText(f.Name, name)) return &f;
  return nullptr;
}

const TClassInfo* TClassInfo::FindFieldClass(std::string_view className) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    for (const auto& f : c->fields_)
      if (f.FieldClass->ClassNameIs(className)) return f.FieldClass;
  return nullptr;
}

// ---- property access ----

namespace {
[[noreturn]] void NoAccessor(const TPropInfo& prop, const char* what) {
  throw EPropertyError("Property " + prop.Name + " cannot be " + what);
}
}  // namespace

const TPropInfo* GetPropInfo(const TObject* instance, std::string_view name) {
  return instance ? instance->ClassType().FindProp(name) : nullptr;
}

bool IsStoredProp(TObject* instance, const TPropInfo& prop) {
  return !prop.StoredFn || prop.StoredFn(instance);
}

int64_t GetOrdProp(TObject* instance, const TPropInfo& prop) {
  if (!prop.GetOrd) NoAccessor(prop, "read as an ordinal");
  return prop.GetOrd(instance);
}

void SetOrdProp(TObject* instance, const TPropInfo& prop, int64_t value) {
  if (!prop.SetOrd) NoAccessor(prop, "written as an ordinal");
  prop.SetOrd(instance, value);
}

std::string GetEnumProp(TObject* instance, const TPropInfo& prop) {
  return GetEnumName(*prop.PropType, GetOrdProp(instance, prop));
}

void SetEnumProp(TObject* instance, const TPropInfo& prop, std::string_view name) {
  int value = GetEnumValue(*prop.PropType, name);
  if (value < 0) throw EPropertyError("Invalid property value");
  SetOrdProp(instance, prop, value);
}

long double GetFloatProp(TObject* instance, const TPropInfo& prop) {
  if (!prop.GetFloat) NoAccessor(prop, "read as a number");
  return prop.GetFloat(instance);
}

void SetFloatProp(TObject* instance, const TPropInfo& prop, long double value) {
  if (!prop.SetFloat) NoAccessor(prop, "written as a number");
  prop.SetFloat(instance, value);
}

std::string GetStrProp(TObject* instance, const TPropInfo& prop) {
  if (!prop.GetStr) NoAccessor(prop, "read as a string");
  return prop.GetStr(instance);
}

void SetStrProp(TObject* instance, const TPropInfo& prop, const std::string& value) {
  if (!prop.SetStr) NoAccessor(prop, "written as a string");
  prop.SetStr(instance, value);
}

TObject* GetObjectProp(TObject* instance, const TPropInfo& prop) {
  if (!prop.GetObj) NoAccessor(prop, "read as an object");
  return prop.GetObj(instance);
}

void SetObjectProp(TObject* instance, const TPropInfo& prop, TObject* value) {
  if (!prop.SetObj) NoAccessor(prop, "written as an object");
  prop.SetObj(instance, value);
}

TMethod GetMethodProp(TObject* instance, const TPropInfo& prop) {
  if (!prop.GetMethod) NoAccessor(prop, "read as a method");
  return prop.GetMethod(instance);
}

void SetMethodProp(TObject* instance, const TPropInfo& prop, const TMethod& value) {
  if (!prop.SetMethod) NoAccessor(prop, "written as a method");
  prop.SetMethod(instance, value);
}

// ---- class registry ----

namespace {
std::map<std::string, const TClassInfo*>& Registry() {
  static std::map<std::string, const TClassInfo*> registry;  // upper-case names
  return registry;
}
}  // namespace

void RegisterClass(const TClassInfo& cls) { Registry()[UpperCase(cls.Name())] = &cls; }

void UnRegisterClass(const TClassInfo& cls) {
  auto it = Registry().find(UpperCase(cls.Name()));
  if (it != Registry().end() && it->second == &cls) Registry().erase(it);
}

const TClassInfo* GetClass(std::string_view name) {
  auto it = Registry().find(UpperCase(name));
  return it == Registry().end() ? nullptr : it->second;
}

const TClassInfo& FindClass(std::string_view name) {
  if (const TClassInfo* cls = GetClass(name)) return *cls;
  throw EClassNotFound("Class " + std::string(name) + " not found");
}
