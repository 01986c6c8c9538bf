#include "app/SavePlace.h"

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsFolder(const std::string& path) {
    struct stat status {};
    return !path.empty() && stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

} // namespace

namespace SavePlace {

bool CanSaveInPlace(const std::string& path, bool readOnly) {
    if (path.empty() || readOnly) {
        return false;
    }
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    const std::string folderName = folder.empty() ? std::string(".") : folder.string();
    // access() also answers for a read-only file system, which stops even the superuser.
    return access(folderName.c_str(), W_OK | X_OK) == 0;
}

std::string SuggestedPath(const std::string& path, const std::string& documentsFolder,
                          const std::string& homeFolder) {
    const std::filesystem::path name = std::filesystem::path(path).filename();
    for (const std::string& folder : {documentsFolder, homeFolder}) {
        if (IsFolder(folder)) {
            return (std::filesystem::path(folder) / name).string();
        }
    }
    return path;
}

} // namespace SavePlace
