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

constexpr size_t kPad = TPaddedName::kCapacity;

// An identifier's value type: nil, True, False and Null (in any case) have their own, any other
// name is vaIdent. The name's bytes as one word, upper-cased by clearing bit 5 of every byte,
// are compared with each: only a letter's two cases differ in that bit alone, and the zeros past
// a name shorter than eight bytes make the word tell its length as well.
TValueType IdentType(std::string_view ident) {
  if (ident.size() < 3 || ident.size() > 5) return vaIdent;
  uint64_t word = 0;
  std::memcpy(&word, ident.data(), ident.size());
  constexpr auto upper = [](const char* name) {
    uint64_t w = 0;
    for (int i = 0; name[i]; ++i) w |= static_cast<uint64_t>(static_cast<uint8_t>(name[i])) << (8 * i);
    return w;
  };
  switch (word & 0xDFDFDFDFDFDFDFDFull) {
    case upper("NIL"): return vaNil;
    case upper("TRUE"): return vaTrue;
    case upper("FALSE"): return vaFalse;
    case upper("NULL"): return vaNull;
    default: return vaIdent;
  }
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
  const TValueType type = IdentType(ident);
  WriteValue(type);
  if (type == vaIdent) WriteStr(ident);
}

void TWriter::WriteIdent(const TPaddedName& name, std::string_view ident) {
  if (!name.Kept() || name.Length != ident.size() || bufSize_ - bufPos_ < 2 + kPad)
    return WriteIdent(ident);
  if (const TValueType type = IdentType(ident); type != vaIdent) return WriteValue(type);
  uint8_t* out = buffer_.get() + bufPos_;
  out[0] = vaIdent;
  out[1] = name.Length;
  std::memcpy(out + 2, name.Chars, kPad);
  bufPos_ += 2 + size_t{name.Length};
}

void TWriter::WriteStr(const TPaddedName& name, std::string_view shortString) {
  if (!name.Kept() || name.Length != shortString.size() || bufSize_ - bufPos_ < 1 + kPad)
    return WriteStr(shortString);
  uint8_t* out = buffer_.get() + bufPos_;
  out[0] = name.Length;
  std::memcpy(out + 1, name.Chars, kPad);
  bufPos_ += 1 + size_t{name.Length};
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

void TWriter::AppendPath(std::string_view part) {
  if (pathSize_ < kPathCapacity)
    std::memcpy(path_ + pathSize_, part.data(), std::min(part.size(), kPathCapacity - pathSize_));
  pathSize_ += part.size();
}

// Appends "Name." to the path: a padded name as one block, which the path's padding has room for.
void TWriter::EnterPath(const TPropInfo& prop) {
  const TPaddedName& name = prop.PaddedName;
  if (name.Kept() && name.Length == prop.Name.size() && pathSize_ + name.Length < kPathCapacity) {
    std::memcpy(path_ + pathSize_, name.Chars, kPad);
    pathSize_ += name.Length;
    path_[pathSize_++] = '.';
    return;
  }
  AppendPath(prop.Name);
  AppendPath(".");
}

// The short string path + name, without building it.
void TWriter::WritePropName(std::string_view name) {
  size_t total = std::min<size_t>(pathSize_ + name.size(), 255);
  size_t fromPath = std::min(pathSize_, total);
  auto length = static_cast<uint8_t>(total);
  // Every stored property starts with its name: when it fits, straight into the buffer.
  if (total + 1 <= bufSize_ - bufPos_) {
    uint8_t* out = buffer_.get() + bufPos_;
    out[0] = length;
    if (fromPath > 0) std::memcpy(out + 1, path_, fromPath);
    std::memcpy(out + 1 + fromPath, name.data(), total - fromPath);
    bufPos_ += total + 1;
    return;
  }
  Write(&length, 1);
  Write(path_, fromPath);
  Write(name.data(), total - fromPath);
}

// The same for a published property: its padded name, and the path when it fits a padded block,
// are copied whole; the bytes copied past the name are overwritten by what is written next.
void TWriter::WritePropName(const TPropInfo& prop) {
  const TPaddedName& name = prop.PaddedName;
  const size_t pathSize = pathSize_;
  if (!name.Kept() || name.Length != prop.Name.size() || pathSize > kPad ||
      bufSize_ - bufPos_ < 1 + 2 * kPad)
    return WritePropName(std::string_view(prop.Name));
  uint8_t* out = buffer_.get() + bufPos_;
  out[0] = static_cast<uint8_t>(pathSize + name.Length);
  if (pathSize > 0) std::memcpy(out + 1, path_, kPad);
  std::memcpy(out + 1 + pathSize, name.Chars, kPad);
  bufPos_ += 1 + pathSize + name.Length;
}

void TWriter::WriteProperties(TPersistent* instance) {
  for (const TPropInfo* p : instance->ClassType().Props()) {
    const TPropInfo& prop = *p;
    // IsStoredProp, without a call for the properties (nearly all) that have no condition.
    if (prop.StoredFn && !prop.StoredFn(instance)) continue;
    // Each kind has its own pair of accessors: a property without the getter is not written, nor
    // one without the setter (read-only) unless it holds a sub-component, whose state is then
    // written under the property's path (WriteObjectProperty). The loop only dispatches; each
    // kind is written by a function of its own.
    switch (prop.Kind()) {
      case tkInteger:
      case tkChar:
      case tkWChar:
      case tkEnumeration:
      case tkSet:
        if (prop.GetOrd && prop.SetOrd) WriteOrdProperty(instance, prop);
        break;
      case tkFloat:
        if (prop.GetFloat && prop.SetFloat) WriteFloatProperty(instance, prop);
        break;
      case tkString:
      case tkLString:
      case tkWString:
        if (prop.GetStr && prop.SetStr) WriteStringProperty(instance, prop);
        break;
      case tkInt64:
        if (prop.GetOrd && prop.SetOrd) WriteInt64Property(instance, prop);
        break;
      case tkMethod:
        if (prop.GetMethod && prop.SetMethod) WriteMethodProperty(instance, prop);
        break;
      case tkClass:
        if (prop.GetObj) WriteObjectProperty(instance, prop);
        break;
      default:
        break;
    }
  }
  instance->DefineProperties(this);
}

// A character as a one-character string; kept apart from WriteOrdProperty, whose other kinds need
// no temporary string.
void TWriter::WriteCharValue(TTypeKind kind, int64_t value) {
  if (kind == tkChar) WriteString(std::string(1, static_cast<char>(value)));
  else WriteString(Utf16ToUtf8(std::u16string(1, static_cast<char16_t>(value))));
}

void TWriter::WriteFloatProperty(TPersistent* instance, const TPropInfo& prop) {
  long double value = prop.GetFloat(instance);
  if (value == 0) return;
  WritePropName(prop);
  const TTypeInfo* type = prop.PropType;
  if (type == &DateTimeType()) WriteDate(static_cast<double>(value));
  else if (type->FloatType == ftCurr) WriteCurrency(std::llround(value * 10000));
  else if (type->FloatType == ftSingle) WriteSingle(static_cast<float>(value));
  else WriteFloat(value);
}

void TWriter::WriteStringProperty(TPersistent* instance, const TPropInfo& prop) {
  std::string value = prop.GetStr(instance);
  if (value.empty()) return;
  WritePropName(prop);
  WriteString(value);
}

void TWriter::WriteInt64Property(TPersistent* instance, const TPropInfo& prop) {
  int64_t value = prop.GetOrd(instance);
  if (value == 0 || (prop.Default && value == *prop.Default)) return;
  WritePropName(prop);
  WriteInteger(value);
}

void TWriter::WriteMethodProperty(TPersistent* instance, const TPropInfo& prop) {
  TMethod method = prop.GetMethod(instance);
  // Most events have no handler; only handlers that are published methods of the root can be
  // named in a stream.
  if (!method.Code || !lookupRoot_) return;
  std::string name = lookupRoot_->ClassType().MethodName(method.Code);
  if (name.empty()) return;
  WritePropName(prop);
  WriteIdent(name);
}

void TWriter::WriteOrdProperty(TPersistent* instance, const TPropInfo& prop) {
  int64_t value = prop.GetOrd(instance);
  if (prop.Default && value == *prop.Default) return;
  const TTypeInfo& type = *prop.PropType;
  WritePropName(prop);
  switch (type.Kind) {
    case tkInteger: {
      const auto number = static_cast<int32_t>(value);
      if (const TIdentMapEntry* ident = type.Idents ? type.Idents->FindValue(number) : nullptr) {
        const TPaddedName& padded = type.Idents->PaddedName(*ident);
        // The padded copy knows the name's length, which spares measuring the name.
        WriteIdent(padded, padded.Kept() ? std::string_view(ident->Name, padded.Length)
                                         : std::string_view(ident->Name));
      } else
        WriteInteger(number);
      break;
    }
    case tkChar:
    case tkWChar:
      WriteCharValue(type.Kind, value);
      break;
    case tkEnumeration: {
      if (value < 0 || value >= static_cast<int64_t>(type.EnumNames.size())) {
        WriteIdent(std::string_view());
        break;
      }
      const auto i = static_cast<size_t>(value);
      if (type.PaddedEnumNames.size() == type.EnumNames.size())
        WriteIdent(type.PaddedEnumNames[i], type.EnumNames[i]);
      else
        WriteIdent(type.EnumNames[i]);
      break;
    }
    case tkSet: {
      WriteValue(vaSet);
      const TTypeInfo& element = *type.CompType;
      const auto& names = element.EnumNames;
      const bool padded = element.PaddedEnumNames.size() == names.size();
      for (size_t i = 0; i < names.size() && i < 32; ++i)
        if (value & (int64_t{1} << i)) {
          if (padded) WriteStr(element.PaddedEnumNames[i], names[i]);
          else WriteStr(names[i]);
        }
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
  // A read-only property is written only when it holds a sub-component.
  if (!prop.SetObj) {
    auto* sub = ClassCast<TComponent>(value);
    if (!sub || !sub->ComponentStyle().Contains(csSubComponent)) return;
  }
  static const TClassInfo& componentClass = TComponent::StaticClass();
  static const TClassInfo& collectionClass = TCollection::StaticClass();
  static const TClassInfo& persistentClass = TPersistent::StaticClass();
  const TClassInfo& cls = value->ClassType();
  const bool isComponent = cls.InheritsFrom(componentClass);
  const bool isCollection = cls.InheritsFrom(collectionClass);
  const bool isPersistent = cls.InheritsFrom(persistentClass);
  auto* component = isComponent ? static_cast<TComponent*>(value) : nullptr;
  bool subComponent = component && (component->ComponentStyle().Contains(csSubComponent) ||
                                    component->Owner() == instance);
  if (component && !subComponent) {
    std::string name = ComponentReferenceName(component);
    if (name.empty()) return;
    WritePropName(prop);
    WriteIdent(name);
    return;
  }
  if (isCollection) {
    WritePropName(prop);
    WriteCollection(static_cast<TCollection*>(value));
    return;
  }
  if (isPersistent) {
    auto* persistent = static_cast<TPersistent*>(value);
    // The sub-object's properties are named under "Prop."; the path grows in place and is cut
    // back afterwards rather than copied for every sub-object of every component.
    const size_t pathSize = pathSize_;
    EnterPath(prop);
    TScopeExit restorePath([this, pathSize] { pathSize_ = pathSize; });
    WriteProperties(persistent);
  }
}

void TWriter::WriteCollection(TCollection* collection) {
  WriteValue(vaCollection);
  if (collection->Count() > 0) {
    // Item properties are named from the item, not from the collection's owner; the items'
    // names overwrite the path, so it is put back afterwards.
    const size_t pathSize = pathSize_;
    const std::string path(path_, std::min(pathSize_, kPathCapacity));
    pathSize_ = 0;
    TScopeExit restorePath([this, pathSize, &path] {
      std::memcpy(path_, path.data(), path.size());
      pathSize_ = pathSize;
    });
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

void TWriter::DefineProperty(std::string_view name, const TReaderProc&, const TWriterProc& write,
                             bool hasData) {
  if (!hasData || !write) return;
  WritePropName(name);
  write(*this);
}

void TWriter::DefineBinaryProperty(std::string_view name, const TStreamProc&,
                                   const TStreamProc& write, bool hasData) {
  if (!hasData || !write) return;
  WritePropName(name);
  WriteBinary(write);
}
