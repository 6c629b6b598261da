#pragma once
// The buffers of readers and writers, kept for the next one. Internal to the stream; a design is
// written with one short-lived writer per component block, and each would otherwise allocate and
// free a buffer of a few kilobytes for a record of a few hundred bytes.

#include <cstddef>
#include <cstdint>
#include <memory>

// A buffer of `size` bytes, not cleared: the one a filer of this thread gave back last, when it
// has that size, or a new one.
std::unique_ptr<uint8_t[]> TakeFilerBuffer(size_t size);
// Keeps `buffer` (of `size` bytes) for the next filer of this thread, in place of any kept before.
void GiveBackFilerBuffer(std::unique_ptr<uint8_t[]> buffer, size_t size);
