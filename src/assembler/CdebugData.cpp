#include "assembler/CdebugData.h"

#include "assembler/SourceChar.h"
#include "files/CAtomicFileWriter.h"
#include "files/RegularFile.h"
#include "machine/CMyException.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <limits>
#include <unistd.h>

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

} // namespace

CdebugData::CdebugData() = default;

CdebugData::~CdebugData() {
    Close();
}

void CdebugData::ThrowCannotOpen(const std::string& path) const {
    std::string message = "CdebugData::Error could not open debug info file <" + path + ">";
    if (!problem.empty()) {
        message += ": " + problem;
    }
    throw CMyException(1, LineMapError::CannotOpen, message);
}

void CdebugData::Open(const std::string& path, std::string_view mode) {
    Close();
    writeFailed = false;
    writeNotPermitted = false;
    problem.clear();
    if (path.empty()) {
        throw CMyException(1, LineMapError::EmptyFileName, "CdebugData::Empty file name");
    }
    if (mode.find_first_of("wa+") != std::string_view::npos) {
        // Made anew at every compile, so not flushed to the disk before the rename.
        writer = std::make_unique<CAtomicFileWriter>(
            path, CAtomicFileWriter::Options{.replaceLink = true, .durable = false});
        if (!writer->Open()) {
            problem = writer->Problem();
            writeNotPermitted = writer->NotPermitted();
            writer.reset();
            ThrowCannotOpen(path);
        }
        return;
    }
    const int fd = RegularFile::OpenForReading(path, problem);
    if (fd >= 0) {
        file = fdopen(fd, "r");
        if (file == nullptr) {
            problem = std::strerror(errno);
            close(fd);
        }
    }
    if (file == nullptr) {
        ThrowCannotOpen(path);
    }
}

void CdebugData::Close() {
    if (file != nullptr) {
        std::fclose(file);
        file = nullptr;
    }
    if (writer) {
        if (!writer->Commit()) {
            writeFailed = true;
            problem = writer->Problem();
            // Half a line map helps nobody: the old file stays, the new one goes.
            if (!writer->KeptTemporaryPath().empty()) {
                unlink(writer->KeptTemporaryPath().c_str());
            }
        }
        writer.reset();
    }
    lineOfAddress.clear();
    addressOfLine.clear();
}

void CdebugData::WriteRecord(std::uint16_t address, int line) {
    if (!writer) {
        writeFailed = true;
        return;
    }
    char record[32];
    char* at = std::to_chars(record, record + sizeof record, address).ptr;
    *at++ = ' ';
    at = std::to_chars(at, record + sizeof record, line).ptr;
    *at++ = ' ';
    const auto length = static_cast<std::size_t>(at - record);
    if (!writer->Write(std::string_view(record, length)) && !writeFailed) {
        writeFailed = true;
        problem = writer->Problem();
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
