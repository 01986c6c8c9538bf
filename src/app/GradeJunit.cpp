#include "app/GradeJunit.h"

#include "app/GradeReport.h"

#include <cstdio>

namespace {

// The length of the valid UTF-8 sequence at `at`, or 0.
std::size_t Utf8Length(const std::string& text, std::size_t at) {
    const auto byte = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    unsigned lowest = 0;
    if (byte >= 0xC2 && byte <= 0xDF) {
        length = 2;
        lowest = 0x80;
    } else if (byte >= 0xE0 && byte <= 0xEF) {
        length = 3;
        lowest = 0x800;
    } else if (byte >= 0xF0 && byte <= 0xF4) {
        length = 4;
        lowest = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size()) {
        return 0;
    }
    unsigned code = byte & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        code = code << 6 | (next & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    const bool notCharacter = code == 0xFFFE || code == 0xFFFF;
    return code < lowest || code > 0x10FFFF || surrogate || notCharacter ? 0 : length;
}

std::string Points(double points) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", points);
    return text;
}

} // namespace

std::string GradeJunit::Escape(const std::string& text) {
    std::string escaped;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            const auto length = Utf8Length(text, at);
            if (length == 0) {
                escaped += '?';
            } else {
                escaped += text.substr(at, length);
                at += length - 1;
            }
        } else if (c == '&') {
            escaped += "&amp;";
        } else if (c == '<') {
            escaped += "&lt;";
        } else if (c == '>') {
            escaped += "&gt;";
        } else if (c == '"') {
            escaped += "&quot;";
        } else if (c == '\n' || c == '\r' || c == '\t') {
            char reference[8];
            std::snprintf(reference, sizeof reference, "&#%d;", byte);
            escaped += reference;
        } else if (byte < 0x20 || byte == 0x7F) {
            escaped += '?';
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::string GradeJunit::Write(const GradeReport& report) {
    std::size_t tests = 0;
    std::size_t failures = 0;
    std::size_t errors = 0;
    for (const auto& submission : report.submissions) {
        tests += submission.cases.size();
        (submission.error.empty() ? failures : errors) +=
            submission.cases.size() - submission.Passed();
    }
    const auto title = report.title.empty() ? std::string("zorvan-grade") : report.title;
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    xml += "<testsuites name=\"" + Escape(title) + "\" tests=\"" + std::to_string(tests) +
           "\" failures=\"" + std::to_string(failures) + "\" errors=\"" + std::to_string(errors) +
           "\">\n";
    for (const auto& submission : report.submissions) {
        const auto name = Escape(submission.name);
        const bool ran = submission.error.empty();
        const auto notPassed = std::to_string(submission.cases.size() - submission.Passed());
        xml += "  <testsuite name=\"" + name + "\" tests=\"" +
               std::to_string(submission.cases.size()) + "\" failures=\"" +
               (ran ? notPassed : "0") + "\" errors=\"" + (ran ? "0" : notPassed) + "\">\n";
        xml += "    <properties>\n";
        xml += "      <property name=\"points\" value=\"" + Points(submission.Points()) + "\"/>\n";
        xml +=
            "      <property name=\"max_points\" value=\"" + Points(report.MaxPoints()) + "\"/>\n";
        xml += "    </properties>\n";
        for (std::size_t i = 0; i < submission.cases.size(); ++i) {
            const auto& result = submission.cases[i];
            xml += "    <testcase name=\"" + Escape(report.cases[i].name) + "\" classname=\"" +
                   name + "\"";
            if (result.passed) {
                xml += "/>\n";
                continue;
            }
            const char* kind = ran ? "failure" : "error";
            xml += ">\n      <" + std::string(kind) + " message=\"" + Escape(result.difference) +
                   "\" type=\"" + (ran ? "difference" : "not run") + "\">" +
                   Escape(result.difference) + "</" + kind + ">\n    </testcase>\n";
        }
        xml += "  </testsuite>\n";
    }
    xml += "</testsuites>\n";
    return xml;
}
