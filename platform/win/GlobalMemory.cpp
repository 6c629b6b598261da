#include "platform/win/GlobalMemory.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <unordered_map>

namespace {

struct Block {
  std::unique_ptr<std::byte[]> bytes;
  size_t size = 0;
  unsigned locks = 0;
  bool freed = false;  // freed while locked: only GlobalUnlock still reaches it
};

struct BlockTable {
  std::mutex mutex;
  std::unordered_map<HGLOBAL, Block> blocks;
  HGLOBAL lastId = 0;
};

BlockTable& Table() {
  static BlockTable table;
  return table;
}

// At least one byte, so that a block of 0 bytes still has an address to lock.
std::unique_ptr<std::byte[]> NewBytes(size_t size) {
  return std::unique_ptr<std::byte[]>(new (std::nothrow) std::byte[std::max<size_t>(size, 1)]());
}

// The live block of a handle; the caller holds the table's lock.
Block* Find(BlockTable& table, HGLOBAL handle) {
  const auto it = table.blocks.find(handle);
  if (it == table.blocks.end() || it->second.freed) return nullptr;
  return &it->second;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT /*flags*/, size_t bytes) {
  if (bytes > kGlobalMaxBytes) return 0;
  auto memory = NewBytes(bytes);
  if (!memory) return 0;
  BlockTable& table = Table();
  std::lock_guard<std::mutex> guard(table.mutex);
  const HGLOBAL handle = ++table.lastId;
  table.blocks.emplace(handle, Block{std::move(memory), bytes, 0, false});
  return handle;
}

void* GlobalLock(HGLOBAL handle) {
  BlockTable& table = Table();
  std::lock_guard<std::mutex> guard(table.mutex);
  Block* block = Find(table, handle);
  if (!block) return nullptr;
  ++block->locks;
  return block->bytes.get();
}

bool GlobalUnlock(HGLOBAL handle) {
  BlockTable& table = Table();
  std::lock_guard<std::mutex> guard(table.mutex);
  const auto it = table.blocks.find(handle);
  if (it == table.blocks.end() || it->second.locks == 0) return false;
  if (--it->second.locks > 0) return true;
  if (it->second.freed) table.blocks.erase(it);
  return false;
}

size_t GlobalSize(HGLOBAL handle) {
  BlockTable& table = Table();
  std::lock_guard<std::mutex> guard(table.mutex);
  const Block* block = Find(table, handle);
  return block ? block->size : 0;
}

UINT GlobalFlags(HGLOBAL handle) {
  BlockTable& table = Table();
  std::lock_guard<std::mutex> guard(table.mutex);
  const Block* block = Find(table, handle);
  if (!block) return GMEM_INVALID_HANDLE;
  return std::min<UINT>(block->locks, GMEM_LOCKCOUNT);
}

HGLOBAL GlobalFree(HGLOBAL handle) {
  BlockTable& table = Table();
  std::lock_guard<std::mutex> guard(table.mutex);
  Block* block = Find(table, handle);
  if (!block) return handle;
  if (block->locks > 0) {
    block->freed = true;
  } else {
    table.blocks.erase(handle);
  }
  return 0;
}

HGLOBAL GlobalReAlloc(HGLOBAL handle, size_t bytes, UINT flags) {
  BlockTable& table = Table();
  std::lock_guard<std::mutex> guard(table.mutex);
  Block* block = Find(table, handle);
  if (!block) return 0;
  if (flags & GMEM_MODIFY) return handle;
  if (block->locks > 0 || bytes > kGlobalMaxBytes) return 0;
  if (bytes == block->size) return handle;
  auto memory = NewBytes(bytes);
  if (!memory) return 0;
  std::memcpy(memory.get(), block->bytes.get(), std::min(bytes, block->size));
  block->bytes = std::move(memory);
  block->size = bytes;
  return handle;
}
