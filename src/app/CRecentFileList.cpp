#include "app/CRecentFileList.h"

#include <algorithm>

void CRecentFileList::Add(const std::string& path) {
    if (path.empty()) {
        return;
    }
    Remove(path);
    files.insert(files.begin(), path);
    if (static_cast<int>(files.size()) > capacity) {
        files.resize(static_cast<std::size_t>(capacity));
    }
}

void CRecentFileList::Remove(const std::string& path) {
    std::erase(files, path);
}

void CRecentFileList::Assign(const std::vector<std::string>& paths) {
    files.clear();
    for (const std::string& path : paths) {
        if (!path.empty() && std::find(files.begin(), files.end(), path) == files.end() &&
            static_cast<int>(files.size()) < capacity) {
            files.push_back(path);
        }
    }
}

std::string CRecentFileList::MenuText(int index, const std::string& path, std::size_t maxLength) {
    std::string shown = path;
    if (shown.size() > maxLength) {
        const auto firstFolderEnd = shown.find('/', 1);
        const auto nameStart = shown.rfind('/');
        if (firstFolderEnd != std::string::npos && nameStart != std::string::npos &&
            firstFolderEnd < nameStart) {
            shown = shown.substr(0, firstFolderEnd + 1) + "..." + shown.substr(nameStart);
        }
    }
    std::string escaped;
    for (char c : shown) {
        escaped += c;
        if (c == '&') {
            escaped += '&';
        }
    }
    std::string text = "&";
    text += std::to_string(index + 1);
    text += ' ';
    text += escaped;
    return text;
}
