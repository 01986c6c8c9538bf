// Any bytes as a .debug file: Load reads what it can and stops at damage; the look-ups either
// answer or throw code 31.
#include "AssemblerCodes.h"
#include "assembler/CdebugData.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

std::string DebugPath() {
    static const std::string path =
        (std::filesystem::temp_directory_path() /
         ("zorvan-fuzz-debug-" + std::to_string(::getpid()) + ".85.debug"))
            .string();
    return path;
}

void RemoveFile() {
    std::remove(DebugPath().c_str());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Built before the exit handler is registered, so it is destroyed after the handler ran.
    DebugPath();
    std::atexit(RemoveFile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(DebugPath().c_str(), "wb");
    if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
        std::abort();
    }
    CdebugData map;
    map.Open(DebugPath(), "rt");
    map.Load();
    for (int address : {0, 1, 16, 255, 256, 65535}) {
        const auto wrapped = static_cast<std::uint16_t>(address);
        const auto line = map.FindLineOfAddress(wrapped);
        try {
            // The two look-ups of an address agree, and a found line leads back to an address.
            if (map.LineOfAddress(wrapped) != line.value_or(-1)) {
                std::abort();
            }
            map.AddressOfLine(*line);
        } catch (const CMyException& error) {
            CheckAssemblerCode(error);
            if (error.GetCode() != 31 || line.has_value()) {
                std::abort();
            }
        }
    }
    map.Close();
    if (!map.IsEmpty()) {
        std::abort();
    }
    return 0;
}
