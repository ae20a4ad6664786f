// Global memory handles: lock counts, sizes, zero fill, and refusal of handles that are not live.
#include "winport.h"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

bool allZero(const void* data, size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) {
        if (bytes[i] != 0) {
            return false;
        }
    }
    return true;
}

TEST(GlobalMemory, CountsLocksAndReportsThemInTheFlags) {
    for (UINT kind : {GMEM_MOVEABLE, GMEM_FIXED}) {
        HGLOBAL mem = GlobalAlloc(kind, 100);
        ASSERT_NE(mem, nullptr);
        EXPECT_EQ(GlobalFlags(mem) & GMEM_LOCKCOUNT, 0u);

        void* first = GlobalLock(mem);
        ASSERT_NE(first, nullptr);
        EXPECT_NE(first, mem) << "a handle is never the block's address";
        EXPECT_EQ(GlobalLock(mem), first);
        EXPECT_EQ(GlobalFlags(mem) & GMEM_LOCKCOUNT, 2u);

        EXPECT_TRUE(GlobalUnlock(mem)); // still locked once
        EXPECT_EQ(GlobalFlags(mem) & GMEM_LOCKCOUNT, 1u);
        SetLastError(ERROR_INVALID_PARAMETER);
        EXPECT_FALSE(GlobalUnlock(mem)); // now unlocked: FALSE without an error
        EXPECT_EQ(GetLastError(), NO_ERROR);
        EXPECT_EQ(GlobalFlags(mem) & GMEM_LOCKCOUNT, 0u);

        EXPECT_FALSE(GlobalUnlock(mem));
        EXPECT_EQ(GetLastError(), ERROR_NOT_LOCKED);
        EXPECT_EQ(GlobalFree(mem), nullptr);
    }
}

TEST(GlobalMemory, SizesAndZeroFill) {
    HGLOBAL mem = GlobalAlloc(GHND, 4096);
    ASSERT_NE(mem, nullptr);
    EXPECT_EQ(GlobalSize(mem), 4096u);
    void* data = GlobalLock(mem);
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(allZero(data, 4096));
    GlobalUnlock(mem);
    GlobalFree(mem);

    // An empty block is still a live handle and can be locked.
    HGLOBAL empty = GlobalAlloc(GMEM_MOVEABLE, 0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(GlobalSize(empty), 0u);
    EXPECT_NE(GlobalLock(empty), nullptr);
    GlobalUnlock(empty);
    EXPECT_EQ(GlobalFree(empty), nullptr);
}

TEST(GlobalMemory, ReAllocGrowsWithZeroFillKeepingTheContents) {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 16);
    ASSERT_NE(mem, nullptr);
    std::memset(GlobalLock(mem), 0xAB, 16);
    GlobalUnlock(mem);

    ASSERT_EQ(GlobalReAlloc(mem, 1 << 20, GMEM_MOVEABLE | GMEM_ZEROINIT), mem);
    EXPECT_EQ(GlobalSize(mem), size_t{1} << 20);
    const auto* bytes = static_cast<const unsigned char*>(GlobalLock(mem));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::vector<unsigned char>(bytes, bytes + 16), std::vector<unsigned char>(16, 0xAB));
    EXPECT_TRUE(allZero(bytes + 16, (1 << 20) - 16));
    GlobalUnlock(mem);

    ASSERT_EQ(GlobalReAlloc(mem, 8, GMEM_MOVEABLE), mem);
    EXPECT_EQ(GlobalSize(mem), 8u);
    EXPECT_EQ(static_cast<const unsigned char*>(GlobalLock(mem))[7], 0xAB);
    GlobalUnlock(mem);
    GlobalFree(mem);
}

TEST(GlobalMemory, ReAllocCannotMoveALockedBlock) {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 64);
    ASSERT_NE(mem, nullptr);
    void* data = GlobalLock(mem);
    std::memset(data, 0x5A, 64);

    SetLastError(0);
    EXPECT_EQ(GlobalReAlloc(mem, 1 << 16, GMEM_MOVEABLE), nullptr);
    EXPECT_NE(GetLastError(), NO_ERROR);
    EXPECT_EQ(GlobalSize(mem), 64u) << "a refused resize leaves the block as it was";
    EXPECT_EQ(static_cast<unsigned char*>(data)[63], 0x5A);

    GlobalUnlock(mem);
    EXPECT_EQ(GlobalReAlloc(mem, 1 << 16, GMEM_MOVEABLE), mem);
    EXPECT_EQ(GlobalSize(mem), size_t{1} << 16);
    GlobalFree(mem);
}

// Every call must refuse the handle without touching memory.
void expectRefusedEverywhere(HGLOBAL mem) {
    SetLastError(0);
    EXPECT_EQ(GlobalLock(mem), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    SetLastError(0);
    EXPECT_FALSE(GlobalUnlock(mem));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    SetLastError(0);
    EXPECT_EQ(GlobalSize(mem), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    SetLastError(0);
    EXPECT_EQ(GlobalFlags(mem), GMEM_INVALID_HANDLE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    SetLastError(0);
    EXPECT_EQ(GlobalReAlloc(mem, 32, GMEM_MOVEABLE), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    SetLastError(0);
    EXPECT_EQ(GlobalFree(mem), mem) << "a refused free hands the handle back";
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(GlobalMemory, RefusesFreedAndInventedHandles) {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 32);
    ASSERT_NE(mem, nullptr);
    void* address = GlobalLock(mem);
    GlobalUnlock(mem);
    ASSERT_EQ(GlobalFree(mem), nullptr);
    {
        SCOPED_TRACE("freed handle (and so a double free)");
        expectRefusedEverywhere(mem);
    }

    // A block's address is not its handle, not even while the block is alive.
    HGLOBAL live = GlobalAlloc(GMEM_FIXED, 32);
    void* liveAddress = GlobalLock(live);
    GlobalUnlock(live);
    int local = 0;
    for (HGLOBAL invented : {static_cast<HGLOBAL>(nullptr), reinterpret_cast<HGLOBAL>(1),
                             reinterpret_cast<HGLOBAL>(0x7FFF0003), address, liveAddress,
                             static_cast<HGLOBAL>(&local)}) {
        SCOPED_TRACE(invented);
        expectRefusedEverywhere(invented);
    }
    EXPECT_EQ(GlobalSize(live), 32u);
    GlobalFree(live);
}

TEST(GlobalMemory, HandlesAreNeverReused) {
    HGLOBAL first = GlobalAlloc(GMEM_MOVEABLE, 8);
    GlobalFree(first);
    for (int i = 0; i < 1000; ++i) {
        HGLOBAL other = GlobalAlloc(GMEM_MOVEABLE, 8);
        ASSERT_NE(other, first);
        GlobalFree(other);
    }
    expectRefusedEverywhere(first);
}

} // namespace
