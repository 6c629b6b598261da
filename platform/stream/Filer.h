#pragma once
// The common ground of the stream writer and reader: the stream, the buffer, the root whose
// components are written or read, and the declaration of custom properties.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Component.h"
#include "platform/rtl/Stream.h"

class TReader;
class TWriter;

using TReaderProc = std::function<void(TReader&)>;
using TWriterProc = std::function<void(TWriter&)>;
using TStreamProc = std::function<void(TStream&)>;

class TFiler : public TObject {
 public:
  TFiler(TStream& stream, int bufSize);

  // The component whose published fields, methods and owned components names are resolved in.
  TComponent* Root() const { return root_; }
  virtual void SetRoot(TComponent* root) { root_ = root; lookupRoot_ = root; }
  TComponent* LookupRoot() const { return lookupRoot_; }
  // An ancestor to compare with when writing; this program never sets one.
  TPersistent* Ancestor() const { return ancestor_; }
  void SetAncestor(TPersistent* ancestor) { ancestor_ = ancestor; }
  TPersistent* RootAncestor() const { return rootAncestor_; }
  void SetRootAncestor(TPersistent* ancestor) { rootAncestor_ = ancestor; }

  // Custom properties that an object declares from DefineProperties: a reader calls `read` when
  // the stream holds the property, a writer calls `write` when `hasData` is true.
  virtual void DefineProperty(std::string_view name, const TReaderProc& read,
                              const TWriterProc& write, bool hasData) = 0;
  // A custom property whose value is binary data (a picture, for instance).
  virtual void DefineBinaryProperty(std::string_view name, const TStreamProc& read,
                                    const TStreamProc& write, bool hasData) = 0;

 protected:
  TStream& stream_;
  // Not cleared when made: a writer made for each small record (one block per component) would
  // spend longer zeroing its buffer than writing the record.
  std::unique_ptr<uint8_t[]> buffer_;
  size_t bufSize_;
  size_t bufPos_ = 0;
  size_t bufEnd_ = 0;
  TComponent* root_ = nullptr;
  TComponent* lookupRoot_ = nullptr;
  TPersistent* ancestor_ = nullptr;
  TPersistent* rootAncestor_ = nullptr;
};
