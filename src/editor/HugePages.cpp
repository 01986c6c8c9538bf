#include "editor/HugePages.h"

#include <cstdint>
#include <sys/mman.h>

void AdviseHugePages(void* start, std::size_t size) {
    constexpr std::uintptr_t hugePage = std::uintptr_t{1} << 21;
    if (size < 2 * hugePage) {
        return;
    }
    const auto begin = reinterpret_cast<std::uintptr_t>(start);
    const std::uintptr_t alignedBegin = (begin + hugePage - 1) & ~(hugePage - 1);
    const std::uintptr_t alignedEnd = (begin + size) & ~(hugePage - 1);
    if (alignedEnd > alignedBegin) {
        madvise(reinterpret_cast<void*>(alignedBegin), alignedEnd - alignedBegin, MADV_HUGEPAGE);
    }
}
