#pragma once

#include <cstddef>
#include <string>

// Reads the whole of a file the user named: the open never blocks (a named pipe or a device at the
// path is refused, not waited on), only regular files are read, and at most 64 MiB.
class WholeFile {
public:
    static constexpr std::size_t largest = 64u << 20;

    // The content of `path` into `content`; false with `problem` set (what stands at the path
    // instead of a file, the system's reason, or "larger than 64 MiB").
    static bool Read(const std::string& path, std::string& content, std::string& problem);
};
