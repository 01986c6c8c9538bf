#pragma once

#include <cstddef>
#include <memory>
#include <string>

// Reads a whole regular file into one block of memory.
class CFileReader {
public:
    // False (and nothing kept) when `path` is missing, unreadable, not a regular file or longer
    // than `maxSize` bytes.
    bool Read(const std::string& path, std::size_t maxSize);

    const char* Data() const { return data.get(); }
    std::size_t Size() const { return size; }
    // Whether the user may write the file.
    bool IsWritable() const { return writable; }
    // Hands the block over to the caller.
    std::unique_ptr<char[]> TakeData() { return std::move(data); }

private:
    std::unique_ptr<char[]> data;
    std::size_t size = 0;
    bool writable = false;
};
