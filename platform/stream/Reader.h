#pragma once
// Reads components back from the binary component stream.
//
// Reading is safe on any input: a stream cut short, a length past the end, an unknown value type,
// a wrong signature or absurd nesting end in EReadError, never in a crash or a read outside the
// buffer. Errors inside one property (an unknown name, a value the property can't take) go to the
// error hook first; when it marks them handled, reading goes on with the next property.

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/stream/Filer.h"
#include "platform/stream/ValueTypes.h"

class TCollection;
struct TReadPolicy;

class TReader : public TFiler {
 public:
  explicit TReader(TStream& stream, int bufSize = 4096);
  // Gives back to the stream what was buffered but not consumed, so the stream's position is
  // right after the last byte read.
  ~TReader() override;

  // Hooks. `OnError` may set `handled` to go on after an error in one property. `OnFindMethod`
  // is asked for every event handler name; it may supply the method and clears `error` to accept
  // an unresolved name (the event then stays empty). `OnSetName` may change the name a component
  // is about to receive. `OnFindComponentClass` may supply a class the root doesn't know.
  std::function<void(TReader&, const std::string& message, bool& handled)> OnError;
  std::function<void(TReader&, const std::string& methodName, TMethod& method, bool& error)>
      OnFindMethod;
  std::function<void(TReader&, TComponent* component, std::string& name)> OnSetName;
  std::function<void(TReader&, const std::string& className, const TClassInfo*& cls)>
      OnFindComponentClass;

  // Reads the next components under `policy` (ReadPolicy.h), which the caller keeps for the read;
  // null, the default, reads everything a trusted layout may hold.
  void SetPolicy(const TReadPolicy* policy) { policy_ = policy; }
  // When a read of components fails, every component it created goes, not only the one whose
  // record was damaged. Always so under a policy.
  void SetAllOrNothing(bool on) { allOrNothing_ = on; }

  TComponent* Owner() const { return owner_; }
  void SetOwner(TComponent* owner) { owner_ = owner; }
  TComponent* Parent() const { return parent_; }
  void SetParent(TComponent* parent) { parent_ = parent; }

  // Values.
  void Read(void* data, size_t count) {
    // Values are mostly a few bytes that the buffer holds already.
    if (count <= bufEnd_ - bufPos_) {
      std::memcpy(data, buffer_.get() + bufPos_, count);
      bufPos_ += count;
    } else {
      ReadThroughBuffer(data, count);
    }
  }
  TValueType ReadValue();
  TValueType NextValue();
  bool EndOfList();
  void ReadListBegin();
  void ReadListEnd();
  int32_t ReadInteger();  // vaInt8, vaInt16 or vaInt32
  int64_t ReadInt64();    // any integer value
  bool ReadBoolean();
  long double ReadFloat();  // any float or integer value
  std::string ReadString();  // vaString, vaLString, vaWString or vaUTF8String, as UTF-8
  std::string ReadIdent();   // vaIdent, or the names of vaFalse, vaTrue, vaNull, vaNil
  std::string ReadStr();     // a short string
  void ReadSignature();
  void ReadPrefix(uint8_t& flags, int& childPos);
  void SkipValue();

  // Components.
  // Reads a whole stream into `root` (a window reading its layout), or creates the root of the
  // stream's class when `root` is null.
  TComponent* ReadRootComponent(TComponent* root);
  // Reads a list of component blocks ended by the end marker, creating each component with
  // `owner` as owner and `parent` as parent; `proc` is called for each top-level component.
  void ReadComponents(TComponent* owner, TComponent* parent,
                      const std::function<void(TComponent*)>& proc);
  // Reads one component record; creates the component unless one is given.
  TComponent* ReadComponent(TComponent* component);
  // The properties and children of a component; TComponent::ReadState calls it.
  void ReadData(TComponent* instance);
  void ReadProperty(TPersistent* instance);
  void ReadCollection(TCollection* collection);

  void DefineProperty(std::string_view name, const TReaderProc& read, const TWriterProc& write,
                      bool hasData) override;
  void DefineBinaryProperty(std::string_view name, const TStreamProc& read,
                            const TStreamProc& write, bool hasData) override;

 private:
  class DepthGuard;
  [[noreturn]] void FormatError(const std::string& what);
  [[noreturn]] void PropValueError();
  [[noreturn]] void PropertyError(const std::string& name);
  bool Error(const std::string& message);
  int64_t Remaining();
  uint32_t ReadLength();
  void ReadBuffer();
  void ReadThroughBuffer(void* data, size_t count);
  void SkipSetBody();
  void SkipBytes(uint64_t count);
  void ReadPropValue(TPersistent* instance, const TPropInfo& prop);
  // Reads an integer property that the policy bounds, refusing a value outside its range; false
  // when the policy does not bound `path` (nothing is read then).
  bool ReadBoundedInteger(TPersistent* instance, const TPropInfo& prop, std::string_view path);
  int64_t ReadSet(const TTypeInfo& setType);
  void ReadMethodProperty(TPersistent* instance, const TPropInfo& prop);
  const TClassInfo& FindComponentClass(const std::string& className);
  void FixupReferences(bool callLoaded);
  // Under a policy: every reference read names a component this read created, or one of the
  // policy's outside names that the root has, and is resolved to it here.
  void CheckReferences(const std::vector<TComponent*>& created);

  TComponent* owner_ = nullptr;
  TComponent* parent_ = nullptr;
  std::string propName_;
  bool canHandleExcepts_ = true;
  int depth_ = 0;
  std::vector<TComponent*>* loaded_ = nullptr;
  TComponent* current_ = nullptr;  // the component whose record is being read
  const TReadPolicy* policy_ = nullptr;
  bool allOrNothing_ = false;
  // The components a record of this read named but did not create (inherited, inline): a failed
  // read of components that takes back what it made leaves these.
  std::vector<const TComponent*> existing_;
  bool inCreated_ = false;         // ... and this read created it
};

// References to components by name wait until the whole stream is read; those that name a
// component of another root that does not exist yet wait until one is read.
void RemoveFixupReferences(TComponent* component);
// Resolves waiting references whose targets exist now.
void GlobalFixupReferences();

// Finds a root component (a window) by name, for references of the form "Root.Name". The window
// layer registers its lookup; without one only the reading root itself is found.
using TFindGlobalComponent = std::function<TComponent*(std::string_view name)>;
void RegisterFindGlobalComponentProc(TFindGlobalComponent proc);
TComponent* FindGlobalComponent(std::string_view name);
