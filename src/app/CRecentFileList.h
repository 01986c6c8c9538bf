#pragma once

#include <string>
#include <vector>

// The most recently opened files, newest first, at most `capacity` of them, each once. Paths are
// compared as given: the caller passes absolute, cleaned paths.
class CRecentFileList {
public:
    explicit CRecentFileList(int maxFiles) : capacity(maxFiles) {}

    // Moves `path` to the front (adding it when new); the oldest falls off a full list.
    void Add(const std::string& path);
    void Remove(const std::string& path);
    // Replaces the whole list (as read from the settings), dropping empties and repeats.
    void Assign(const std::vector<std::string>& paths);
    const std::vector<std::string>& Files() const { return files; }
    int Capacity() const { return capacity; }

    // The menu text of entry `index` (0-based): "&1 " and the path, with "&" doubled so that it
    // shows; a path longer than `maxLength` keeps its first folder and its file name around "...".
    static std::string MenuText(int index, const std::string& path, std::size_t maxLength = 60);

private:
    int capacity;
    std::vector<std::string> files;
};
