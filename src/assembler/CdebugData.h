#pragma once

#include "machine/ErrorCodes.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

// The line map: which source line (1-based) each assembled instruction came from, and back.
//
// The assembler writes it while compiling as a ".debug" text file beside the source: one record
// "ADDRESS LINE " (two decimal numbers, each followed by one blank) per instruction, in the order
// the instructions were assembled, with no line breaks, header or terminator. The source view
// reads it back with Open(path, "rt") and Load(), then looks lines and addresses up in both
// directions; a later record replaces an earlier one with the same address or line.
//
// Writing and loading happen on one thread; after Load the look-ups only read, so several threads
// may look up at once.
class CdebugData {
public:
    CdebugData() = default;
    CdebugData(const CdebugData&) = delete;
    CdebugData& operator=(const CdebugData&) = delete;
    virtual ~CdebugData();

    // Close(), then open `path` with `mode` ("wt" to write, "rt" to read). Throws CMyException
    // code 19 for an empty path and code 20 when the file cannot be opened (a directory cannot).
    void Open(const std::string& path, std::string_view mode);
    // Closes the file if one is open and empties both maps.
    void Close();

    // Appends one record to the file opened for writing.
    void WriteRecord(std::uint16_t address, int line);
    // True when a record could not be written or the written file could not be closed since the
    // last Open: the file on disk is then incomplete.
    bool WriteFailed() const { return writeFailed; }

    // Reads the records of the open file into the maps, stopping at the end of the file or at the
    // first pair that is not two decimal numbers (a damaged file loads up to the damage).
    // Addresses are taken modulo 65536.
    void Load();

    // The line of `address`; throws CMyException (flag 0, code 31) when there is none.
    int LineOfAddress(std::uint16_t address) const;
    // The line of `address`, or nothing; never throws.
    std::optional<int> FindLineOfAddress(std::uint16_t address) const;
    // The address of `line`; throws CMyException (flag 0, code 31) when there is none.
    std::uint16_t AddressOfLine(int line) const;

    // True when neither direction holds anything.
    bool IsEmpty() const { return lineOfAddress.empty() && addressOfLine.empty(); }

private:
    std::FILE* file = nullptr;
    bool writing = false;
    bool writeFailed = false;
    std::unordered_map<std::uint16_t, int> lineOfAddress;
    std::unordered_map<int, std::uint16_t> addressOfLine;
};
