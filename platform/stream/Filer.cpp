#include "platform/stream/Filer.h"

#include <algorithm>

TFiler::TFiler(TStream& stream, int bufSize)
    : stream_(stream), bufSize_(static_cast<size_t>(std::max(bufSize, 16))) {
  buffer_.reset(new uint8_t[bufSize_]);
}
