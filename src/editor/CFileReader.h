#pragma once

#include <cstddef>
#include <memory>
#include <string>

// Reads a whole regular file into one block of memory.
class CFileReader {
public:
    enum class Failure { None, CannotOpen, NotAFile, TooLarge, ReadError };

    // False (and nothing kept) when `path` is missing, unreadable, not a regular file or longer
    // than `maxSize` bytes; LastFailure and ErrorNumber then say which.
    bool Read(const std::string& path, std::size_t maxSize);
    Failure LastFailure() const { return failure; }
    // The system's error number of a failed open or read; 0 for the other failures.
    int ErrorNumber() const { return errorNumber; }

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
    Failure failure = Failure::None;
    int errorNumber = 0;
};
