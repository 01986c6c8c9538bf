#include "machine/PagedMemory.h"

#include <algorithm>
#include <cstring>

PagedMemory PagedMemory::Take(const Memory& memory, const PagedMemory* like) {
    PagedMemory copy;
    for (std::size_t page = 0; page < PageCount; ++page) {
        const std::uint8_t* bytes = memory.data() + page * PageSize;
        const auto& shared = like != nullptr ? like->pages[page] : nullptr;
        if (shared && std::memcmp(shared->data(), bytes, PageSize) == 0) {
            copy.pages[page] = shared;
            continue;
        }
        auto own = std::make_shared<Page>();
        std::copy_n(bytes, PageSize, own->begin());
        copy.pages[page] = std::move(own);
        copy.ownBytes += PageSize;
    }
    return copy;
}

void PagedMemory::CopyTo(Memory& memory) const {
    for (std::size_t page = 0; page < PageCount; ++page) {
        if (pages[page]) {
            std::copy(pages[page]->begin(), pages[page]->end(),
                      memory.begin() + static_cast<std::ptrdiff_t>(page * PageSize));
        }
    }
}

bool PagedMemory::Matches(const Memory& memory) const {
    for (std::size_t page = 0; page < PageCount; ++page) {
        if (!pages[page] ||
            std::memcmp(pages[page]->data(), memory.data() + page * PageSize, PageSize) != 0) {
            return false;
        }
    }
    return true;
}
