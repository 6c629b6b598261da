#include "platform/stream/Reader.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <unordered_set>

#include "platform/rtl/Collection.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/ScopedRollback.h"
#include "platform/rtl/Texts.h"
#include "platform/rtl/Tr.h"
#include "platform/stream/FilerBuffer.h"
#include "platform/stream/Fixups.h"
#include "platform/stream/ReadPolicy.h"

namespace {

// What a clerk may read of a mark or a paste that cannot be read.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Reader)
};
// Deeper nesting of components, collections or lists than this is taken as a damaged stream.
constexpr int kMaxDepth = 200;

// Marks errors of the stream's structure: after one of them nothing that follows can be trusted,
// so no hook may handle it.
class EStreamFormat : public EReadError {
  using EReadError::EReadError;
};

// Room for a short string of up to 255 bytes and the zeros that follow it (see ReadShortString).
constexpr size_t kShort = TPaddedName::kCapacity;
using TNameBytes = char[255 + kShort + 1];

// A short string read into `bytes`: for names that are only looked up, without a std::string
// for each of the many a design holds. `buffer`, `pos` and `end` are the reader's buffer: when it
// holds a name of up to 32 bytes with room to spare, one fixed-size copy takes it. A copy of the
// exact length (at most 255) becomes a string instruction, slow to start and slow to read back
// from, and the reader does this for every property. The name is followed by 32 zero bytes, so
// that it and any part of it can be read in whole words (NextDot).
std::string_view ReadShortString(TReader& reader, const uint8_t* buffer, size_t& pos, size_t end,
                                 TNameBytes& bytes) {
  size_t length;
  if (end - pos > kShort && buffer[pos] <= kShort) {
    length = buffer[pos];
    std::memcpy(bytes, buffer + pos + 1, kShort);
    pos += 1 + length;
  } else {
    uint8_t n;
    reader.Read(&n, 1);
    reader.Read(bytes, n);
    length = n;
  }
  std::memset(bytes + length, 0, kShort);
  return std::string_view(bytes, length);
}

// The first '.' at or after `from` in a name read by ReadShortString, or its size when there is
// none: eight bytes at a time, which the zeros after the name make safe to read.
size_t NextDot(std::string_view name, size_t from) {
  constexpr uint64_t kOnes = 0x0101010101010101ull;
  constexpr uint64_t kHighs = 0x8080808080808080ull;
  for (; from < name.size(); from += 8) {
    uint64_t word;
    std::memcpy(&word, name.data() + from, 8);
    const uint64_t x = word ^ (kOnes * '.');
    // The lowest high bit set marks the first byte that was a dot.
    if (const uint64_t dots = (x - kOnes) & ~x & kHighs)
      return std::min(name.size(), from + (static_cast<size_t>(__builtin_ctzll(dots)) >> 3));
  }
  return name.size();
}

// The property of `target` named `name`, as GetPropInfo finds it. A stream holds a class's
// properties in declaration order, so the one to look at first is the property of that class
// found last ("Font" of "Font.Name", again for "Font.Size"), then the few after it (the others
// were left at their defaults), then the few at the start of the class (the next component of
// the same class); only when none of them has the name is it looked up by hash. The places are
// kept per thread, for the few classes read last: a component's and those of the sub-objects
// whose properties come between its own.
const TPropInfo* FindPropInOrder(TPersistent* target, std::string_view name) {
  struct Hint {
    const TClassInfo* cls = nullptr;
    size_t last = 0;
  };
  constexpr size_t kHints = 4;
  constexpr size_t kLookAhead = 5;
  thread_local Hint hints[kHints];
  thread_local size_t oldest = 0;

  const TClassInfo& cls = target->ClassType();
  Hint* hint = nullptr;
  for (Hint& h : hints)
    if (h.cls == &cls) hint = &h;
  if (!hint) {
    hint = &hints[oldest];
    oldest = (oldest + 1) % kHints;
    *hint = Hint{&cls, 0};
  }
  const std::vector<const TPropInfo*>& props = cls.Props();
  auto scan = [&](size_t from) -> const TPropInfo* {
    const size_t end = std::min(props.size(), from + kLookAhead);
    for (size_t i = from; i < end; ++i) {
      const std::string& candidate = props[i]->Name;
      if (candidate.size() == name.size() &&
          std::equal(name.begin(), name.end(), candidate.begin())) {
        hint->last = i;
        return props[i];
      }
    }
    return nullptr;
  };
  if (const TPropInfo* prop = scan(hint->last)) return prop;
  if (hint->last > 0)
    if (const TPropInfo* prop = scan(0)) return prop;
  const TPropInfo* prop = cls.FindProp(name);
  if (prop) {
    const auto at = std::find(props.begin(), props.end(), prop);
    if (at != props.end()) hint->last = static_cast<size_t>(at - props.begin());
  }
  return prop;
}
}  // namespace

class TReader::DepthGuard {
 public:
  explicit DepthGuard(TReader& reader) : reader_(reader) {
    if (++reader_.depth_ > kMaxDepth) {
      --reader_.depth_;
      reader_.FormatError(Tr(Texts::tr("Stream nesting too deep")));
    }
  }
  ~DepthGuard() { --reader_.depth_; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;

 private:
  TReader& reader_;
};

TReader::TReader(TStream& stream, int bufSize) : TFiler(stream, bufSize) {}

TReader::~TReader() {
  if (bufEnd_ > bufPos_) {
    try {
      stream_.Seek(-static_cast<int64_t>(bufEnd_ - bufPos_), soCurrent);
    } catch (...) {
      // The stream is left where the buffer ended; nothing else can be done in a destructor.
    }
  }
  DropFixups(this);
  GiveBackFilerBuffer(std::move(buffer_), bufSize_);
}

// ---- raw reading ----

void TReader::FormatError(const std::string& what) { throw EStreamFormat(what); }

void TReader::ReadBuffer() {
  bufEnd_ = static_cast<size_t>(stream_.Read(buffer_.get(), static_cast<int64_t>(bufSize_)));
  bufPos_ = 0;
  if (bufEnd_ == 0) FormatError(Tr(Texts::tr("Stream read error")));
}

void TReader::ReadThroughBuffer(void* data, size_t count) {
  auto* out = static_cast<uint8_t*>(data);
  while (count > 0) {
    if (bufPos_ == bufEnd_) ReadBuffer();
    size_t n = std::min(count, bufEnd_ - bufPos_);
    std::memcpy(out, buffer_.get() + bufPos_, n);
    bufPos_ += n;
    out += n;
    count -= n;
  }
}

int64_t TReader::Remaining() {
  return static_cast<int64_t>(bufEnd_ - bufPos_) + std::max<int64_t>(0, stream_.Size() - stream_.Position());
}

// A 4-byte length that must fit in what is left of the stream; checked before anything is
// allocated for it.
uint32_t TReader::ReadLength() {
  int32_t length;
  Read(&length, sizeof length);
  if (length < 0 || length > Remaining()) FormatError(Tr(Texts::tr("Invalid stream format: length past the end")));
  return static_cast<uint32_t>(length);
}

void TReader::SkipBytes(uint64_t count) {
  while (count > 0) {
    if (bufPos_ == bufEnd_) ReadBuffer();
    size_t n = static_cast<size_t>(std::min<uint64_t>(count, bufEnd_ - bufPos_));
    bufPos_ += n;
    count -= n;
  }
}

TValueType TReader::ReadValue() {
  uint8_t value;
  Read(&value, 1);
  if (value > kLastValueType) FormatError(Tr(Texts::tr("Invalid stream format: unknown value type %1"), std::to_string(value)));
  return static_cast<TValueType>(value);
}

TValueType TReader::NextValue() {
  TValueType value = ReadValue();
  --bufPos_;  // ReadValue always leaves the byte it read in the buffer
  return value;
}

// Peeks at the raw next byte without taking it for a value type: what follows may as well be a
// property name's length, a record's prefix byte or the signature of the next component block.
bool TReader::EndOfList() {
  if (bufPos_ == bufEnd_) ReadBuffer();
  return buffer_[bufPos_] == vaNull;
}

void TReader::ReadListBegin() {
  if (ReadValue() != vaList) PropValueError();
}

void TReader::ReadListEnd() {
  if (ReadValue() != vaNull) FormatError(Tr(Texts::tr("Invalid stream format: end of list expected")));
}

int32_t TReader::ReadInteger() {
  switch (ReadValue()) {
    case vaInt8: {
      int8_t v;
      Read(&v, 1);
      return v;
    }
    case vaInt16: {
      int16_t v;
      Read(&v, 2);
      return v;
    }
    case vaInt32: {
      int32_t v;
      Read(&v, 4);
      return v;
    }
    default:
      --bufPos_;
      PropValueError();
  }
}

int64_t TReader::ReadInt64() {
  if (NextValue() != vaInt64) return ReadInteger();
  ReadValue();
  int64_t v;
  Read(&v, 8);
  return v;
}

bool TReader::ReadBoolean() {
  TValueType value = ReadValue();
  if (value == vaTrue) return true;
  if (value == vaFalse) return false;
  --bufPos_;
  PropValueError();
}

long double TReader::ReadFloat() {
  switch (NextValue()) {
    case vaExtended: {
      ReadValue();
      uint8_t bytes[16] = {};
      Read(bytes, 10);
      long double v;
      std::memcpy(&v, bytes, sizeof v);
      return v;
    }
    case vaSingle: {
      ReadValue();
      float v;
      Read(&v, 4);
      return v;
    }
    case vaCurrency: {
      ReadValue();
      int64_t v;
      Read(&v, 8);
      return static_cast<long double>(v) / 10000;
    }
    case vaDate: {
      ReadValue();
      double v;
      Read(&v, 8);
      return v;
    }
    default:
      return static_cast<long double>(ReadInt64());
  }
}

std::string TReader::ReadStr() {
  uint8_t length;
  Read(&length, 1);
  std::string s(length, '\0');
  Read(s.data(), length);
  return s;
}

std::string TReader::ReadString() {
  std::string s;
  TValueType type = ReadValue();
  switch (type) {
    case vaString:
      s = ReadStr();
      break;
    case vaLString:
    case vaUTF8String:
      s.resize(ReadLength());
      Read(s.data(), s.size());
      if (type == vaUTF8String) return s;
      break;
    case vaWString: {
      uint32_t count = ReadLength();
      if (static_cast<int64_t>(count) * 2 > Remaining())
        FormatError(Tr(Texts::tr("Invalid stream format: length past the end")));
      std::u16string w(count, u'\0');
      Read(w.data(), count * 2);
      return Utf16ToUtf8(w);
    }
    default:
      --bufPos_;
      PropValueError();
  }
  // Short and long strings of other writers carry the code page's bytes.
  if (IsAscii(s)) return s;
  return Cp950ToUtf8(s);
}

std::string TReader::ReadIdent() {
  switch (ReadValue()) {
    case vaIdent:
      return ReadStr();
    case vaFalse:
      return "False";
    case vaTrue:
      return "True";
    case vaNull:
      return "Null";
    case vaNil:
      return "nil";
    default:
      --bufPos_;
      PropValueError();
  }
}

void TReader::ReadSignature() {
  char signature[4];
  Read(signature, 4);
  if (std::memcmp(signature, kFilerSignature, 4) != 0) FormatError(Tr(Texts::tr("Invalid stream format")));
}

void TReader::ReadPrefix(uint8_t& flags, int& childPos) {
  flags = 0;
  childPos = 0;
  uint8_t next;
  Read(&next, 1);
  if ((next & 0xF0) != kFilerPrefixMask) {
    --bufPos_;
    return;
  }
  flags = next & 0x0F;
  if (flags & ffChildPos) {
    TValueType type = NextValue();
    if (type != vaInt8 && type != vaInt16 && type != vaInt32)
      FormatError(Tr(Texts::tr("Invalid stream format: child position expected")));
    childPos = ReadInteger();
  }
}

void TReader::SkipSetBody() {
  while (!ReadStr().empty()) {
  }
}

void TReader::SkipValue() {
  DepthGuard guard(*this);
  switch (ReadValue()) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil:
      break;
    case vaList:
      while (!EndOfList()) SkipValue();
      ReadListEnd();
      break;
    case vaInt8:
      SkipBytes(1);
      break;
    case vaInt16:
      SkipBytes(2);
      break;
    case vaInt32:
    case vaSingle:
      SkipBytes(4);
      break;
    case vaExtended:
      SkipBytes(10);
      break;
    case vaString:
    case vaIdent:
      ReadStr();
      break;
    case vaBinary:
    case vaLString:
    case vaUTF8String:
      SkipBytes(ReadLength());
      break;
    case vaWString: {
      uint64_t count = ReadLength();
      if (static_cast<int64_t>(count * 2) > Remaining()) FormatError(Tr(Texts::tr("Invalid stream format: length past the end")));
      SkipBytes(count * 2);
      break;
    }
    case vaSet:
      SkipSetBody();
      break;
    case vaCollection:
      while (!EndOfList()) {
        TValueType type = NextValue();
        if (type == vaInt8 || type == vaInt16 || type == vaInt32) ReadInteger();
        ReadListBegin();
        while (!EndOfList()) {
          ReadStr();
          SkipValue();
        }
        ReadListEnd();
      }
      ReadListEnd();
      break;
    case vaCurrency:
    case vaDate:
    case vaInt64:
      SkipBytes(8);
      break;
  }
}

// ---- errors ----

void TReader::PropValueError() {
  // Step over the offending value so that reading can go on with the next property.
  SkipValue();
  throw EReadError(Tr(Texts::tr("Invalid property value")));
}

void TReader::PropertyError(const std::string& name) {
  SkipValue();
  throw EReadError(Tr(Texts::tr("Property %1 does not exist"), name));
}

bool TReader::Error(const std::string& message) {
  bool handled = false;
  if (OnError) OnError(*this, message, handled);
  return handled;
}

// ---- properties ----

void TReader::ReadProperty(TPersistent* instance) {
  // The name is read onto the stack: every property of every component has one, and the string
  // is only needed in full for an error message.
  TNameBytes pathBytes;
  const std::string_view path = ReadShortString(*this, buffer_.get(), bufPos_, bufEnd_, pathBytes);
  // Inside the reader of a property declared to the filer nothing can be handled (see below).
  const bool canHandle = canHandleExcepts_;
  bool recoverable = canHandle;
  try {
    try {
      // "Font.Name": walk the sub-objects to the one that holds the last name.
      TPersistent* target = instance;
      size_t start = 0;
      for (size_t dot; (dot = NextDot(path, start)) < path.size(); start = dot + 1) {
        const TPropInfo* p = FindPropInOrder(target, path.substr(start, dot - start));
        auto* sub = p && p->Kind() == tkClass && p->GetObj ? ClassCast<TPersistent>(p->GetObj(target)) : nullptr;
        if (!sub) PropertyError(std::string(path));
        // A component under a path ("PopupMenu.AutoPopup") is another component's own business,
        // not a part of the one read; a font or a pen is.
        if (policy_ && ClassCast<TComponent>(sub))
          throw EReadRefused(Tr(Texts::tr("Property %1 reaches into another component"), std::string(path)));
        target = sub;
      }
      std::string_view name = path.substr(start);
      if (const TPropInfo* prop = FindPropInOrder(target, name)) {
        if (!ReadBoundedInteger(target, *prop, path)) ReadPropValue(target, *prop);
      } else {
        // A property the class declares to the filer; an exception inside its reader leaves the
        // stream in an unknown place, so it can't be handled.
        bool unclaimed;
        {
          TScopedRollback lookFor(propName_, std::string(name));
          TScopedRollback noHandling(canHandleExcepts_, false);
          recoverable = false;
          target->DefineProperties(this);
          unclaimed = !propName_.empty();
        }
        recoverable = canHandle;
        if (unclaimed) PropertyError(std::string(path));
      }
    } catch (const EStreamFormat&) {
      throw;
    } catch (const EReadRefused&) {
      throw;
    } catch (const Exception& e) {
      if (!recoverable || !Error(e.Message())) throw;
    }
  } catch (Exception& e) {
    auto* component = dynamic_cast<TComponent*>(instance);
    if (component && !dynamic_cast<EStreamFormat*>(&e) && !dynamic_cast<EReadRefused*>(&e))
      e.SetMessage(Tr(Texts::tr("Error reading %1: %2"), component->Name() + "." + std::string(path), e.Message()));
    throw;
  }
}

bool TReader::ReadBoundedInteger(TPersistent* instance, const TPropInfo& prop, std::string_view path) {
  if (!policy_ || policy_->Ranges.empty() || prop.PropType->Kind != tkInteger || !prop.HasSetter()) return false;
  const auto range = std::find_if(policy_->Ranges.begin(), policy_->Ranges.end(),
                                  [path](const TReadPolicy::TRange& r) { return SameText(r.Path, path); });
  if (range == policy_->Ranges.end() || NextValue() == vaIdent) return false;
  const int32_t value = ReadInteger();
  if (value < range->Min || value > range->Max) {
    auto* component = dynamic_cast<TComponent*>(instance);
    throw EReadRefused(Tr(Texts::tr("%1 = %2 lies outside %3 … %4"),
                            (component ? component->Name() + "." : std::string()) + std::string(path),
                            std::to_string(value), std::to_string(range->Min), std::to_string(range->Max)));
  }
  SetOrdProp(instance, prop, value);
  return true;
}

void TReader::ReadPropValue(TPersistent* instance, const TPropInfo& prop) {
  const TTypeInfo& type = *prop.PropType;
  if (!prop.HasSetter() && !(type.Kind == tkClass && NextValue() == vaCollection)) {
    SkipValue();
    throw EReadError(Tr(Texts::tr("Property %1 is read-only"), prop.Name));
  }
  switch (type.Kind) {
    case tkInteger:
      if (NextValue() == vaIdent) {
        ReadValue();
        TNameBytes identBytes;
        const std::string_view ident =
            ReadShortString(*this, buffer_.get(), bufPos_, bufEnd_, identBytes);
        int32_t value;
        if (!type.Idents || !IdentToInt(ident, value, *type.Idents)) throw EReadError(Tr(Texts::tr("Invalid property value")));
        SetOrdProp(instance, prop, value);
      } else {
        SetOrdProp(instance, prop, ReadInteger());
      }
      break;
    case tkChar: {
      std::string s = ReadString();
      if (s.size() != 1) throw EReadError(Tr(Texts::tr("Invalid property value")));
      SetOrdProp(instance, prop, static_cast<unsigned char>(s[0]));
      break;
    }
    case tkWChar: {
      std::u16string s = Utf8ToUtf16(ReadString());
      if (s.size() != 1) throw EReadError(Tr(Texts::tr("Invalid property value")));
      SetOrdProp(instance, prop, s[0]);
      break;
    }
    case tkEnumeration: {
      int value;
      if (NextValue() == vaIdent) {
        ReadValue();
        TNameBytes identBytes;
        value = GetEnumValue(
            type, ReadShortString(*this, buffer_.get(), bufPos_, bufEnd_, identBytes));
      } else {
        value = GetEnumValue(type, ReadIdent());  // False, True, Null, nil
      }
      if (value < 0) throw EReadError(Tr(Texts::tr("Invalid property value")));
      SetOrdProp(instance, prop, value);
      break;
    }
    case tkSet:
      SetOrdProp(instance, prop, ReadSet(type));
      break;
    case tkFloat: {
      TValueType next = NextValue();
      if (next != vaExtended && next != vaSingle && next != vaCurrency && next != vaDate &&
          next != vaInt8 && next != vaInt16 && next != vaInt32 && next != vaInt64)
        PropValueError();
      SetFloatProp(instance, prop, ReadFloat());
      break;
    }
    case tkString:
    case tkLString:
    case tkWString:
      SetStrProp(instance, prop, ReadString());
      break;
    case tkInt64:
      SetOrdProp(instance, prop, ReadInt64());
      break;
    case tkMethod:
      ReadMethodProperty(instance, prop);
      break;
    case tkClass:
      switch (NextValue()) {
        case vaNil:
          ReadValue();
          SetObjectProp(instance, prop, nullptr);
          break;
        case vaCollection: {
          ReadValue();
          auto* collection = prop.GetObj ? ClassCast<TCollection>(prop.GetObj(instance)) : nullptr;
          if (!collection) {
            --bufPos_;
            PropValueError();
          }
          ReadCollection(collection);
          break;
        }
        case vaIdent:
          AddFixup(this, instance, prop, current_, root_, ReadIdent());
          break;
        default:
          PropValueError();
      }
      break;
    default:
      PropValueError();
  }
}

int64_t TReader::ReadSet(const TTypeInfo& setType) {
  if (ReadValue() != vaSet) {
    --bufPos_;
    PropValueError();
  }
  int64_t result = 0;
  TNameBytes nameBytes;
  auto nextName = [&] { return ReadShortString(*this, buffer_.get(), bufPos_, bufEnd_, nameBytes); };
  for (std::string_view name; !(name = nextName()).empty();) {
    int value = GetEnumValue(*setType.CompType, name);
    if (value < 0 || value > 31) {
      SkipSetBody();
      throw EReadError(Tr(Texts::tr("Invalid property value")));
    }
    result |= int64_t{1} << value;
  }
  return result;
}

void TReader::ReadMethodProperty(TPersistent* instance, const TPropInfo& prop) {
  if (NextValue() == vaNil) {
    ReadValue();
    SetMethodProp(instance, prop, TMethod{});
    return;
  }
  std::string name = ReadIdent();
  // A handler named by data from elsewhere would run the root's code on its word (a label's
  // OnClick naming the save command).
  if (policy_) {
    const auto* component = dynamic_cast<TComponent*>(instance);
    throw EReadRefused(Tr(Texts::tr("%1 names the handler %2; this data may bind no event"),
                            (component ? component->Name() + "." : std::string()) + prop.Name, name));
  }
  TMethod method;
  if (root_) method = TMethod{root_->ClassType().FindMethod(name), root_};
  bool error = !method.Code;
  if (OnFindMethod) OnFindMethod(*this, name, method, error);
  if (error) throw EReadError(Tr(Texts::tr("Invalid property value")));
  SetMethodProp(instance, prop, method.Code ? method : TMethod{});
}

void TReader::ReadCollection(TCollection* collection) {
  DepthGuard guard(*this);
  collection->BeginUpdate();
  // Not a scoped object: EndUpdate tells the collection's owner, whose code may raise, and a
  // destructor must not.
  try {
    if (!EndOfList()) collection->Clear();
    while (!EndOfList()) {
      TValueType next = NextValue();
      if (next == vaInt8 || next == vaInt16 || next == vaInt32) ReadInteger();
      TCollectionItem* item = collection->Add();
      if (ReadValue() != vaList) FormatError(Tr(Texts::tr("Invalid stream format: collection item expected")));
      while (!EndOfList()) ReadProperty(item);
      ReadListEnd();
    }
    ReadListEnd();
  } catch (...) {
    collection->EndUpdate();
    throw;
  }
  collection->EndUpdate();
}

void TReader::DefineProperty(std::string_view name, const TReaderProc& read, const TWriterProc&,
                             bool) {
  if (!read || propName_.empty() || !SameText(name, propName_)) return;
  propName_.clear();
  read(*this);
}

void TReader::DefineBinaryProperty(std::string_view name, const TStreamProc& read,
                                   const TStreamProc&, bool) {
  if (!read || propName_.empty() || !SameText(name, propName_)) return;
  propName_.clear();
  if (ReadValue() != vaBinary) {
    --bufPos_;
    PropValueError();
  }
  TMemoryStream data;
  data.SetSize(ReadLength());
  if (data.Size() > 0) Read(const_cast<uint8_t*>(data.Memory()), static_cast<size_t>(data.Size()));
  data.SetPosition(0);
  read(data);
}

// ---- components ----

const TClassInfo& TReader::FindComponentClass(const std::string& className) {
  // Data from elsewhere finds its classes in the policy alone, not among the root's fields or the
  // registry, which hold panels, datasets and whatever else the program's windows are made of.
  if (policy_) {
    std::string allowed;
    for (const TClassInfo* cls : policy_->Classes) {
      if (cls->ClassNameIs(className)) return *cls;
      allowed += (allowed.empty() ? "" : ", ") + cls->Name();
    }
    throw EReadRefused(allowed.empty() ? Tr(Texts::tr("Class %1 may not be read here; this data may hold nothing"), className)
                                       : Tr(Texts::tr("Class %1 may not be read here; this data may hold only %2"),
                                              className, allowed));
  }
  const TClassInfo* cls = root_ ? root_->ClassType().FindFieldClass(className) : nullptr;
  if (!cls) cls = GetClass(className);
  if (OnFindComponentClass) OnFindComponentClass(*this, className, cls);
  if (!cls) throw EStreamFormat(Tr(Texts::tr("Class %1 not found"), className));
  if (!cls->InheritsFrom(TComponent::StaticClass()) || !cls->IsCreatable())
    throw EStreamFormat(Tr(Texts::tr("Class %1 is not a component class"), className));
  return *cls;
}

TComponent* TReader::ReadComponent(TComponent* component) {
  DepthGuard guard(*this);
  uint8_t flags;
  int childPos;
  ReadPrefix(flags, childPos);
  std::string className = ReadStr();
  std::string name = ReadStr();
  TComponent* result = component;
  bool created = false;
  // An inherited record describes a component that the owner had before this read. It can't stand
  // inside the record of a component this read created (that one has no ancestor, and when its
  // reading fails it frees the components read into it, which must all be its own), nor name a
  // component that this read has read already.
  if (policy_ && (flags & (ffInherited | ffInline)))
    throw EReadRefused(Tr(Texts::tr("The record of %1 would change a component that exists already"), name));
  if (!result && (flags & ffInherited)) {
    result = owner_ ? owner_->FindComponent(name) : nullptr;
    if (!result) throw EStreamFormat(Tr(Texts::tr("Ancestor for '%1' not found"), name));
    if (inCreated_ || (loaded_ && std::find(loaded_->begin(), loaded_->end(), result) != loaded_->end()))
      throw EStreamFormat(Tr(Texts::tr("Invalid stream format: inherited component %1 out of place"), name));
  }
  if (!result) {
    const TClassInfo& cls = FindComponentClass(className);
    result = static_cast<TComponent*>(cls.NewInstance());
    result->IncludeState(csLoading);
    try {
      result->Create(owner_);
    } catch (...) {
      result->Free();
      throw;
    }
    result->AfterConstruction();
    created = true;
  }
  size_t loadedMark = loaded_ ? loaded_->size() : 0;
  try {
    TScopedRollback reading(current_, result);
    TScopedRollback readingCreated(inCreated_, created);
    result->IncludeState(csLoading);
    if (!created) existing_.push_back(result);
    if (loaded_) loaded_->push_back(result);
    if (OnSetName) OnSetName(*this, result, name);
    // A name the component refuses (not an identifier, taken already) is damage in the stream.
    try {
      result->SetName(name);
    } catch (const EComponentError& e) {
      throw EReadError(e.Message());
    }
    {
      result->IncludeState(csReading);
      TScopeExit readDone([result] { result->ExcludeState(csReading); });
      result->ReadState(*this);
    }
    if ((flags & ffChildPos) && parent_) parent_->SetChildOrder(result, childPos);
  } catch (...) {
    if (created) {
      // The half-read component goes, with the children read into it so far.
      if (loaded_) {
        for (size_t i = loaded_->size(); i > loadedMark + 1; --i) (*loaded_)[i - 1]->Free();
        loaded_->resize(loadedMark);
      }
      result->Free();
    }
    throw;
  }
  return result;
}

void TReader::ReadData(TComponent* instance) {
  while (!EndOfList()) ReadProperty(instance);
  ReadListEnd();
  // The children's owner and parent, for this record only.
  TScopedRollback childParent(parent_, instance->GetChildParent());
  TComponent* childOwner = instance->GetChildOwner();
  TScopedRollback childOwnerScope(owner_, childOwner ? childOwner : root_);
  if (policy_ && !policy_->ChildRecords && !EndOfList())
    throw EReadRefused(Tr(Texts::tr("%1 holds the records of other components"), instance->Name()));
  while (!EndOfList()) ReadComponent(nullptr);
  ReadListEnd();
}

// Resolves the references read and tells every component read that loading is over. Runs after a
// failed read too, so that the components that stay are complete.
void TReader::FixupReferences(bool callLoaded) {
  std::exception_ptr error;
  try {
    ResolveFixups(this);
  } catch (...) {
    error = std::current_exception();
  }
  if (callLoaded && loaded_) {
    std::vector<TComponent*> loaded;
    loaded.swap(*loaded_);
    for (TComponent* c : loaded) {
      try {
        c->Loaded();
      } catch (...) {
        if (!error) error = std::current_exception();
      }
    }
  }
  try {
    GlobalFixupReferences();
  } catch (...) {
    if (!error) error = std::current_exception();
  }
  if (error) std::rethrow_exception(error);
}

void TReader::CheckReferences(const std::vector<TComponent*>& created) {
  // Under a policy a reference is a plain name: one of the components this read created, or an
  // outside name the policy allows. It is resolved here, by that rule, and never as a path: a
  // first segment "Owner" would otherwise reach the root even where a component of the read is
  // named Owner.
  std::unordered_set<const TComponent*> ours(created.begin(), created.end());
  auto allowed = [&](const std::string& name) -> TComponent* {
    TComponent* target = root_ ? root_->FindComponent(name) : nullptr;
    if (!target) return nullptr;
    if (ours.count(target)) return target;
    for (const std::string& outside : policy_->OutsideNames)
      if (SameText(name, outside)) return target;
    return nullptr;
  };
  ForEachFixupName(this, [&](const std::string& name) {
    // A dotted name ("fmmain.Table1", "Owner.Panel2") is not a plain name and finds nothing here.
    if (!allowed(name)) throw EReadRefused(Tr(Texts::tr("A reference names %1, which is not part of this data"), name));
  });
  ResolveFixups(this, allowed);
}

void TReader::ReadComponents(TComponent* owner, TComponent* parent,
                             const std::function<void(TComponent*)>& proc) {
  SetRoot(owner);
  owner_ = owner;
  parent_ = parent;
  std::vector<TComponent*> loaded;
  TScopedRollback collecting(loaded_, &loaded);
  const bool wholeOrNothing = policy_ || allOrNothing_;
  // Nothing of the data stays when any of it fails: every component read goes, the children
  // first (freeing a container may take its children with it).
  // A component that was there before the read (an inherited record's) stays.
  existing_.clear();
  auto freeRead = [this](const std::vector<TWeak<TComponent>>& read) {
    for (auto it = read.rbegin(); it != read.rend(); ++it)
      if (TComponent* component = it->get())
        if (std::find(existing_.begin(), existing_.end(), component) == existing_.end()) component->Free();
  };
  try {
    while (!EndOfList()) {
      ReadSignature();
      TComponent* component = ReadComponent(nullptr);
      if (proc) proc(component);
    }
    ReadListEnd();
    if (policy_) CheckReferences(loaded);
  } catch (...) {
    if (wholeOrNothing) {
      // No reference is set and no component is told it is loaded.
      DropFixups(this);
      const std::vector<TWeak<TComponent>> read(loaded.begin(), loaded.end());
      loaded.clear();
      freeRead(read);
      throw;
    }
    try {
      FixupReferences(true);
    } catch (...) {
      // The read error is the one to report.
    }
    throw;
  }
  if (!wholeOrNothing) {
    FixupReferences(true);
    return;
  }
  // A reference that its property refuses, or a component whose loading fails, fails the read.
  const std::vector<TWeak<TComponent>> read(loaded.begin(), loaded.end());
  try {
    FixupReferences(true);
  } catch (...) {
    freeRead(read);
    throw;
  }
}

TComponent* TReader::ReadRootComponent(TComponent* root) {
  ReadSignature();
  uint8_t flags;
  int childPos;
  ReadPrefix(flags, childPos);
  TComponent* result = root;
  std::vector<TComponent*> loaded;
  TScopedRollback collecting(loaded_, &loaded);
  bool created = false;
  try {
    // Whatever happens, the root is no longer being read when this block is left.
    TScopeExit readDone([&result] {
      if (result) result->ExcludeState(csReading);
    });
    std::string className = ReadStr();
    std::string name = ReadStr();
    if (!result) {
      const TClassInfo& cls = FindClass(className);
      if (!cls.InheritsFrom(TComponent::StaticClass()) || !cls.IsCreatable())
        throw EStreamFormat(Tr(Texts::tr("Class %1 is not a component class"), className));
      result = static_cast<TComponent*>(cls.NewInstance());
      created = true;  // from here on a failure frees it, a failing Create included
      result->Create(nullptr);
      result->AfterConstruction();
    }
    if (!result->ComponentState().Contains(csDesigning)) {
      result->IncludeState(csLoading);
      result->IncludeState(csReading);
      // Another root of the same name (a second window from the same layout) gets "name_1" …
      std::string unique = name;
      for (int i = 1; !name.empty(); ++i) {
        TComponent* other = FindGlobalComponent(unique);
        if (!other || other == result) break;
        unique = name + "_" + std::to_string(i);
      }
      result->SetName(unique);
    }
    SetRoot(result);
    owner_ = result;
    parent_ = nullptr;
    loaded.push_back(result);
    result->IncludeState(csLoading);
    result->IncludeState(csReading);
    TScopedRollback reading(current_, result);
    result->ReadState(*this);
  } catch (...) {
    // No root given and none created yet: the header or the class name was wrong.
    if (!result) throw;
    if (created) {
      DropFixups(this);
      result->Free();  // frees every component it owns, including those read so far
      throw;
    }
    try {
      FixupReferences(true);
    } catch (...) {
      // The read error is the one to report.
    }
    throw;
  }
  try {
    FixupReferences(true);
  } catch (...) {
    // A reference that fails only now (a name that is the root itself, for a property of
    // another class): a root this read made is freed, as for any failure above.
    if (created) result->Free();
    throw;
  }
  return result;
}
