#include "assembler/LineReader.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {
constexpr std::size_t chunkSize = 64 * 1024;
constexpr std::size_t lineEndDetectionSize = 32 * 1024;
} // namespace

void LineReader::Attach(std::FILE* file_) {
    file = file_;
    begin = end = 0;
    failed = false;
    started = false;
    lineEnd = '\n';
}

bool LineReader::Fill() {
    if (file == nullptr || failed) {
        return false;
    }
    buffer.resize(chunkSize);
    begin = 0;
    end = std::fread(buffer.data(), 1, buffer.size(), file);
    if (end == 0 && std::ferror(file) != 0) {
        failed = true;
    }
    if (!started) {
        started = true;
        const std::string_view first(buffer.data(), std::min(end, lineEndDetectionSize));
        if (first.find('\n') == std::string_view::npos &&
            first.find('\r') != std::string_view::npos) {
            lineEnd = '\r';
        }
    }
    return end > 0;
}

bool LineReader::ReadPiece(std::string& piece, std::size_t maxLength) {
    piece.clear();
    while (piece.size() < maxLength) {
        if (begin == end && !Fill()) {
            break;
        }
        const std::size_t wanted = std::min(end - begin, maxLength - piece.size());
        const char* from = buffer.data() + begin;
        const char* lineFeed = static_cast<const char*>(std::memchr(from, lineEnd, wanted));
        const std::size_t taken =
            lineFeed != nullptr ? static_cast<std::size_t>(lineFeed - from) + 1 : wanted;
        piece.append(from, taken);
        begin += taken;
        if (lineFeed != nullptr) {
            break;
        }
    }
    return !piece.empty();
}
