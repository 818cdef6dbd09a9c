#include "platform/PageMemory.h"

#include <sys/mman.h>
#include <unistd.h>

namespace platform {

size_t PageSize() {
    static const size_t size = [] {
        const long value = sysconf(_SC_PAGESIZE);
        return value > 0 ? static_cast<size_t>(value) : size_t{4096};
    }();
    return size;
}

namespace {
size_t RoundToPages(size_t bytes) {
    const size_t page = PageSize();
    return (bytes + page - 1) / page * page;
}
}  // namespace

void* AllocatePages(size_t bytes) {
    if (bytes == 0 || bytes > (size_t{1} << 46)) return nullptr;
    void* block = mmap(nullptr, RoundToPages(bytes), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return block == MAP_FAILED ? nullptr : block;
}

void FreePages(void* block, size_t bytes) {
    if (block != nullptr && bytes != 0) munmap(block, RoundToPages(bytes));
}

}  // namespace platform
