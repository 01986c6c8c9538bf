#pragma once

#include <string>

struct GradeReport;

// The report as JUnit XML for CI dashboards: one test suite per submission, one test case per
// case; a difference is a <failure>, a program that did not run an <error>. The points are
// properties of each suite.
class GradeJunit {
public:
    static std::string Write(const GradeReport& report);
    // `text` fit for an XML attribute or text: markup characters escaped, bytes that are no
    // valid UTF-8 and control characters XML 1.0 cannot hold replaced by '?'.
    static std::string Escape(const std::string& text);
};
