#pragma once

#include "machine/OpcodeRow.h"

#include <array>
#include <cstddef>
#include <memory>

// A copy of the 64 KiB memory kept in 1 KiB pages that later copies share while a page stays the
// same, so that many copies of a program that changes little cost little.
class PagedMemory {
public:
    static constexpr std::size_t PageSize = 1024;
    static constexpr std::size_t PageCount = 65536 / PageSize;

    PagedMemory() = default;

    // A copy of `memory`; pages equal to those of `like` (when given) are shared with it.
    static PagedMemory Take(const Memory& memory, const PagedMemory* like);
    void CopyTo(Memory& memory) const;
    bool Matches(const Memory& memory) const;
    // Bytes of the pages this copy made itself rather than shared.
    std::size_t OwnBytes() const { return ownBytes; }

private:
    using Page = std::array<std::uint8_t, PageSize>;
    std::array<std::shared_ptr<const Page>, PageCount> pages;
    std::size_t ownBytes = 0;
};
