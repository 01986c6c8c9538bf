#include "app/GradeCsv.h"

#include "app/GradeReport.h"
#include "app/GradeTable.h"

std::string GradeCsv::Field(const std::string& text) {
    std::string field = text;
    if (!field.empty() && (field[0] == '=' || field[0] == '+' || field[0] == '-' ||
                           field[0] == '@' || field[0] == '\t' || field[0] == '\r')) {
        field.insert(0, 1, '\'');
    }
    if (field.find_first_of(",\"\r\n") == std::string::npos) {
        return field;
    }
    std::string quoted = "\"";
    for (const char c : field) {
        quoted += c == '"' ? "\"\"" : std::string(1, c);
    }
    return quoted + "\"";
}

std::string GradeCsv::Write(const GradeReport& report) {
    std::string csv = "submission,points,max_points\r\n";
    const auto maxPoints = GradeTable::Points(report.MaxPoints());
    for (const auto& submission : report.submissions) {
        csv += Field(submission.name) + "," + GradeTable::Points(submission.Points()) + "," +
               maxPoints + "\r\n";
    }
    return csv;
}
