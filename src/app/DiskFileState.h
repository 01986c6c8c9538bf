#pragma once

#include <cstdint>
#include <string>

// What stands at a path at one moment, enough to tell that another program has changed, replaced
// or removed the file since: its identity (device and inode), size and modification time. Taken
// without opening the path, so that nothing at it can make the caller wait.
struct DiskFileState {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;

    static DiskFileState Of(const std::string& path);

    bool operator==(const DiskFileState&) const = default;
};
