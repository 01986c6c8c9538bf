#include "app/DiskFileState.h"

#include <sys/stat.h>

DiskFileState DiskFileState::Of(const std::string& path) {
    DiskFileState state;
    struct stat status {};
    if (path.empty() || stat(path.c_str(), &status) != 0) {
        return state;
    }
    state.exists = true;
    state.device = static_cast<std::uint64_t>(status.st_dev);
    state.inode = static_cast<std::uint64_t>(status.st_ino);
    state.size = static_cast<std::int64_t>(status.st_size);
    state.modifiedSeconds = static_cast<std::int64_t>(status.st_mtim.tv_sec);
    state.modifiedNanoseconds = static_cast<std::int64_t>(status.st_mtim.tv_nsec);
    return state;
}
