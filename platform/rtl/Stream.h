#pragma once
// Byte streams: the abstract TStream and the in-memory TMemoryStream that designs, clipboard
// blocks and window layouts pass through.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Object.h"

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
  DECLARE_CLASS(TStream)

 public:
  // Reads up to `count` bytes; returns how many were read (fewer only at the end).
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  // Moves the position and returns the new one; positions are clamped at 0 but may lie past the end.
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t position) { Seek(position, soBeginning); }
  virtual int64_t Size();
  virtual void SetSize(int64_t size);

  // Read or write exactly `count` bytes; raise EReadError "Stream read error" / EWriteError.
  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);
  // Copies `count` bytes from `source` (all of it, from the start, when count is 0).
  int64_t CopyFrom(TStream& source, int64_t count);
};

class TMemoryStream : public TStream {
  DECLARE_CLASS(TMemoryStream)

 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::string_view bytes);

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(size_); }
  void SetSize(int64_t size) override;

  const uint8_t* Memory() const { return data_.get(); }
  std::string Bytes() const { return std::string(reinterpret_cast<const char*>(data_.get()), size_); }
  void Clear();
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream);
  // Raise EStreamError with the file name when the file can't be read or written.
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName);

 private:
  struct FreeBytes {
    void operator()(uint8_t* bytes) const { std::free(bytes); }
  };
  // Makes room for `size` bytes; the bytes past size_ are left as they are.
  void Reserve(size_t size);

  // Held with malloc rather than in a vector so that growing can realloc: a large block grows in
  // place (the kernel remaps its pages) instead of being copied into fresh pages that must all be
  // faulted in again, which dominated writing a large design.
  std::unique_ptr<uint8_t[], FreeBytes> data_;
  size_t size_ = 0;
  size_t capacity_ = 0;
  int64_t position_ = 0;
};
