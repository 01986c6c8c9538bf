#pragma once

#include <string>
#include <string_view>

struct GradeReport;

// zorvan-grade's JSON report: everything in the report, so that the reports of shards can be
// read back and merged (--merge).
class GradeJson {
public:
    static std::string Write(const GradeReport& report);
    // False with `error` set when `text` is no report of zorvan-grade.
    static bool Read(std::string_view text, GradeReport& report, std::string& error);
};
