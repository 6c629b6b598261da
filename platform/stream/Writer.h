#pragma once
// Writes components into the binary component stream: a signature, then one record per component
// with its class, name, the properties that differ from their defaults and its children.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/stream/Filer.h"
#include "platform/stream/ValueTypes.h"

class TCollection;

class TWriter : public TFiler {
 public:
  explicit TWriter(TStream& stream, int bufSize = 4096);
  // Flushes what is still buffered.
  ~TWriter() override;
  void FlushBuffer();

  // Values, encoded as small as the format allows (see the .cpp for the rules).
  void Write(const void* data, size_t count) {
    // A record is mostly single bytes and short names: they go straight into the buffer.
    if (count <= bufSize_ - bufPos_) {
      std::memcpy(buffer_.get() + bufPos_, data, count);
      bufPos_ += count;
    } else {
      WriteThroughFlush(data, count);
    }
  }
  void WriteValue(TValueType value) {
    auto byte = static_cast<uint8_t>(value);
    Write(&byte, 1);
  }
  void WriteInteger(int64_t value);
  void WriteBoolean(bool value);
  void WriteFloat(long double value);
  void WriteSingle(float value);
  void WriteCurrency(int64_t scaledBy10000);
  void WriteDate(double value);
  void WriteString(const std::string& value);
  void WriteIdent(std::string_view ident);
  void WriteStr(std::string_view shortString);  // length byte + at most 255 bytes
  // The same for a name that has a padded copy (TPaddedName), which is copied whole.
  void WriteIdent(const TPaddedName& name, std::string_view ident);
  void WriteStr(const TPaddedName& name, std::string_view shortString);
  void WriteBinary(const TStreamProc& writeData);
  void WriteListBegin() { WriteValue(vaList); }
  void WriteListEnd() { WriteValue(vaNull); }
  void WriteSignature();
  void WritePrefix(uint8_t flags, int childPos);

  // Components.
  void WriteComponent(TComponent* component);
  // Writes `root` as the root of a whole stream: signature and record with all its children.
  void WriteDescendent(TComponent* root, TComponent* ancestor);
  void WriteRootComponent(TComponent* root) { WriteDescendent(root, nullptr); }
  // The record of one component; TComponent::WriteState calls it.
  void WriteData(TComponent* instance);
  void WriteProperties(TPersistent* instance);
  void WriteCollection(TCollection* collection);

  void DefineProperty(std::string_view name, const TReaderProc& read, const TWriterProc& write,
                      bool hasData) override;
  void DefineBinaryProperty(std::string_view name, const TStreamProc& read,
                            const TStreamProc& write, bool hasData) override;

 private:
  void WriteThroughFlush(const void* data, size_t count);
  void WriteOrdProperty(TPersistent* instance, const TPropInfo& prop);
  void WriteObjectProperty(TPersistent* instance, const TPropInfo& prop);
  void WriteCharValue(TTypeKind kind, int64_t value);
  void WriteFloatProperty(TPersistent* instance, const TPropInfo& prop);
  void WriteStringProperty(TPersistent* instance, const TPropInfo& prop);
  void WriteInt64Property(TPersistent* instance, const TPropInfo& prop);
  void WriteMethodProperty(TPersistent* instance, const TPropInfo& prop);
  void WritePropName(std::string_view name);
  void WritePropName(const TPropInfo& prop);
  std::string ComponentReferenceName(TComponent* component) const;

  void AppendPath(std::string_view part);
  void EnterPath(const TPropInfo& prop);

  // The path of the sub-object whose properties are being written ("Font."). It is held in place
  // rather than in a string: a writer is made for every component of a design, and a string
  // would allocate for each. A name is at most 255 bytes, so only that much of a deeper path is
  // kept; the padding lets WritePropName copy a short path as one block.
  static constexpr size_t kPathCapacity = 255;
  // Not cleared when made: a block copy may take bytes past pathSize_ along, but what is written
  // next overwrites them before the buffer is written out.
  char path_[kPathCapacity + TPaddedName::kCapacity];
  size_t pathSize_ = 0;  // the whole path's length, which may exceed kPathCapacity
};
