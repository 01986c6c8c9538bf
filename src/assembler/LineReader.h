#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

// Reads a text file in pieces: each piece ends after a line feed or after `maxLength` characters,
// whichever comes first, so a long line arrives as several pieces. Every byte is passed on as it
// is, NUL bytes included. The reader does not own the file.
class LineReader {
public:
    LineReader() = default;
    virtual ~LineReader() = default;

    // Starts reading `file` from its current position; nullptr detaches.
    void Attach(std::FILE* file);

    // The next piece into `piece`; false when nothing is left or the file could not be read (then
    // Failed() tells which).
    bool ReadPiece(std::string& piece, std::size_t maxLength);

    bool Failed() const { return failed; }

private:
    bool Fill();

    std::FILE* file = nullptr;
    std::vector<char> buffer;
    std::size_t begin = 0;
    std::size_t end = 0;
    bool failed = false;
};
