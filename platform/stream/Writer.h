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

  void DefineProperty(const std::string& name, const TReaderProc& read, const TWriterProc& write,
                      bool hasData) override;
  void DefineBinaryProperty(const std::string& name, const TStreamProc& read,
                            const TStreamProc& write, bool hasData) override;

 private:
  void WriteThroughFlush(const void* data, size_t count);
  void WriteProperty(TPersistent* instance, const TPropInfo& prop);
  void WriteOrdProperty(TPersistent* instance, const TPropInfo& prop);
  void WriteObjectProperty(TPersistent* instance, const TPropInfo& prop);
  void WritePropName(const std::string& name);
  std::string ComponentReferenceName(TComponent* component) const;

  std::string propPath_;
};
