#include "app/ExampleCatalog.h"

#include "files/RegularFile.h"

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// More than any example's comment needs; a description is only a few lines.
constexpr std::size_t headLimit = 4096;

std::string ReadHead(const std::string& path) {
    std::string problem;
    const int fd = RegularFile::OpenForReading(path, problem);
    if (fd < 0) {
        return {};
    }
    std::string head(headLimit, '\0');
    std::size_t filled = 0;
    while (filled < head.size()) {
        const ssize_t got = read(fd, head.data() + filled, head.size() - filled);
        if (got <= 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    close(fd);
    head.resize(filled);
    return head;
}

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

} // namespace

namespace ExampleCatalog {

std::optional<std::string> FindFolder(const std::vector<std::string>& candidates) {
    for (const std::string& candidate : candidates) {
        struct stat status {};
        if (!candidate.empty() && stat(candidate.c_str(), &status) == 0 &&
            S_ISDIR(status.st_mode)) {
            return candidate;
        }
    }
    return std::nullopt;
}

std::vector<Example> List(const std::string& folder) {
    std::vector<Example> examples;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const fs::path& path = entry.path();
        // Through a link too, as long as it ends at a regular file.
        if (path.extension() != ".85" || !entry.is_regular_file(error)) {
            continue;
        }
        examples.push_back(
            {path.string(), path.filename().string(), LeadingComment(ReadHead(path.string()))});
    }
    std::sort(examples.begin(), examples.end(),
              [](const Example& a, const Example& b) { return a.name < b.name; });
    return examples;
}

std::string LeadingComment(const std::string& text) {
    std::string description;
    bool afterRow = false;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string line = Trim(text.substr(start, end - start));
        if (line.empty() || line.front() != ';') {
            break;
        }
        const std::string words = Trim(line.substr(1));
        if (!words.empty()) {
            // An indented comment line is a row of a table: it keeps a line of its own, and the
            // text after the table starts on a new one.
            const bool row = line.compare(1, 2, "  ") == 0;
            description += (description.empty() ? "" : row || afterRow ? "\n" : " ") + words;
            afterRow = row;
        }
        start = end + 1;
    }
    return description;
}

} // namespace ExampleCatalog
