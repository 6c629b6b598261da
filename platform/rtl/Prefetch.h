#pragma once

#include <cstddef>

// Starts loading the first kilobyte of an object that the caller will read soon, while it still
// works on the one before. Writing a large design visits thousands of components scattered over
// the heap; without this, the first read of each one waits for main memory, and the time per
// component grows with the design once it no longer fits in the cache.
inline void PrefetchObject(const void* object) {
  constexpr std::size_t kBytes = 1024;
  constexpr std::size_t kCacheLine = 64;
  const char* bytes = static_cast<const char*>(object);
  for (std::size_t at = 0; at < kBytes; at += kCacheLine) __builtin_prefetch(bytes + at);
}
