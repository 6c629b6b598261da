#include "platform/rtl/Stream.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <new>

#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Tr.h"

namespace {

// What a user is told when a stream or file fails.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Stream)
};

}  // namespace

DEFINE_CLASS(TStream, TObject) {}
DEFINE_CLASS(TMemoryStream, TStream) {}

int64_t TStream::Size() {
  int64_t position = Seek(0, soCurrent);
  int64_t size = Seek(0, soEnd);
  Seek(position, soBeginning);
  return size;
}

void TStream::SetSize(int64_t) { throw EStreamError("Stream size cannot be changed"); }

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count < 0 || (count > 0 && Read(buffer, count) != count)) throw EReadError(Tr(Texts::tr("Stream read error")));
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count < 0 || (count > 0 && Write(buffer, count) != count))
    throw EWriteError(Tr(Texts::tr("Stream write error")));
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  int64_t copied = 0;
  char chunk[8192];
  while (copied < count) {
    int64_t n = std::min<int64_t>(count - copied, sizeof chunk);
    source.ReadBuffer(chunk, n);
    WriteBuffer(chunk, n);
    copied += n;
  }
  return copied;
}

TMemoryStream::TMemoryStream(std::string_view bytes) {
  Reserve(bytes.size());
  if (!bytes.empty()) std::memcpy(data_.get(), bytes.data(), bytes.size());
  size_ = bytes.size();
}

void TMemoryStream::Reserve(size_t size) {
  if (size <= capacity_) return;
  // Doubling keeps appending linear; realloc lets a large block grow without a copy.
  size_t capacity = std::max({size, capacity_ * 2, size_t{256}});
  void* grown = std::realloc(data_.get(), capacity);
  if (!grown) throw std::bad_alloc();
  data_.release();
  data_.reset(static_cast<uint8_t*>(grown));
  capacity_ = capacity;
}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || position_ >= Size()) return 0;
  int64_t n = std::min(count, Size() - position_);
  std::memcpy(buffer, data_.get() + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  auto end = static_cast<size_t>(position_ + count);
  auto at = static_cast<size_t>(position_);
  if (end > size_) {
    Reserve(end);
    // A write past the end leaves zeros in the gap.
    if (at > size_) std::memset(data_.get() + size_, 0, at - size_);
    size_ = end;
  }
  std::memcpy(data_.get() + at, buffer, static_cast<size_t>(count));
  position_ = static_cast<int64_t>(end);
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? position_ : Size();
  position_ = std::max<int64_t>(0, base + offset);
  return position_;
}

void TMemoryStream::SetSize(int64_t size) {
  auto newSize = static_cast<size_t>(std::max<int64_t>(0, size));
  if (newSize > size_) {
    Reserve(newSize);
    std::memset(data_.get() + size_, 0, newSize - size_);
  }
  size_ = newSize;
  position_ = std::min(position_, Size());
}

void TMemoryStream::Clear() {
  size_ = 0;
  position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
  stream.SetPosition(0);
  int64_t size = stream.Size();
  SetSize(size);
  if (size > 0) stream.ReadBuffer(data_.get(), size);
  position_ = 0;
}

void TMemoryStream::SaveToStream(TStream& stream) {
  if (size_ > 0) stream.WriteBuffer(data_.get(), Size());
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) throw EStreamError(Tr(Texts::tr("Cannot open file \"%1\""), fileName));
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  SetSize(static_cast<int64_t>(bytes.size()));
  if (!bytes.empty()) std::memcpy(data_.get(), bytes.data(), bytes.size());
  if (in.bad()) throw EStreamError(Tr(Texts::tr("Cannot read file \"%1\""), fileName));
  position_ = 0;
}

void TMemoryStream::SaveToFile(const std::string& fileName) {
  std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data_.get()), static_cast<std::streamsize>(size_));
  if (!out) throw EStreamError(Tr(Texts::tr("Cannot create file \"%1\""), fileName));
}
