#include "platform/stream/Filer.h"

#include <algorithm>

#include "platform/stream/FilerBuffer.h"

namespace {
struct SpareBuffer {
  std::unique_ptr<uint8_t[]> bytes;
  size_t size = 0;
};
thread_local SpareBuffer spare;
}  // namespace

std::unique_ptr<uint8_t[]> TakeFilerBuffer(size_t size) {
  if (spare.bytes && spare.size == size) {
    spare.size = 0;
    return std::move(spare.bytes);
  }
  return std::unique_ptr<uint8_t[]>(new uint8_t[size]);
}

void GiveBackFilerBuffer(std::unique_ptr<uint8_t[]> buffer, size_t size) {
  spare.bytes = std::move(buffer);
  spare.size = spare.bytes ? size : 0;
}

TFiler::TFiler(TStream& stream, int bufSize)
    : stream_(stream), bufSize_(static_cast<size_t>(std::max(bufSize, 16))) {
  buffer_ = TakeFilerBuffer(bufSize_);
}
