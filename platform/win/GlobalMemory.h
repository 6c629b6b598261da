#pragma once
// Movable global memory blocks, the currency of the clipboard.
//
// A block is named by a handle, an id in this layer's block table (0 = none), never by its address.
// Ids are never handed out twice in the life of the process, so a handle that was freed stays
// invalid: every routine answers it as a bad handle (null, 0 or false) instead of touching memory.
// The table is safe to use from several threads.
//
// Every block is movable; GMEM_FIXED is accepted and gives a movable block all the same, since a
// handle is never an address here. New bytes are always zero, with or without GMEM_ZEROINIT.

#include <cstddef>
#include <cstdint>

using UINT = uint32_t;
using HGLOBAL = uintptr_t;
using HANDLE = uintptr_t;

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GMEM_MODIFY = 0x0080;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;

// GlobalFlags: the lock count in the low byte (it stops counting at 255), or GMEM_INVALID_HANDLE.
constexpr UINT GMEM_LOCKCOUNT = 0x00FF;
constexpr UINT GMEM_INVALID_HANDLE = 0x8000;

// The largest block this layer hands out. Larger requests fail as an allocation that finds no
// memory fails; nothing the program keeps on the clipboard comes near it.
constexpr size_t kGlobalMaxBytes = size_t{1} << 30;

// A new block of `bytes` bytes (0 is allowed), or 0 when it cannot be had.
HGLOBAL GlobalAlloc(UINT flags, size_t bytes);

// The block's first byte, valid until the matching GlobalUnlock; null for a bad handle. Locks
// count: each GlobalLock needs its own GlobalUnlock. A block of 0 bytes gives a non-null pointer
// that must not be read through.
void* GlobalLock(HGLOBAL block);

// Undoes one GlobalLock. True while the block stays locked; false once the count reached 0, and
// for a block that was not locked or a bad handle.
bool GlobalUnlock(HGLOBAL block);

// The block's size in bytes as requested; 0 for a bad handle.
size_t GlobalSize(HGLOBAL block);

UINT GlobalFlags(HGLOBAL block);

// Gives 0 once the block is freed, or the handle itself when it is not a block (also after it was
// freed). The handle is dead at once for everything but GlobalUnlock: a block that is still locked
// keeps its memory until its last GlobalUnlock, so that a pointer somebody still holds never
// dangles.
HGLOBAL GlobalFree(HGLOBAL block);

// Resizes the block to `bytes`, zero-filling what it grows by, and gives the same handle; 0 on
// failure, which leaves the block as it was. A locked block keeps its address and therefore
// cannot be resized. With GMEM_MODIFY only flags change here, that is nothing: the handle comes
// back untouched.
HGLOBAL GlobalReAlloc(HGLOBAL block, size_t bytes, UINT flags);
