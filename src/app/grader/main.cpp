// zorvan-grade: grades a class's 8085 programs against the test cases of a CASES file.

#include "app/GradeCases.h"
#include "app/GradeCsv.h"
#include "app/GradeJson.h"
#include "app/GradeJunit.h"
#include "app/GradeOptions.h"
#include "app/GradeTable.h"
#include "app/Grader.h"
#include "app/ProgressBar.h"
#include "app/StandardStreams.h"
#include "app/WholeFile.h"
#include "files/CAtomicFileWriter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

const std::string program = "zorvan-grade";
constexpr int ExitFailed = 1;
constexpr int ExitBadInput = 2;
constexpr std::size_t barWidth = 30;

// The bar on standard error while grading lasts, when that is a terminal; gone at the end.
class TerminalProgress {
public:
    TerminalProgress() : terminal(isatty(STDERR_FILENO) != 0) {}
    ~TerminalProgress() {
        if (shown) {
            std::fprintf(stderr, "\r%*s\r", static_cast<int>(barWidth + 30), "");
        }
    }
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    void Show(std::size_t done, std::size_t total) {
        if (terminal && ProgressBar::ShouldShow(std::chrono::steady_clock::now() - start)) {
            std::fprintf(stderr, "\r%s", ProgressBar::Text(done, total, barWidth).c_str());
            std::fflush(stderr);
            shown = true;
        }
    }

private:
    const bool terminal;
    const std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    bool shown = false;
};

bool WriteReport(const std::string& path, const std::string& content) {
    if (path.empty()) {
        return true;
    }
    CAtomicFileWriter writer(path);
    if (writer.Open() && writer.Write(content) && writer.Commit()) {
        return true;
    }
    std::fprintf(stderr, "%s: %s could not be written: %s\n", program.c_str(), path.c_str(),
                 writer.Problem().empty() ? "write error" : writer.Problem().c_str());
    return false;
}

// The shards' reports as one; false after saying why.
bool MergeReports(const std::vector<std::string>& files, GradeReport& merged) {
    std::vector<GradeReport> shards;
    for (const auto& file : files) {
        std::string text;
        std::string problem;
        GradeReport shard;
        if (!WholeFile::Read(file, text, problem) || !GradeJson::Read(text, shard, problem)) {
            std::fprintf(stderr, "%s: %s\n", file.c_str(), problem.c_str());
            return false;
        }
        shards.push_back(std::move(shard));
    }
    std::string problem;
    if (!GradeReport::Merge(shards, merged, problem)) {
        std::fprintf(stderr, "%s: %s\n", program.c_str(), problem.c_str());
        return false;
    }
    return true;
}

bool Grade(const GradeOptions& options, GradeReport& report) {
    GradeCases cases;
    try {
        cases = GradeCases::Load(options.cases);
    } catch (const GradeCases::Error& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return false;
    }
    TerminalProgress progress;
    report = Grader::Grade(
        cases, options.submissions, options.shard, options.threads,
        [&progress](std::size_t done, std::size_t total) { progress.Show(done, total); });
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const bool outputClosed = StandardStreams::ReopenClosed();
    std::string problem;
    const auto options =
        GradeOptions::Parse(std::vector<std::string>(argv + 1, argv + argc), problem);
    if (!options) {
        StandardStreams::UsageError(program, problem);
        return StandardStreams::ExitUsage;
    }
    if (options->help) {
        std::fputs(GradeOptions::UsageText(), stdout);
        return StandardStreams::CheckReport(program, 0, outputClosed);
    }
    GradeReport report;
    if (!(options->merge ? MergeReports(options->submissions, report) : Grade(*options, report))) {
        return ExitBadInput;
    }
    int status = report.AllPassed() ? 0 : ExitFailed;
    const bool written = WriteReport(options->json, GradeJson::Write(report)) &
                         WriteReport(options->junit, GradeJunit::Write(report)) &
                         WriteReport(options->csv, GradeCsv::Write(report));
    if (!written) {
        status = StandardStreams::ExitReportLost;
    }
    if (!options->quiet) {
        std::fputs(GradeTable::Write(report).c_str(), stdout);
    }
    return StandardStreams::CheckReport(program, status, outputClosed && !options->quiet);
}
