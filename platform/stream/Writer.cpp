#include "platform/stream/Writer.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "platform/rtl/Collection.h"
#include "platform/rtl/ScopedRollback.h"
#include "platform/rtl/Texts.h"
#include "platform/stream/FilerBuffer.h"

static_assert(std::numeric_limits<long double>::digits == 64,
              "vaExtended needs the x87 80-bit long double");

TWriter::TWriter(TStream& stream, int bufSize) : TFiler(stream, bufSize) {}

TWriter::~TWriter() {
  try {
    FlushBuffer();
  } catch (...) {
    // A destructor cannot report it; callers that care flush explicitly first.
  }
  GiveBackFilerBuffer(std::move(buffer_), bufSize_);
}

void TWriter::FlushBuffer() {
  if (bufPos_ == 0) return;
  size_t n = bufPos_;
  bufPos_ = 0;
  stream_.WriteBuffer(buffer_.get(), static_cast<int64_t>(n));
}

void TWriter::WriteThroughFlush(const void* data, size_t count) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  while (count > 0) {
    if (bufPos_ == bufSize_) FlushBuffer();
    size_t n = std::min(count, bufSize_ - bufPos_);
    std::memcpy(buffer_.get() + bufPos_, bytes, n);
    bufPos_ += n;
    bytes += n;
    count -= n;
  }
}

namespace {
template <class T>
void PutLE(TWriter& w, T value) {
  // The stream is little-endian, as is every machine this program runs on.
  w.Write(&value, sizeof value);
}
}  // namespace

// An integer takes the smallest of vaInt8, vaInt16 and vaInt32 that holds it; only a value outside
// the 32-bit range is written as vaInt64.
void TWriter::WriteInteger(int64_t value) {
  if (value >= -128 && value <= 127) {
    WriteValue(vaInt8);
    PutLE<int8_t>(*this, static_cast<int8_t>(value));
  } else if (value >= -32768 && value <= 32767) {
    WriteValue(vaInt16);
    PutLE<int16_t>(*this, static_cast<int16_t>(value));
  } else if (value >= std::numeric_limits<int32_t>::min() &&
             value <= std::numeric_limits<int32_t>::max()) {
    WriteValue(vaInt32);
    PutLE<int32_t>(*this, static_cast<int32_t>(value));
  } else {
    WriteValue(vaInt64);
    PutLE<int64_t>(*this, value);
  }
}

void TWriter::WriteBoolean(bool value) { WriteValue(value ? vaTrue : vaFalse); }

void TWriter::WriteFloat(long double value) {
  WriteValue(vaExtended);
  uint8_t bytes[16] = {};
  std::memcpy(bytes, &value, sizeof value);
  Write(bytes, 10);
}

void TWriter::WriteSingle(float value) {
  WriteValue(vaSingle);
  PutLE<float>(*this, value);
}

void TWriter::WriteCurrency(int64_t scaledBy10000) {
  WriteValue(vaCurrency);
  PutLE<int64_t>(*this, scaledBy10000);
}

void TWriter::WriteDate(double value) {
  WriteValue(vaDate);
  PutLE<double>(*this, value);
}

// Texts are UTF-8 in memory: one with any non-ASCII character is written as vaUTF8String, plain
// ASCII as vaString up to 255 bytes and as vaLString from 256 bytes on.
void TWriter::WriteString(const std::string& value) {
  if (!IsAscii(value)) {
    WriteValue(vaUTF8String);
    PutLE<int32_t>(*this, static_cast<int32_t>(value.size()));
  } else if (value.size() <= 255) {
    WriteValue(vaString);
    PutLE<uint8_t>(*this, static_cast<uint8_t>(value.size()));
  } else {
    WriteValue(vaLString);
    PutLE<int32_t>(*this, static_cast<int32_t>(value.size()));
  }
  Write(value.data(), value.size());
}

void TWriter::WriteIdent(std::string_view ident) {
  // Only these four names have value types of their own; other lengths need no comparison.
  switch (ident.size()) {
    case 3:
      if (SameText(ident, "nil")) return WriteValue(vaNil);
      break;
    case 4:
      if (SameText(ident, "True")) return WriteValue(vaTrue);
      if (SameText(ident, "Null")) return WriteValue(vaNull);
      break;
    case 5:
      if (SameText(ident, "False")) return WriteValue(vaFalse);
      break;
    default:
      break;
  }
  WriteValue(vaIdent);
  WriteStr(ident);
}

void TWriter::WriteStr(std::string_view shortString) {
  uint8_t n = static_cast<uint8_t>(std::min<size_t>(shortString.size(), 255));
  // Names and set elements are short: length and bytes go into the buffer in one step.
  if (size_t{n} + 1 <= bufSize_ - bufPos_) {
    uint8_t* out = buffer_.get() + bufPos_;
    out[0] = n;
    if (n > 0) std::memcpy(out + 1, shortString.data(), n);
    bufPos_ += size_t{n} + 1;
    return;
  }
  Write(&n, 1);
  Write(shortString.data(), n);
}

void TWriter::WriteBinary(const TStreamProc& writeData) {
  TMemoryStream data;
  writeData(data);
  WriteValue(vaBinary);
  PutLE<int32_t>(*this, static_cast<int32_t>(data.Size()));
  Write(data.Memory(), static_cast<size_t>(data.Size()));
}

void TWriter::WriteSignature() { Write(kFilerSignature, sizeof kFilerSignature); }

void TWriter::WritePrefix(uint8_t flags, int childPos) {
  if (flags == 0) return;
  uint8_t prefix = kFilerPrefixMask | flags;
  Write(&prefix, 1);
  if (flags & ffChildPos) WriteInteger(childPos);
}

// ---- components ----

void TWriter::WriteComponent(TComponent* component) {
  component->IncludeState(csWriting);
  TScopeExit written([component] { component->ExcludeState(csWriting); });
  component->WriteState(*this);
}

void TWriter::WriteDescendent(TComponent* root, TComponent* ancestor) {
  rootAncestor_ = ancestor;
  ancestor_ = ancestor;
  SetRoot(root);
  WriteSignature();
  WriteComponent(root);
}

void TWriter::WriteData(TComponent* instance) {
  WritePrefix(0, 0);
  WriteStr(instance->ClassName());
  WriteStr(instance->Name());
  WriteProperties(instance);
  WriteListEnd();
  {
    // A child record may write its own children under a root of its own (SetRoot); that ends
    // with the child, however it ends.
    TScopedRollback keepRoot(root_);
    TScopedRollback keepLookupRoot(lookupRoot_);
    instance->GetChildren([this](TComponent* child) { WriteComponent(child); }, root_);
  }
  WriteListEnd();
}

void TWriter::WriteProperties(TPersistent* instance) {
  for (const TPropInfo* prop : instance->ClassType().Props())
    // IsStoredProp, without a call for the properties (nearly all) that have no condition.
    if (!prop->StoredFn || prop->StoredFn(instance)) WriteProperty(instance, *prop);
  instance->DefineProperties(this);
}

// The short string propPath_ + name, without building it.
void TWriter::WritePropName(const std::string& name) {
  size_t total = std::min<size_t>(propPath_.size() + name.size(), 255);
  size_t fromPath = std::min(propPath_.size(), total);
  auto length = static_cast<uint8_t>(total);
  // Every stored property starts with its name: when it fits, straight into the buffer.
  if (total + 1 <= bufSize_ - bufPos_) {
    uint8_t* out = buffer_.get() + bufPos_;
    out[0] = length;
    if (fromPath > 0) std::memcpy(out + 1, propPath_.data(), fromPath);
    std::memcpy(out + 1 + fromPath, name.data(), total - fromPath);
    bufPos_ += total + 1;
    return;
  }
  Write(&length, 1);
  Write(propPath_.data(), fromPath);
  Write(name.data(), total - fromPath);
}

void TWriter::WriteProperty(TPersistent* instance, const TPropInfo& prop) {
  // Each kind has its own pair of accessors: a property without the getter is not written, nor
  // one without the setter (read-only) unless it holds a sub-component, whose state is then
  // written under the property's path.
  switch (prop.Kind()) {
    case tkInteger:
    case tkChar:
    case tkWChar:
    case tkEnumeration:
    case tkSet:
      if (prop.GetOrd && prop.SetOrd) WriteOrdProperty(instance, prop);
      break;
    case tkFloat: {
      if (!prop.GetFloat || !prop.SetFloat) return;
      long double value = prop.GetFloat(instance);
      if (value == 0) return;
      WritePropName(prop.Name);
      const TTypeInfo* type = prop.PropType;
      if (type == &DateTimeType()) WriteDate(static_cast<double>(value));
      else if (type->FloatType == ftCurr) WriteCurrency(std::llround(value * 10000));
      else if (type->FloatType == ftSingle) WriteSingle(static_cast<float>(value));
      else WriteFloat(value);
      break;
    }
    case tkString:
    case tkLString:
    case tkWString: {
      if (!prop.GetStr || !prop.SetStr) return;
      std::string value = prop.GetStr(instance);
      if (value.empty()) return;
      WritePropName(prop.Name);
      WriteString(value);
      break;
    }
    case tkInt64: {
      if (!prop.GetOrd || !prop.SetOrd) return;
      int64_t value = prop.GetOrd(instance);
      if (value == 0 || (prop.Default && value == *prop.Default)) return;
      WritePropName(prop.Name);
      WriteInteger(value);
      break;
    }
    case tkMethod: {
      if (!prop.GetMethod || !prop.SetMethod) return;
      TMethod method = prop.GetMethod(instance);
      // Only handlers that are published methods of the root can be named in a stream.
      std::string name = lookupRoot_ ? lookupRoot_->ClassType().MethodName(method.Code) : std::string();
      if (name.empty()) return;
      WritePropName(prop.Name);
      WriteIdent(name);
      break;
    }
    case tkClass:
      if (!prop.GetObj) return;
      if (!prop.SetObj) {
        auto* sub = ClassCast<TComponent>(prop.GetObj(instance));
        if (!sub || !sub->ComponentStyle().Contains(csSubComponent)) return;
      }
      WriteObjectProperty(instance, prop);
      break;
    default:
      break;
  }
}

void TWriter::WriteOrdProperty(TPersistent* instance, const TPropInfo& prop) {
  int64_t value = prop.GetOrd(instance);
  if (prop.Default && value == *prop.Default) return;
  const TTypeInfo& type = *prop.PropType;
  WritePropName(prop.Name);
  switch (type.Kind) {
    case tkInteger: {
      if (const char* ident = type.Idents ? IdentName(static_cast<int32_t>(value), *type.Idents) : nullptr)
        WriteIdent(ident);
      else
        WriteInteger(static_cast<int32_t>(value));
      break;
    }
    case tkChar:
      WriteString(std::string(1, static_cast<char>(value)));
      break;
    case tkWChar:
      WriteString(Utf16ToUtf8(std::u16string(1, static_cast<char16_t>(value))));
      break;
    case tkEnumeration: {
      bool named = value >= 0 && value < static_cast<int64_t>(type.EnumNames.size());
      WriteIdent(named ? std::string_view(type.EnumNames[static_cast<size_t>(value)]) : std::string_view());
      break;
    }
    case tkSet: {
      WriteValue(vaSet);
      const auto& names = type.CompType->EnumNames;
      for (size_t i = 0; i < names.size() && i < 32; ++i)
        if (value & (int64_t{1} << i)) WriteStr(names[i]);
      WriteStr("");
      break;
    }
    default:
      break;
  }
}

void TWriter::WriteObjectProperty(TPersistent* instance, const TPropInfo& prop) {
  TObject* value = prop.GetObj(instance);
  if (!value) return;
  // One walk up the class chain answers what ClassCast to each of the three classes below would,
  // for every object property of every component written.
  static const TClassInfo& componentClass = TComponent::StaticClass();
  static const TClassInfo& collectionClass = TCollection::StaticClass();
  static const TClassInfo& persistentClass = TPersistent::StaticClass();
  bool isComponent = false, isCollection = false, isPersistent = false;
  for (const TClassInfo* c = &value->ClassType(); c; c = c->Parent()) {
    isComponent = isComponent || c == &componentClass;
    isCollection = isCollection || c == &collectionClass;
    isPersistent = isPersistent || c == &persistentClass;
  }
  auto* component = isComponent ? static_cast<TComponent*>(value) : nullptr;
  bool subComponent = component && (component->ComponentStyle().Contains(csSubComponent) ||
                                    component->Owner() == instance);
  if (component && !subComponent) {
    std::string name = ComponentReferenceName(component);
    if (name.empty()) return;
    WritePropName(prop.Name);
    WriteIdent(name);
    return;
  }
  if (isCollection) {
    WritePropName(prop.Name);
    WriteCollection(static_cast<TCollection*>(value));
    return;
  }
  if (isPersistent) {
    auto* persistent = static_cast<TPersistent*>(value);
    // The sub-object's properties are named under "Prop."; the path grows in place and is cut
    // back afterwards rather than copied for every sub-object of every component.
    const size_t pathSize = propPath_.size();
    propPath_ += prop.Name;
    propPath_ += '.';
    TScopeExit restorePath([this, pathSize] { propPath_.resize(pathSize); });
    WriteProperties(persistent);
  }
}

void TWriter::WriteCollection(TCollection* collection) {
  WriteValue(vaCollection);
  {
    // Item properties are named from the item, not from the collection's owner.
    TScopedRollback keepPath(propPath_, std::string());
    for (int i = 0; i < collection->Count(); ++i) {
      WriteListBegin();
      WriteProperties(collection->Items(i));
      WriteListEnd();
    }
  }
  WriteListEnd();
}

std::string TWriter::ComponentReferenceName(TComponent* component) const {
  if (component->Owner() == lookupRoot_) return component->Name();
  if (component == lookupRoot_) return "Owner";
  if (component->Owner() && !component->Owner()->Name().empty() && !component->Name().empty())
    return component->Owner()->Name() + "." + component->Name();
  if (!component->Name().empty()) return component->Name() + ".Owner";
  return {};
}

void TWriter::DefineProperty(const std::string& name, const TReaderProc&, const TWriterProc& write,
                             bool hasData) {
  if (!hasData || !write) return;
  WritePropName(name);
  write(*this);
}

void TWriter::DefineBinaryProperty(const std::string& name, const TStreamProc&,
                                   const TStreamProc& write, bool hasData) {
  if (!hasData || !write) return;
  WritePropName(name);
  WriteBinary(write);
}
