#pragma once

#include "app/GradeCase.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// zorvan-grade's CASES file: a TOML file with the assignment's title, the main file of folder
// submissions, default limits and the [[case]] tables (see GradeCase). Help/grading.html shows
// every key.
struct GradeCases {
    // A CASES file that cannot be used; what() is "FILE:LINE: reason" (no line when the whole
    // file is at fault).
    class Error : public std::runtime_error {
    public:
        Error(const std::string& file, int line, const std::string& reason);
    };

    static constexpr std::uint64_t defaultStepLimit = 10'000'000;
    static constexpr double defaultTimeLimit = 10;

    std::string file;
    std::string title;
    std::string main; // the file to run in a folder submission; empty: the folder's only .85 file
    std::vector<GradeCase> cases;

    double MaxPoints() const;

    // Reads and checks the file at `path`; throws Error.
    static GradeCases Load(const std::string& path);
    // Checks `text` as the content of the file `path`; throws Error.
    static GradeCases Parse(std::string_view text, const std::string& path);
};
