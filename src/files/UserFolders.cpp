#include "files/UserFolders.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>

namespace UserFolders {

namespace {

std::optional<std::string> AbsoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') {
        return std::nullopt;
    }
    return std::string(value);
}

std::optional<std::string> Folder(const char* variable, const char* underHome) {
    if (auto folder = AbsoluteVariable(variable)) {
        return folder;
    }
    if (auto home = AbsoluteVariable("HOME")) {
        return *home + underHome;
    }
    return std::nullopt;
}

bool IsFolder(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

} // namespace

std::optional<std::string> DataHome() {
    return Folder("XDG_DATA_HOME", "/.local/share");
}

std::optional<std::string> CacheHome() {
    return Folder("XDG_CACHE_HOME", "/.cache");
}

bool MakeFolders(const std::string& folder) {
    if (folder.empty() || IsFolder(folder)) {
        return !folder.empty();
    }
    for (auto slash = folder.find('/', 1); slash != std::string::npos;
         slash = folder.find('/', slash + 1)) {
        mkdir(folder.substr(0, slash).c_str(), 0700);
    }
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    return IsFolder(folder);
}

} // namespace UserFolders
