#pragma once

#include "app/Grader.h"

#include <optional>
#include <string>
#include <vector>

// The command line of zorvan-grade.
struct GradeOptions {
    std::string cases;                    // the CASES file
    std::vector<std::string> submissions; // or, with --merge, the shards' JSON reports
    bool merge = false;
    std::string json;
    std::string junit;
    std::string csv;
    Grader::Shard shard;
    unsigned threads = 0; // 0: every core
    bool quiet = false;   // no table on standard output
    bool help = false;

    // std::nullopt with `error` set for a usage error.
    static std::optional<GradeOptions> Parse(const std::vector<std::string>& arguments,
                                             std::string& error);
    static const char* UsageText();
};
