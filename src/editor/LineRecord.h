#pragma once

#include <cstdint>
#include <string_view>

// One line of a text buffer. `chars` holds the line without its line end and without a
// terminating zero. A line with `capacity` 0 owns no block: its characters (if any) lie in the
// block its file was loaded into, which the buffer keeps for as long as such lines exist. A line
// that changes first gets a block of its own, sized in steps of 16 characters. The buffer frees
// the blocks (Free); copies of a record share its block.
struct LineRecord {
    char* chars = nullptr;
    int32_t length = 0;
    int32_t capacity = 0;
    uint32_t flags = 0;

    std::string_view View() const { return {chars, static_cast<std::size_t>(length)}; }
    // Frees the line's own block and empties the line; the flags stay.
    void Free();
    // `text` may lie in this line's block.
    void Append(std::string_view text);
    void Insert(int at, std::string_view text);
    void Erase(int from, int to);

private:
    // Makes sure the line owns a block for `needed` characters, keeping its contents.
    void Reserve(int needed);
};
