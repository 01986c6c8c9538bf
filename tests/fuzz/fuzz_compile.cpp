// Any bytes as a source file: Compile must end in success or a CMyException with an assembler
// code, leave no file open, and write a .debug file that loads back.
#include "AssemblerCodes.h"
#include "assembler/CParse.h"
#include "assembler/CdebugData.h"
#include "machine/C8085Object.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

std::string SourcePath() {
    static const std::string path = (std::filesystem::temp_directory_path() /
                                     ("zorvan-fuzz-compile-" + std::to_string(::getpid()) + ".85"))
                                        .string();
    return path;
}

void RemoveFiles() {
    std::remove(SourcePath().c_str());
    std::remove((SourcePath() + ".debug").c_str());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Built before the exit handler is registered, so it is destroyed after the handler ran.
    SourcePath();
    std::atexit(RemoveFiles);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(SourcePath().c_str(), "wb");
    if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
        std::abort();
    }
    static C8085Object machine;
    static CParse parser;
    parser.Attach(machine);
    machine.Reset();
    bool compiled = false;
    try {
        compiled = parser.Compile(SourcePath()) == 0;
    } catch (const CMyException& error) {
        CheckAssemblerCode(error);
        if (error.GetCode() == 19 || parser.GetLastError().GetMessage() != error.GetMessage()) {
            std::abort();
        }
    }
    // The .debug file was closed and is complete: it loads, and every address it names maps to
    // a line.
    CdebugData map;
    map.Open(parser.GetDebugPath(), "rt");
    map.Load();
    if (compiled && size == 0 && !map.IsEmpty()) {
        std::abort();
    }
    std::FILE* records = std::fopen(parser.GetDebugPath().c_str(), "r");
    if (records == nullptr) {
        std::abort();
    }
    unsigned address = 0;
    int line = 0;
    while (std::fscanf(records, "%u %d", &address, &line) == 2) {
        if (address > 0xFFFF || line < 1 ||
            !map.FindLineOfAddress(static_cast<std::uint16_t>(address)).has_value()) {
            std::abort();
        }
    }
    const bool readToTheEnd = std::feof(records) != 0;
    std::fclose(records);
    if (!readToTheEnd) {
        std::abort();
    }
    return 0;
}
