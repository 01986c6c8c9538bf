#pragma once

#include <filesystem>
#include <fstream>
#include <string>

// The source the search benchmarks read: a million lines of about 25 bytes, every tenth of which
// calls the searched routine "delay".
constexpr int searchSourceLines = 1'000'000;
constexpr int searchMatchEvery = 10; // so 100,000 lines hold the searched word

// Writes the source once per program, as `name` in the temporary folder; answers its path.
inline const std::string& SearchSourcePath(const char* name) {
    static const std::string path = [name] {
        const std::string file = (std::filesystem::temp_directory_path() / name).string();
        std::ofstream out(file, std::ios::binary);
        for (int line = 0; line < searchSourceLines; ++line) {
            out << "L" << line
                << (line % searchMatchEvery == 0 ? ": call delay ; wait\r\n"
                                                 : ": mvi a,12H ; load\r\n");
        }
        return file;
    }();
    return path;
}
