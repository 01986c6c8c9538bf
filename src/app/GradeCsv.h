#pragma once

#include <string>

struct GradeReport;

// The report as a gradebook column: "submission,points,max_points", one row per submission.
class GradeCsv {
public:
    static std::string Write(const GradeReport& report);
    // One field: quoted when it holds a comma, a quote or a line break; a leading = + - @ is
    // preceded by ' so that a spreadsheet never takes a file name for a formula.
    static std::string Field(const std::string& text);
};
