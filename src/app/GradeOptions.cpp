#include "app/GradeOptions.h"

#include <CLI/CLI.hpp>
#include <charconv>

namespace {

constexpr unsigned mostThreads = 1024;

// "I/N" with 1 <= I <= N.
std::optional<Grader::Shard> ParseShard(const std::string& text) {
    const auto slash = text.find('/');
    if (slash == std::string::npos) {
        return std::nullopt;
    }
    Grader::Shard shard;
    const auto* end = text.data() + text.size();
    const auto index = std::from_chars(text.data(), text.data() + slash, shard.index);
    const auto count = std::from_chars(text.data() + slash + 1, end, shard.count);
    if (slash == 0 || index.ec != std::errc() || index.ptr != text.data() + slash ||
        count.ec != std::errc() || count.ptr != end || shard.index < 1 ||
        shard.index > shard.count) {
        return std::nullopt;
    }
    return shard;
}

} // namespace

std::optional<GradeOptions> GradeOptions::Parse(const std::vector<std::string>& arguments,
                                                std::string& error) {
    GradeOptions options;
    std::vector<std::string> positional;
    std::string shard;
    CLI::App app;
    app.set_help_flag();
    app.add_flag("-h,--help", options.help);
    app.add_flag("--merge", options.merge);
    app.add_flag("-q,--quiet", options.quiet);
    app.add_option("--json", options.json);
    app.add_option("--junit", options.junit);
    app.add_option("--csv", options.csv);
    app.add_option("--shard", shard);
    app.add_option("-j,--threads", options.threads)->check(CLI::Range(1u, mostThreads));
    app.add_option("arguments", positional);
    try {
        std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
        app.parse(reversed);
    } catch (const CLI::Error& mistake) {
        error = mistake.what();
        return std::nullopt;
    }
    if (options.help) {
        return options;
    }
    if (!shard.empty()) {
        const auto parsed = ParseShard(shard);
        if (!parsed || options.merge) {
            error = options.merge ? "--shard and --merge do not go together"
                                  : "--shard needs I/N with 1 <= I <= N, not '" + shard + "'";
            return std::nullopt;
        }
        options.shard = *parsed;
    }
    if (options.merge) {
        if (positional.empty()) {
            error = "--merge needs the JSON reports to merge";
            return std::nullopt;
        }
        options.submissions = positional;
        return options;
    }
    if (positional.size() < 2) {
        error = positional.empty() ? "no CASES file given" : "no submission given";
        return std::nullopt;
    }
    options.cases = positional.front();
    options.submissions.assign(positional.begin() + 1, positional.end());
    return options;
}

const char* GradeOptions::UsageText() {
    return R"(Usage: zorvan-grade [options] CASES SUBMISSION...
       zorvan-grade --merge [options] REPORT.json...
Runs every test case of the TOML file CASES against every submission (an .85 file, or a folder
with the main file CASES names or a single .85 file) on every core, and prints each submission's
points and, for each failed case, the first difference. Nothing is written beside the
submissions; every device is simulated.

Options:
  --json FILE     also write the whole report as JSON (what --merge reads)
  --junit FILE    also write the report as JUnit XML, for CI dashboards
  --csv FILE      also write the points as CSV (submission,points,max_points)
  --shard I/N     grade only every N-th submission, starting with the I-th (1 <= I <= N)
  --merge         join the JSON reports of the shards given instead of grading
  -j, --threads N run N machines at a time (default: one per core)
  -q, --quiet     print no table (the report files and the exit status remain)
  -h, --help      show this text

A progress bar goes to standard error when it is a terminal and grading takes more than a
second. The CASES format is described in the user guide (Help/grading.html).

Exit status: 0 when every case of every submission passed, 1 when any failed, 2 for a bad CASES
file (FILE:LINE: reason) or reports that cannot be merged, 64 for a usage error, 74 when a
report could not be written.
)";
}
