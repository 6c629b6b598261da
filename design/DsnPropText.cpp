#include "design/DsnPropText.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/controls/Form.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Texts.h"
#include "platform/rtl/TypInfo.h"

// ---- value texts ----

namespace {
std::string SetText(int64_t value, const TTypeInfo& type) {
  std::string text = "[";
  const TTypeInfo* element = type.CompType;
  // Only the first 16 elements are shown, whatever the set holds above them.
  for (int i = 0; i < 16; ++i) {
    if (!(value & (int64_t{1} << i))) continue;
    if (text != "[") text += ',';
    if (element) text += GetEnumName(*element, i);
  }
  return text + "]";
}

// The general format: up to 15 significant digits, an exponent only where it is shorter, written
// as "1E20" and "1E-5".
std::string FloatText(long double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15Lg", value);
  std::string text = buffer;
  const size_t e = text.find('e');
  if (e == std::string::npos) return text;
  std::string exponent = text.substr(e + 1);
  std::string sign;
  if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) {
    if (exponent[0] == '-') sign = "-";
    exponent.erase(0, 1);
  }
  while (exponent.size() > 1 && exponent[0] == '0') exponent.erase(0, 1);
  return text.substr(0, e) + "E" + sign + exponent;
}

std::string MethodText(TObject* instance, const TPropInfo& prop) {
  const TMethod method = GetMethodProp(instance, prop);
  if (!method) return "";
  // A form's handlers are its own methods; any other component's are its owner's (the form's).
  const TObject* holder = instance;
  if (!ClassCast<TCustomForm>(instance)) {
    auto* component = ClassCast<TComponent>(instance);
    holder = component ? component->Owner() : nullptr;
  }
  return holder ? holder->ClassType().MethodName(method.Code) : std::string();
}
}  // namespace

std::string PropValueText(TObject* instance, const TPropInfo& prop) {
  const TTypeInfo* type = prop.PropType;
  switch (prop.Kind()) {
    case tkInteger:
      return std::to_string(GetOrdProp(instance, prop));
    case tkChar:
      return std::string(1, static_cast<char>(GetOrdProp(instance, prop)));
    case tkEnumeration:
      return GetEnumName(*type, GetOrdProp(instance, prop));
    case tkSet:
      return SetText(GetOrdProp(instance, prop), *type);
    case tkFloat:
      return FloatText(GetFloatProp(instance, prop));
    case tkString:
    case tkLString:
      return GetStrProp(instance, prop);
    case tkClass: {
      if (type->ClassType && type->ClassType->InheritsFrom(TComponent::StaticClass())) {
        auto* component = ClassCast<TComponent>(GetObjectProp(instance, prop));
        return component ? component->Name() : std::string();
      }
      return "(" + (type->ClassType ? type->ClassType->Name() : type->Name) + ")";
    }
    case tkMethod:
      return MethodText(instance, prop);
    default:
      return "Unknown";
  }
}

// ---- text to value ----

namespace {
std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// A 32-bit integer: decimal, or hexadecimal after "$" or "0x", with an optional sign.
bool TextToInt(std::string_view text, int64_t& value) {
  text = Trimmed(text);
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (!text.empty() && text[0] == '$') {
    base = 16;
    text.remove_prefix(1);
  } else if (text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return false;
  uint64_t magnitude = 0;
  for (char ch : text) {
    int digit;
    if (ch >= '0' && ch <= '9') digit = ch - '0';
    else if (base == 16 && ch >= 'a' && ch <= 'f') digit = ch - 'a' + 10;
    else if (base == 16 && ch >= 'A' && ch <= 'F') digit = ch - 'A' + 10;
    else return false;
    magnitude = magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    if (magnitude > 0xFFFFFFFFull) return false;
  }
  // Hexadecimal texts may give the bit pattern of a negative number ($80000000 for a system colour).
  if (base == 16 && !negative && magnitude > 0x7FFFFFFFull) {
    value = static_cast<int32_t>(static_cast<uint32_t>(magnitude));
    return true;
  }
  const int64_t signedValue = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
  if (signedValue < std::numeric_limits<int32_t>::min() || signedValue > std::numeric_limits<int32_t>::max())
    return false;
  value = signedValue;
  return true;
}

// A finite number that the property's type can hold.
bool TextToFloat(std::string_view text, TFloatType type, long double& value) {
  const std::string copy(Trimmed(text));
  if (copy.empty()) return false;
  errno = 0;
  char* end = nullptr;
  value = std::strtold(copy.c_str(), &end);
  const long double limit = type == ftSingle ? std::numeric_limits<float>::max() : std::numeric_limits<double>::max();
  return end == copy.c_str() + copy.size() && errno != ERANGE && std::isfinite(value) && std::fabs(value) <= limit;
}

// The first character of a text as a one-byte character; false for characters above 255.
bool TextToChar(std::string_view text, int64_t& value) {
  const std::u16string wide = Utf8ToUtf16(text);
  if (wide.empty() || wide[0] > 0xFF) return false;
  value = wide[0];
  return true;
}

// What one target's property becomes: nothing, an ordinal, a number or a text.
struct TPendingValue {
  enum { None, Ord, Float, Str } what = None;
  int64_t ord = 0;
  long double number = 0;
};

TPendingValue Convert(const TPropInfo& prop, const std::string& value) {
  TPendingValue pending;
  const TTypeKind kind = prop.Kind();
  const bool stringKind = kind == tkString || kind == tkLString || kind == tkWString;
  if (value.empty()) {
    if (stringKind) pending.what = TPendingValue::Str;
    return pending;
  }
  bool ok = true;
  switch (kind) {
    case tkInteger:
      pending.what = TPendingValue::Ord;
      ok = TextToInt(value, pending.ord);
      break;
    case tkChar:
      pending.what = TPendingValue::Ord;
      ok = TextToChar(value, pending.ord);
      break;
    case tkEnumeration:
      pending.what = TPendingValue::Ord;
      pending.ord = GetEnumValue(*prop.PropType, value);
      ok = pending.ord >= 0;
      break;
    case tkFloat:
      pending.what = TPendingValue::Float;
      ok = TextToFloat(value, prop.PropType->FloatType, pending.number);
      break;
    default:
      if (stringKind) pending.what = TPendingValue::Str;
      break;
  }
  if (!ok) throw EConvertError(value);
  return pending;
}

void Store(TObject* target, const TPropInfo& prop, const TPendingValue& pending, const std::string& value) {
  switch (pending.what) {
    case TPendingValue::Ord: SetOrdProp(target, prop, pending.ord); break;
    case TPendingValue::Float: SetFloatProp(target, prop, pending.number); break;
    case TPendingValue::Str: SetStrProp(target, prop, value); break;
    case TPendingValue::None: break;
  }
}
}  // namespace

void ApplyPropValue(const std::vector<TComponent*>& targets, const std::string& propName, const std::string& value) {
  if (propName.empty()) return;
  struct Step {
    TWeak<TComponent> target;
    const TPropInfo* prop;
    TPendingValue pending;
  };
  std::vector<Step> steps;
  steps.reserve(targets.size());
  try {
    for (TComponent* target : targets) {
      if (!target) continue;
      const TPropInfo* prop = GetPropInfo(target, propName);
      if (!prop) throw EPropertyError(propName);
      steps.push_back({TWeak<TComponent>(target), prop, Convert(*prop, value)});
    }
    for (const Step& step : steps) {
      // A setter may free targets further on (a name change notifies the owner's components).
      if (!step.target) continue;
      Store(step.target.get(), *step.prop, step.pending, value);
    }
  } catch (const std::exception&) {
    throw EPropertyError(value + " is illegal (" + propName + ")");
  }
}

// ---- name|caption lists ----

int IndexOfName(const TNameList& list, std::string_view name) {
  for (size_t i = 0; i < list.size(); ++i)
    if (SameText(list[i], name)) return static_cast<int>(i);
  return -1;
}

void SplitNameCaption(const TNameList& source, TNameList& names, TNameList& captions) {
  names.clear();
  captions.clear();
  for (const std::string& line : source) {
    const size_t bar = line.find('|');
    if (bar == std::string::npos) {
      names.push_back(line);
      captions.push_back(line);
    } else {
      names.push_back(line.substr(0, bar));
      captions.push_back(line.substr(bar + 1));
    }
  }
}

TNameList LinesOf(const TStrings& source) {
  TNameList lines;
  lines.reserve(static_cast<size_t>(source.Count()));
  for (int i = 0; i < source.Count(); ++i) lines.push_back(source.Get(i));
  return lines;
}

void SplitNameCaption(const TStrings& source, TNameList& names, TNameList& captions) {
  SplitNameCaption(LinesOf(source), names, captions);
}

std::string CaptionOfName(std::string_view name, const TNameList& names, const TNameList& captions) {
  const int at = IndexOfName(names, name);
  return at >= 0 && static_cast<size_t>(at) < captions.size() ? captions[static_cast<size_t>(at)] : std::string();
}

void OrderLike(const TNameList& reference, TNameList& names, TNameList& values) {
  for (size_t i = reference.size(); i-- > 0;) {
    const int at = IndexOfName(names, reference[i]);
    if (at <= 0) continue;
    const auto from = static_cast<size_t>(at);
    std::rotate(names.begin(), names.begin() + at, names.begin() + at + 1);
    if (from < values.size()) std::rotate(values.begin(), values.begin() + at, values.begin() + at + 1);
  }
}

// ---- naming ----

std::string FirstFreeName(const TComponent& owner, const TComponent* component,
                          const std::function<std::string(int)>& candidate, int from) {
  for (int i = from;; ++i) {
    std::string name = candidate(i);
    const TComponent* holder = owner.FindComponent(name);
    if (!holder || holder == component) return name;
  }
}

std::string NumberedName(const std::string& base, int number) { return base + std::to_string(number); }

std::string NameBaseOf(const TComponent& component) {
  const std::string& className = component.ClassName();
  return className.empty() ? className : className.substr(1);
}

namespace {
// Keeps `name` when it is free, else makes it the first free Base number, from where `hint` says.
void GiveFreeName(TComponent* owner, TComponent* component, std::string& name, TFreeNameHint* hint) {
  if (!owner || !component || name.empty()) return;
  const TComponent* holder = owner->FindComponent(name);
  if (!holder || holder == component) return;
  const std::string base = NameBaseOf(*component);
  int start = 1;
  if (hint) {
    auto it = hint->find(base);
    if (it != hint->end()) start = it->second;
  }
  int last = start;
  name = FirstFreeName(*owner, component, [&base, &last](int i) { return NumberedName(base, last = i); }, start);
  if (hint) (*hint)[base] = last + 1;
}
}  // namespace

void UniqueComponentName(TComponent* owner, TReader*, TComponent* component, std::string& name) {
  GiveFreeName(owner, component, name, nullptr);
}

void UniqueComponentName(TComponent* owner, TReader*, TComponent* component, std::string& name,
                         TFreeNameHint& hint) {
  GiveFreeName(owner, component, name, &hint);
}
