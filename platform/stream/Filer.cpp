#include "platform/stream/Filer.h"

#include <algorithm>

TFiler::TFiler(TStream& stream, int bufSize)
    : stream_(stream), buffer_(static_cast<size_t>(std::max(bufSize, 16))) {}
