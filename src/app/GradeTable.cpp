#include "app/GradeTable.h"

#include "app/GradeReport.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr std::size_t widestName = 40;

} // namespace

std::string GradeTable::Points(double points) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", points);
    return text;
}

std::string GradeTable::Write(const GradeReport& report) {
    const auto maxPoints = Points(report.MaxPoints());
    std::size_t width = 10;
    for (const auto& submission : report.submissions) {
        width = std::max(width, std::min(submission.name.size(), widestName));
    }
    std::string table;
    if (!report.title.empty()) {
        table += report.title + "\n";
    }
    char line[512];
    std::snprintf(line, sizeof line, "%-*s %9s %7s\n", static_cast<int>(width), "SUBMISSION",
                  "POINTS", "CASES");
    table += line;
    std::size_t passedAll = 0;
    for (const auto& submission : report.submissions) {
        const auto points = Points(submission.Points()) + "/" + maxPoints;
        const auto cases =
            std::to_string(submission.Passed()) + "/" + std::to_string(submission.cases.size());
        std::snprintf(line, sizeof line, "%-*s %9s %7s\n", static_cast<int>(width),
                      submission.name.c_str(), points.c_str(), cases.c_str());
        table += line;
        if (!submission.error.empty()) {
            table += "  not run: " + submission.error + "\n";
            continue;
        }
        if (submission.Passed() == submission.cases.size()) {
            ++passedAll;
        }
        for (std::size_t i = 0; i < submission.cases.size(); ++i) {
            const auto& result = submission.cases[i];
            if (!result.passed) {
                table += "  FAIL " + report.cases[i].name + ": " + result.difference + "\n";
            }
        }
    }
    table += std::to_string(report.submissions.size()) + " submissions, " +
             std::to_string(report.cases.size()) + " cases, " + maxPoints +
             " points: " + std::to_string(passedAll) + " passed every case\n";
    return table;
}
