#include "platform/rtl/Stream.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Exception.h"

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
  if (count < 0 || (count > 0 && Read(buffer, count) != count)) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count < 0 || (count > 0 && Write(buffer, count) != count))
    throw EWriteError("Stream write error");
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

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || position_ >= Size()) return 0;
  int64_t n = std::min(count, Size() - position_);
  std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  int64_t end = position_ + count;
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  if (position_ == Size()) {
    // Appending, as writers do: no zero-fill of the new bytes before they are overwritten.
    data_.insert(data_.end(), bytes, bytes + count);
  } else {
    if (end > Size()) data_.resize(static_cast<size_t>(end));
    std::memcpy(data_.data() + position_, bytes, static_cast<size_t>(count));
  }
  position_ = end;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? position_ : Size();
  position_ = std::max<int64_t>(0, base + offset);
  return position_;
}

void TMemoryStream::SetSize(int64_t size) {
  data_.resize(static_cast<size_t>(std::max<int64_t>(0, size)));
  position_ = std::min(position_, Size());
}

void TMemoryStream::Clear() {
  data_.clear();
  position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
  stream.SetPosition(0);
  int64_t size = stream.Size();
  SetSize(size);
  if (size > 0) stream.ReadBuffer(data_.data(), size);
  position_ = 0;
}

void TMemoryStream::SaveToStream(TStream& stream) {
  if (!data_.empty()) stream.WriteBuffer(data_.data(), Size());
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) throw EStreamError("Cannot open file \"" + fileName + "\"");
  data_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) throw EStreamError("Cannot read file \"" + fileName + "\"");
  position_ = 0;
}

void TMemoryStream::SaveToFile(const std::string& fileName) {
  std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data_.data()), static_cast<std::streamsize>(data_.size()));
  if (!out) throw EStreamError("Cannot create file \"" + fileName + "\"");
}
