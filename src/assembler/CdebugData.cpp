#include "assembler/CdebugData.h"

#include "assembler/SourceChar.h"
#include "machine/CMyException.h"

#include <array>
#include <charconv>
#include <filesystem>
#include <limits>
#include <system_error>

namespace {

// Reads the decimal numbers of a record file one by one, as "%d" would: white space, an optional
// sign, at least one digit. Numbers that do not fit a 32-bit int count as damage.
class NumberReader {
public:
    explicit NumberReader(std::FILE* file_) : file(file_) {}

    std::optional<int> Next() {
        int c = Peek();
        while (c != EOF && SourceChar::IsSpace(static_cast<char>(c))) {
            ++begin;
            c = Peek();
        }
        bool negative = false;
        if (c == '+' || c == '-') {
            negative = c == '-';
            ++begin;
            c = Peek();
        }
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        long long value = 0;
        while (c >= '0' && c <= '9') {
            value = value * 10 + (c - '0');
            if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1) {
                return std::nullopt;
            }
            ++begin;
            c = Peek();
        }
        value = negative ? -value : value;
        if (value > std::numeric_limits<int>::max()) {
            return std::nullopt;
        }
        return static_cast<int>(value);
    }

private:
    // The next character without taking it; EOF at the end of the file or on a read error.
    int Peek() {
        if (begin == end) {
            begin = 0;
            end = std::fread(buffer.data(), 1, buffer.size(), file);
            if (end == 0) {
                return EOF;
            }
        }
        return static_cast<unsigned char>(buffer[begin]);
    }

    std::FILE* file;
    std::array<char, 4096> buffer; // only the part fread filled is read
    std::size_t begin = 0;
    std::size_t end = 0;
};

// fopen takes the "t" of a text mode on some platforms only; text and binary are the same here.
std::string PlatformMode(std::string_view mode) {
    std::string result;
    for (char c : mode) {
        if (c != 't') {
            result += c;
        }
    }
    return result;
}

} // namespace

CdebugData::~CdebugData() {
    Close();
}

void CdebugData::Open(const std::string& path, std::string_view mode) {
    Close();
    writeFailed = false;
    if (path.empty()) {
        throw CMyException(1, LineMapError::EmptyFileName, "CdebugData::Empty file name");
    }
    // A NUL inside the path would make the system open a shorter path.
    std::error_code error;
    if (path.find('\0') == std::string::npos && !std::filesystem::is_directory(path, error)) {
        file = std::fopen(path.c_str(), PlatformMode(mode).c_str());
    }
    if (file == nullptr) {
        throw CMyException(1, LineMapError::CannotOpen,
                           "CdebugData::Error could not open debug info file <" + path + ">");
    }
    writing = mode.find_first_of("wa+") != std::string_view::npos;
}

void CdebugData::Close() {
    if (file != nullptr) {
        if (std::fclose(file) != 0 && writing) {
            writeFailed = true;
        }
        file = nullptr;
    }
    writing = false;
    lineOfAddress.clear();
    addressOfLine.clear();
}

void CdebugData::WriteRecord(std::uint16_t address, int line) {
    if (file == nullptr) {
        writeFailed = true;
        return;
    }
    char record[32];
    char* at = std::to_chars(record, record + sizeof record, address).ptr;
    *at++ = ' ';
    at = std::to_chars(at, record + sizeof record, line).ptr;
    *at++ = ' ';
    const auto length = static_cast<std::size_t>(at - record);
    if (std::fwrite(record, 1, length, file) != length) {
        writeFailed = true;
    }
}

void CdebugData::Load() {
    if (file == nullptr) {
        return;
    }
    NumberReader numbers(file);
    for (;;) {
        const std::optional<int> address = numbers.Next();
        if (!address) {
            break;
        }
        const std::optional<int> line = numbers.Next();
        if (!line) {
            break;
        }
        const auto wrapped = static_cast<std::uint16_t>(*address);
        lineOfAddress[wrapped] = *line;
        addressOfLine[*line] = wrapped;
    }
}

int CdebugData::LineOfAddress(std::uint16_t address) const {
    const auto found = lineOfAddress.find(address);
    if (found == lineOfAddress.end()) {
        throw CMyException(0, LineMapError::NoSourceLine, "No equivalent source line");
    }
    return found->second;
}

std::optional<int> CdebugData::FindLineOfAddress(std::uint16_t address) const {
    const auto found = lineOfAddress.find(address);
    if (found == lineOfAddress.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::uint16_t CdebugData::AddressOfLine(int line) const {
    const auto found = addressOfLine.find(line);
    if (found == addressOfLine.end()) {
        throw CMyException(0, LineMapError::NoSourceLine,
                           "Source Line " + std::to_string(line) +
                               " has No equivalent 8085 memory address");
    }
    return found->second;
}
