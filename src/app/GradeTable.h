#pragma once

#include <string>

struct GradeReport;

// The report as zorvan-grade prints it on the terminal: each submission's points and, for each
// case it failed, the first difference.
class GradeTable {
public:
    static std::string Write(const GradeReport& report);
    // The points as people write them: 2, 2.5.
    static std::string Points(double points);
};
