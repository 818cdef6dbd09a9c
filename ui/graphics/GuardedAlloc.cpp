#include "ui/graphics/GuardedAlloc.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

namespace {

constexpr size_t kHeader = 8;  // mark and size
constexpr size_t kTrailer = 4;
// Released addresses remembered to tell a second release from a stray
// pointer; forgotten when the allocator hands the address out again.
constexpr size_t kRememberedReleases = 4096;

struct Blocks {
    std::mutex lock;
    std::unordered_map<const void*, int32_t> live;  // with the size asked for
    std::unordered_set<const void*> released;
};

Blocks& GuardState() {
    static Blocks blocks;
    return blocks;
}

void Say(const char* text) {
    std::fputs(text, stdout);
    std::fflush(stdout);
}

}  // namespace

void* galloc(int32_t size) {
    if (size <= 0 || size > kGallocMaxSize) {
        std::printf("galloc - INVALID SIZE %ld\n", static_cast<long>(size));
        std::fflush(stdout);
        return nullptr;
    }
    auto* raw = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(size) + kHeader + kTrailer));
    if (!raw) {
        std::printf("galloc - FAILED. OUT OF MEMORY. SIZE REQUESTED %ld\n", static_cast<long>(size));
        std::fflush(stdout);
        return nullptr;
    }
    std::memcpy(raw, "GMEM", 4);
    std::memcpy(raw + 4, &size, 4);
    std::memcpy(raw + kHeader + static_cast<size_t>(size), "GEND", 4);
    void* user = raw + kHeader;
    Blocks& blocks = GuardState();
    std::lock_guard guard(blocks.lock);
    blocks.live[user] = size;
    blocks.released.erase(user);
    return user;
}

int32_t gfree(void* block) {
    if (reinterpret_cast<uintptr_t>(block) < 2048) {
        Say("gfree - ATTEMPT TO FREE NULL POINTER\n");
        return 0;
    }
    Blocks& blocks = GuardState();
    std::unique_lock guard(blocks.lock);
    const auto found = blocks.live.find(block);
    if (found == blocks.live.end()) {
        const bool twice = blocks.released.count(block) != 0;
        guard.unlock();
        Say(twice ? "gfree - ATTEMPT TO FREE MEMORY TWICE\n"
                  : "gfree - SENTINAL CORRUPTED; PROBABLE MEMORY DATA CORRUPTION\n");
        return 0;
    }
    auto* raw = static_cast<uint8_t*>(block) - kHeader;
    int32_t size = 0;
    std::memcpy(&size, raw + 4, 4);
    // The trailer is looked for where the block really ends, whatever the
    // header now says.
    const bool intact = std::memcmp(raw, "GMEM", 4) == 0 && size == found->second &&
                        std::memcmp(raw + kHeader + static_cast<size_t>(size), "GEND", 4) == 0;
    if (!intact) {
        guard.unlock();
        Say("gfree - SENTINAL CORRUPTED; PROBABLE MEMORY DATA CORRUPTION\n");
        return 0;
    }
    blocks.live.erase(found);
    if (blocks.released.size() >= kRememberedReleases) blocks.released.clear();
    blocks.released.insert(block);
    std::memcpy(raw, "GFRE", 4);
    std::free(raw);
    return 1;
}

int32_t GallocLiveCount() {
    Blocks& blocks = GuardState();
    std::lock_guard guard(blocks.lock);
    return static_cast<int32_t>(blocks.live.size());
}
