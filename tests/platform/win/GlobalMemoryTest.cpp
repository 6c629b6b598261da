#include "platform/win/GlobalMemory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>

namespace {

TEST(GlobalMemory, NewBlocksAreZeroedWhateverTheFlags) {
  for (const UINT flags : {GMEM_FIXED, GMEM_MOVEABLE, GHND}) {
    const HGLOBAL block = GlobalAlloc(flags, 37);
    ASSERT_NE(block, 0u);
    EXPECT_EQ(GlobalSize(block), 37u);
    const auto* bytes = static_cast<const char*>(GlobalLock(block));
    EXPECT_EQ(std::string(bytes, 37), std::string(37, '\0')) << flags;
    GlobalUnlock(block);
    EXPECT_EQ(GlobalFree(block), 0u);
  }
  const HGLOBAL empty = GlobalAlloc(GHND, 0);
  EXPECT_NE(GlobalLock(empty), nullptr) << "an empty block still locks";
  GlobalUnlock(empty);
  GlobalFree(empty);
}

TEST(GlobalMemory, AbsurdSizesFail) {
  for (const size_t size : {SIZE_MAX, SIZE_MAX / 2, kGlobalMaxBytes + 1}) {
    EXPECT_EQ(GlobalAlloc(GHND, size), 0u) << size;
  }
}

TEST(GlobalMemory, LocksNestAndUnlockTellsWhetherStillLocked) {
  const HGLOBAL block = GlobalAlloc(GHND, 8);
  void* first = GlobalLock(block);
  EXPECT_EQ(GlobalLock(block), first);
  EXPECT_EQ(GlobalFlags(block) & GMEM_LOCKCOUNT, 2u);
  EXPECT_TRUE(GlobalUnlock(block));
  EXPECT_FALSE(GlobalUnlock(block));
  EXPECT_FALSE(GlobalUnlock(block)) << "an unlocked block has no lock to undo";
  EXPECT_EQ(GlobalFlags(block), 0u);
  GlobalFree(block);
}

TEST(GlobalMemory, FreedAndUnknownHandlesAreRefusedAndNeverReused) {
  std::set<HGLOBAL> seen;
  for (int i = 0; i < 50; ++i) {
    const HGLOBAL block = GlobalAlloc(GHND, 16);
    EXPECT_TRUE(seen.insert(block).second) << "handle " << block << " came back";
    ASSERT_EQ(GlobalFree(block), 0u);
  }
  for (const HGLOBAL bad : {*seen.begin(), HGLOBAL{0}, ~HGLOBAL{0}}) {
    EXPECT_EQ(GlobalLock(bad), nullptr);
    EXPECT_FALSE(GlobalUnlock(bad));
    EXPECT_EQ(GlobalSize(bad), 0u);
    EXPECT_EQ(GlobalFlags(bad), GMEM_INVALID_HANDLE);
    EXPECT_EQ(GlobalReAlloc(bad, 32, GMEM_MOVEABLE), 0u);
    EXPECT_EQ(GlobalFree(bad), bad);
  }
}

TEST(GlobalMemory, FreeingLockedBlockKeepsItsMemoryUntilLastUnlock) {
  const HGLOBAL block = GlobalAlloc(GHND, 4);
  auto* bytes = static_cast<char*>(GlobalLock(block));
  ASSERT_EQ(GlobalFree(block), 0u);
  EXPECT_EQ(GlobalLock(block), nullptr);
  std::memcpy(bytes, "mark", 4);  // the sanitizers object if this memory was released
  EXPECT_FALSE(GlobalUnlock(block));
  EXPECT_EQ(GlobalFlags(block), GMEM_INVALID_HANDLE);
}

TEST(GlobalMemory, ReAllocKeepsContentsAndGrowsWithZeros) {
  const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 4);
  std::memcpy(GlobalLock(block), "abcd", 4);
  GlobalUnlock(block);
  ASSERT_EQ(GlobalReAlloc(block, 4096, GMEM_MOVEABLE), block);
  const auto* bytes = static_cast<const char*>(GlobalLock(block));
  EXPECT_EQ(std::string(bytes, 4), "abcd");
  EXPECT_EQ(std::string(bytes + 4, 4092), std::string(4092, '\0'));
  GlobalUnlock(block);
  ASSERT_EQ(GlobalReAlloc(block, 2, GMEM_MOVEABLE), block);
  EXPECT_EQ(GlobalSize(block), 2u);
  EXPECT_EQ(std::string(static_cast<const char*>(GlobalLock(block)), 2), "ab");
  GlobalUnlock(block);
  GlobalFree(block);
}

TEST(GlobalMemory, FailedReAllocLeavesBlockAsItWas) {
  const HGLOBAL block = GlobalAlloc(GHND, 4);
  void* locked = GlobalLock(block);
  std::memcpy(locked, "keep", 4);
  EXPECT_EQ(GlobalReAlloc(block, 64, GMEM_MOVEABLE), 0u) << "a locked block cannot move";
  EXPECT_EQ(GlobalLock(block), locked);
  GlobalUnlock(block);
  GlobalUnlock(block);
  EXPECT_EQ(GlobalReAlloc(block, SIZE_MAX, GMEM_MOVEABLE), 0u);
  EXPECT_EQ(GlobalReAlloc(block, 64, GMEM_MODIFY), block);
  EXPECT_EQ(GlobalSize(block), 4u);
  EXPECT_EQ(std::string(static_cast<const char*>(GlobalLock(block)), 4), "keep");
  GlobalUnlock(block);
  GlobalFree(block);
}

}  // namespace
