#pragma once

#include "machine/ErrorCodes.h"

#include <cstdint>
#include <cstdio>
#include <memory>
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
// The file is written like a saved source: into a new file in the same folder, renamed over the
// old name when it is closed, so a link at that name is replaced and never followed, and a reader
// sees the old or the new records, never half of them. Only a regular file is read back, and the
// opening never waits on what stands at the path.
//
// Writing and loading happen on one thread; after Load the look-ups only read, so several threads
// may look up at once.
class CAtomicFileWriter;

class CdebugData {
public:
    CdebugData();
    CdebugData(const CdebugData&) = delete;
    CdebugData& operator=(const CdebugData&) = delete;
    virtual ~CdebugData();

    // Close(), then open `path` with `mode` ("wt" to write, "rt" to read). Throws CMyException
    // code 19 for an empty path and code 20 when the file cannot be opened, with the reason
    // after the path: anything but a regular file (a folder, a named pipe, a device, a socket)
    // cannot, nor a file this user may not write.
    void Open(const std::string& path, std::string_view mode);
    // Closes the file if one is open and empties both maps. A file opened for writing is put in
    // place now.
    void Close();

    // Appends one record to the file opened for writing.
    void WriteRecord(std::uint16_t address, int line);
    // True when a record could not be written or the written file could not be put in place
    // since the last Open: the old file, if any, is then still there as it was.
    bool WriteFailed() const { return writeFailed; }
    // Why the last Open or the writing failed, as the system tells it; empty when nothing did.
    const std::string& Problem() const { return problem; }
    // Whether the last Open for writing failed only because this user may not write there (the
    // folder or the old file is read-only): the records could go to another folder.
    bool WriteNotPermitted() const { return writeNotPermitted; }

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
    [[noreturn]] void ThrowCannotOpen(const std::string& path) const;

    std::FILE* file = nullptr;                 // being read
    std::unique_ptr<CAtomicFileWriter> writer; // being written
    std::string problem;
    bool writeFailed = false;
    bool writeNotPermitted = false;
    std::unordered_map<std::uint16_t, int> lineOfAddress;
    std::unordered_map<int, std::uint16_t> addressOfLine;
};
