// Global memory blocks reached through handles. A handle is a number from a counter that never
// repeats, so a freed handle can never come back to life and is refused like any unknown one.
#include "last_error.h"
#include "winport.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>

namespace {

struct Block {
    void* data = nullptr;
    SIZE_T size = 0;
    UINT flags = 0;
    UINT locks = 0;
};

class BlockTable {
public:
    std::mutex mutex;
    std::unordered_map<uintptr_t, Block> blocks;
    uintptr_t next = 0x10000;

    Block* find(HGLOBAL handle) {
        auto it = blocks.find(reinterpret_cast<uintptr_t>(handle));
        return it == blocks.end() ? nullptr : &it->second;
    }
};

BlockTable& table() {
    static BlockTable* instance = new BlockTable; // lives until the process ends
    return *instance;
}

// Blocks are never empty in memory, so that a lock of a zero-sized block still gives an address.
void* allocate(SIZE_T bytes, bool zero) {
    const SIZE_T real = bytes == 0 ? 1 : bytes;
    return zero ? std::calloc(real, 1) : std::malloc(real);
}

} // namespace

WINPORT_API HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    void* data = allocate(bytes, (flags & GMEM_ZEROINIT) != 0);
    if (data == nullptr) {
        winport::setLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    BlockTable& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    const uintptr_t id = t.next;
    t.next += 16;
    t.blocks.emplace(id, Block{data, bytes, flags & (GMEM_MOVEABLE | GMEM_ZEROINIT), 0});
    return reinterpret_cast<HGLOBAL>(id);
}

WINPORT_API HGLOBAL GlobalReAlloc(HGLOBAL mem, SIZE_T bytes, UINT flags) {
    BlockTable& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    Block* block = t.find(mem);
    if (block == nullptr) {
        winport::setLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    // A locked block may not move: its address is in use.
    if (block->locks != 0 && bytes > block->size) {
        winport::setLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (block->locks == 0) {
        void* data = std::realloc(block->data, bytes == 0 ? 1 : bytes);
        if (data == nullptr) {
            winport::setLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        block->data = data;
    }
    if ((flags & GMEM_ZEROINIT) != 0 && bytes > block->size) {
        std::memset(static_cast<char*>(block->data) + block->size, 0, bytes - block->size);
    }
    block->size = bytes;
    return mem;
}

WINPORT_API LPVOID GlobalLock(HGLOBAL mem) {
    BlockTable& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    Block* block = t.find(mem);
    if (block == nullptr) {
        winport::setLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (block->locks < GMEM_LOCKCOUNT) {
        ++block->locks;
    }
    return block->data;
}

WINPORT_API BOOL GlobalUnlock(HGLOBAL mem) {
    BlockTable& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    Block* block = t.find(mem);
    if (block == nullptr) {
        winport::setLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (block->locks == 0) {
        winport::setLastError(ERROR_NOT_LOCKED);
        return FALSE;
    }
    --block->locks;
    if (block->locks == 0) {
        winport::setLastError(NO_ERROR);
        return FALSE;
    }
    return TRUE;
}

WINPORT_API UINT GlobalFlags(HGLOBAL mem) {
    BlockTable& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    Block* block = t.find(mem);
    if (block == nullptr) {
        winport::setLastError(ERROR_INVALID_HANDLE);
        return GMEM_INVALID_HANDLE;
    }
    return block->locks & GMEM_LOCKCOUNT;
}

WINPORT_API SIZE_T GlobalSize(HGLOBAL mem) {
    BlockTable& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    Block* block = t.find(mem);
    if (block == nullptr) {
        winport::setLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return block->size;
}

WINPORT_API HGLOBAL GlobalFree(HGLOBAL mem) {
    BlockTable& t = table();
    void* data = nullptr;
    {
        std::lock_guard<std::mutex> lock(t.mutex);
        auto it = t.blocks.find(reinterpret_cast<uintptr_t>(mem));
        if (it == t.blocks.end()) {
            winport::setLastError(ERROR_INVALID_HANDLE);
            return mem;
        }
        data = it->second.data;
        t.blocks.erase(it);
    }
    std::free(data);
    return nullptr;
}
