#pragma once

#include "editor/CTextBuffer.h"
#include "support/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string Line(const CTextBuffer& buffer, int line) {
    return {buffer.LineText(line), static_cast<std::size_t>(buffer.LineLength(line))};
}

// The whole text with "\r\n" between lines, as the views copy it.
inline std::string AllText(const CTextBuffer& buffer) {
    std::string text;
    const int last = buffer.LineCount() - 1;
    buffer.CopyRange(0, 0, last, buffer.LineLength(last), text);
    return text;
}
