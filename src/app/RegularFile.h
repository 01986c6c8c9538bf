#pragma once

#include <cstddef>
#include <string>

// Reads a file the user named, safely: the open never blocks (a FIFO or a device at the path is
// refused, not waited on), and only regular files are read.
class RegularFile {
public:
    static constexpr std::size_t largest = 64u << 20;

    // The whole content of `path` into `content`; false with `problem` set ("not a regular
    // file", the system's reason, or "larger than 64 MiB").
    static bool Read(const std::string& path, std::string& content, std::string& problem);
};
