#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

// Reads a text file in pieces: each piece ends after a line end or after `maxLength` characters,
// whichever comes first, so a long line arrives as several pieces. Every byte is passed on as it
// is, NUL bytes included. The reader does not own the file.
//
// Lines end in a line feed, or in a carriage return when the file's first 32 KB hold a carriage
// return and no line feed: the editor loads and saves such files as lines ending in CR, and the
// line numbers of errors and of the line map must be the lines the editor shows.
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
    bool started = false;
    char lineEnd = '\n';
};
