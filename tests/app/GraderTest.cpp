#include "app/Grader.h"

#include "../machine/PseudoTerminal.h"
#include "../support/TempFolder.h"
#include "app/GradeCases.h"
#include "app/GradeCsv.h"
#include "app/GradeJson.h"
#include "app/GradeJunit.h"
#include "app/GradeTable.h"
#include "app/ProgressBar.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <sys/wait.h>

// zorvan-grade over a class: submissions as files and folders, many cases at the same time on
// several threads without sharing state, nothing written beside the submissions, the reports
// (JUnit read back by an XML parser), shards that merge to the unsharded report, and the program's
// exit statuses.

namespace {

namespace fs = std::filesystem;

// Adds 1 to the byte at 0x2000 and to port 0x10, and halts: a case that started from anything
// but its own fresh machine would see a count above its preset + 1.
const char* const counter = R"(
        lda 0x2000
        inr a
        sta 0x2000
        in 0x10
        inr a
        out 0x10
        hlt
)";

const char* const countCases = R"(title = "Counting"
[[case]]
name = "from zero"
points = 2
[case.expect]
stop = "halt"
memory = { 0x2000 = 1 }
ports = { 0x10 = 1 }

[[case]]
name = "from 41"
[case.preset]
memory = { 0x2000 = 41 }
ports = { 0x10 = 7 }
[case.expect]
memory = { 0x2000 = 42 }
ports = { 0x10 = 8 }
)";

class GraderTest : public ::testing::Test {
protected:
    GraderTest() {
        fs::create_directories(folder.path / "class" / "dana");
        fs::create_directories(folder.path / "class" / "erin");
        folder.Write("class/alice.85", counter);
        folder.Write("class/bob.85",
                     "  mvi a, 1\n  sta 0x2000\n  out 0x10\n  hlt\n"); // fails "from 41"
        folder.Write("class/carol.85", "  mvo a\n");                   // does not assemble
        folder.Write("class/dana/count.85", counter);                  // the folder's only file
        folder.Write("class/erin/a.85", counter);                      // two files, no main
        folder.Write("class/erin/b.85", counter);
    }

    std::vector<std::string> Class() const {
        std::vector<std::string> submissions;
        for (const char* name : {"alice.85", "bob.85", "carol.85", "dana", "erin", "frank.85"}) {
            submissions.push_back((folder.path / "class" / name).string());
        }
        return submissions;
    }

    static std::vector<fs::path> FilesIn(const fs::path& path) {
        std::vector<fs::path> files;
        for (const auto& entry : fs::recursive_directory_iterator(path)) {
            files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end());
        return files;
    }

    TempFolder folder;
};

TEST_F(GraderTest, GradesAClassOfFilesAndFolders) {
    const auto cases = GradeCases::Parse(countCases, "cases.toml");
    const auto before = FilesIn(folder.path / "class");
    std::vector<std::pair<std::size_t, std::size_t>> progress;
    const auto report =
        Grader::Grade(cases, Class(), {}, 2, [&](std::size_t done, std::size_t total) {
            progress.emplace_back(done, total);
        });
    EXPECT_EQ(FilesIn(folder.path / "class"), before); // no .debug file, nothing else
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), (std::pair<std::size_t, std::size_t>(12, 12)));

    ASSERT_EQ(report.submissions.size(), 6u);
    const auto points = [&](std::size_t i) { return report.submissions[i].Points(); };
    EXPECT_EQ(points(0), 3);
    EXPECT_EQ(points(1), 2);
    EXPECT_EQ(report.submissions[1].cases[1].difference, "memory[0x2000] = 0x01, expected 0x2a");
    EXPECT_EQ(points(2), 0);
    EXPECT_EQ(report.submissions[2].error, Class()[2] + ":1:3: error: Syntax Error (code 13)");
    EXPECT_EQ(report.submissions[2].cases[0].difference, report.submissions[2].error);
    EXPECT_EQ(points(3), 3);
    EXPECT_NE(report.submissions[4].error.find("holds 2 .85 files: name the main one"),
              std::string::npos);
    EXPECT_NE(report.submissions[5].error.find("cannot be read"), std::string::npos);
    EXPECT_FALSE(report.AllPassed());

    // With main named, erin's a.85 runs.
    auto withMain = GradeCases::Parse(std::string("main = \"a.85\"\n") + countCases, "cases.toml");
    const auto erin = Grader::Grade(withMain, {Class()[4]}, {}, 1);
    EXPECT_EQ(erin.submissions[0].Points(), 3);
    EXPECT_TRUE(erin.AllPassed());
}

// Many cases of many submissions at the same time: each case starts from its own program copy
// and its own devices. The thread-sanitizer build runs this too.
TEST_F(GraderTest, CasesRunAtTheSameTimeShareNothing) {
    std::string text;
    for (int i = 0; i < 12; ++i) {
        const auto value = std::to_string(i * 10);
        const auto next = std::to_string(i * 10 + 1);
        text += "[[case]]\nname = \"start " + value + "\"\nkeyboard = [" + std::to_string(i % 16) +
                "]\n[case.preset]\nmemory = { 0x2000 = " + value + " }\nports = { 0x10 = " + value +
                " }\n[case.expect]\nmemory = { 0x2000 = " + next + " }\nports = { 0x10 = " + next +
                " }\n";
    }
    const auto cases = GradeCases::Parse(text, "cases.toml");
    std::vector<std::string> submissions;
    for (int i = 0; i < 16; ++i) {
        submissions.push_back(folder.Write("same" + std::to_string(i) + ".85", counter));
    }
    const auto report = Grader::Grade(cases, submissions, {}, 4);
    for (const auto& submission : report.submissions) {
        for (const auto& result : submission.cases) {
            EXPECT_TRUE(result.passed) << submission.name << ": " << result.difference;
        }
    }
    EXPECT_TRUE(report.AllPassed());
}

TEST_F(GraderTest, ShardsMergeToTheUnshardedReport) {
    const auto cases = GradeCases::Parse(countCases, "cases.toml");
    const auto whole = Grader::Grade(cases, Class(), {}, 2);
    std::vector<GradeReport> shards;
    for (std::size_t index = 3; index >= 1; --index) { // any order
        const auto shard = Grader::Grade(cases, Class(), {index, 3}, 1);
        EXPECT_EQ(shard.submissions.size(), 2u);
        GradeReport readBack;
        std::string error;
        ASSERT_TRUE(GradeJson::Read(GradeJson::Write(shard), readBack, error)) << error;
        EXPECT_EQ(readBack, shard);
        shards.push_back(readBack);
    }
    GradeReport merged;
    std::string error;
    ASSERT_TRUE(GradeReport::Merge(shards, merged, error)) << error;
    EXPECT_EQ(merged, whole);
    EXPECT_EQ(GradeJson::Write(merged), GradeJson::Write(whole));

    const std::vector<std::pair<std::vector<GradeReport>, std::string>> mistakes = {
        {{shards[0], shards[1]}, "shard 1/3 is missing"},
        {{shards[0], shards[0], shards[1], shards[2]}, "shard 3/3 is given twice"},
        {{shards[0], whole}, "the reports come from different runs"},
        {{}, "no report to merge"},
    };
    for (const auto& [reports, message] : mistakes) {
        EXPECT_FALSE(GradeReport::Merge(reports, merged, error));
        EXPECT_TRUE(error.starts_with(message)) << error;
    }
    auto otherCases = shards[1];
    otherCases.cases[0].points = 5;
    EXPECT_FALSE(GradeReport::Merge({shards[0], otherCases, shards[2]}, merged, error));
    EXPECT_EQ(error, "the reports were made with different CASES files");
    GradeReport none;
    EXPECT_FALSE(GradeJson::Read("{\"format\": \"other\"}", none, error));
    EXPECT_FALSE(GradeJson::Read("not json", none, error));
}

// The JUnit report read back by libxml2, with names a shell allows but XML does not.
TEST_F(GraderTest, JunitReadsBackAsXml) {
    auto cases = GradeCases::Parse(countCases, "cases.toml");
    cases.cases[0].name = "from <zero> & \"more\"";
    auto report = Grader::Grade(cases, Class(), {}, 2);
    report.submissions[0].name = std::string("odd\x01name\xff\xc3\xa9.85");
    const auto xml = GradeJunit::Write(report);
    const auto document = xmlReadMemory(xml.data(), static_cast<int>(xml.size()), "report.xml",
                                        nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR);
    ASSERT_NE(document, nullptr) << xml;
    const auto attribute = [](xmlNode* node, const char* name) {
        auto* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
        std::string text = value != nullptr ? reinterpret_cast<const char*>(value) : "";
        xmlFree(value);
        return text;
    };
    auto* root = xmlDocGetRootElement(document);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(root->name)), "testsuites");
    EXPECT_EQ(attribute(root, "tests"), "12");
    std::vector<std::string> suites;
    std::vector<std::string> failures;
    std::size_t testcases = 0;
    for (auto* suite = root->children; suite != nullptr; suite = suite->next) {
        if (suite->type != XML_ELEMENT_NODE) {
            continue;
        }
        suites.push_back(attribute(suite, "name"));
        for (auto* test = suite->children; test != nullptr; test = test->next) {
            if (test->type != XML_ELEMENT_NODE || xmlStrcmp(test->name, BAD_CAST "testcase") != 0) {
                continue;
            }
            ++testcases;
            EXPECT_EQ(attribute(test, "classname"), suites.back());
            if (testcases == 1) {
                EXPECT_EQ(attribute(test, "name"), "from <zero> & \"more\"");
            }
            for (auto* failure = test->children; failure != nullptr; failure = failure->next) {
                if (failure->type == XML_ELEMENT_NODE) {
                    failures.push_back(std::string(reinterpret_cast<const char*>(failure->name)) +
                                       ": " + attribute(failure, "message"));
                }
            }
        }
    }
    xmlFreeDoc(document);
    EXPECT_EQ(suites.size(), 6u);
    EXPECT_EQ(suites[0], "odd?name?\xc3\xa9.85");
    EXPECT_EQ(testcases, 12u);
    ASSERT_EQ(failures.size(), 7u); // bob 1, carol 2, erin 2, frank 2
    EXPECT_EQ(failures[0], "failure: memory[0x2000] = 0x01, expected 0x2a");
    EXPECT_TRUE(failures[1].starts_with("error: ")) << failures[1];
}

TEST_F(GraderTest, TableCsvAndProgressBar) {
    const auto cases = GradeCases::Parse(countCases, "cases.toml");
    auto report = Grader::Grade(cases, {Class()[0], Class()[1]}, {}, 1);
    report.submissions[0].name = "alice.85";
    report.submissions[1].name = "=bob, \"the\" builder";
    EXPECT_EQ(GradeTable::Write(report), "Counting\n"
                                         "SUBMISSION             POINTS   CASES\n"
                                         "alice.85                  3/3     2/2\n"
                                         "=bob, \"the\" builder       2/3     1/2\n"
                                         "  FAIL from 41: memory[0x2000] = 0x01, expected 0x2a\n"
                                         "2 submissions, 2 cases, 3 points: 1 passed every case\n");
    EXPECT_EQ(GradeCsv::Write(report), "submission,points,max_points\r\n"
                                       "alice.85,3,3\r\n"
                                       "\"'=bob, \"\"the\"\" builder\",2,3\r\n");
    EXPECT_EQ(ProgressBar::Text(350, 1000, 20), "[#######.............]  35% 350/1000");
    EXPECT_EQ(ProgressBar::Text(0, 0, 4), "[####] 100% 0/0");
    EXPECT_FALSE(ProgressBar::ShouldShow(std::chrono::milliseconds(999)));
    EXPECT_TRUE(ProgressBar::ShouldShow(std::chrono::seconds(1)));
}

struct ProgramRun {
    int status;
    std::string out;
    std::string err;
};

// Runs zorvan-grade in `folder`; standard error goes to `errorTo` (read back when it is .err).
ProgramRun RunGrader(const TempFolder& folder, const std::string& arguments,
                     const std::string& errorTo = ".err") {
    const auto out = folder.File(".out");
    const auto err = folder.File(".err");
    const auto command = "cd '" + folder.path.string() + "' && '" + ZORVAN_GRADER + "' " +
                         arguments + " > .out 2> '" + errorTo + "' < /dev/null";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, TempFolder::Read(out),
            TempFolder::Read(err)};
}

TEST_F(GraderTest, ProgramStatusesAndReports) {
    folder.Write("cases.toml", countCases);
    folder.Write("bad.toml", "[[case]]\nname = \"x\"\n[case.expect]\nstop = \"halted\"\n");
    auto run = RunGrader(folder, "cases.toml class/alice.85 class/dana");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("2 submissions, 2 cases, 3 points: 2 passed every case"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(run.err, "");

    run = RunGrader(folder, "--json all.json --junit all.xml --csv all.csv -j 2 cases.toml "
                            "class/alice.85 class/bob.85 class/carol.85");
    EXPECT_EQ(run.status, 1) << run.err;
    for (const char* file : {"all.json", "all.xml", "all.csv"}) {
        EXPECT_TRUE(fs::is_regular_file(folder.path / file)) << file;
    }
    EXPECT_NE(TempFolder::Read(folder.File("all.csv")).find("class/bob.85,2,3"), std::string::npos);

    // Shards written apart and merged give the same JSON report.
    for (const char* shard : {"1/2", "2/2"}) {
        const auto name = std::string("part") + shard[0] + ".json";
        run = RunGrader(folder, std::string("-q --shard ") + shard + " --json " + name +
                                    " cases.toml class/alice.85 class/bob.85 class/carol.85");
        EXPECT_EQ(run.out, "");
    }
    run = RunGrader(folder, "--merge -q --json merged.json part2.json part1.json");
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(TempFolder::Read(folder.File("merged.json")),
              TempFolder::Read(folder.File("all.json")));

    run = RunGrader(folder, "bad.toml class/alice.85");
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.starts_with("bad.toml:4: stop must be one of halt,")) << run.err;
    EXPECT_EQ(run.out, "");

    run = RunGrader(folder, "--merge part1.json");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "zorvan-grade: shard 2/2 is missing\n");

    run = RunGrader(folder, "cases.toml");
    EXPECT_EQ(run.status, 64);
    EXPECT_EQ(run.err, "zorvan-grade: no submission given\nTry 'zorvan-grade --help'.\n");
    run = RunGrader(folder, "--shard 3/2 cases.toml x.85");
    EXPECT_EQ(run.status, 64);
    EXPECT_EQ(run.err, "zorvan-grade: --shard needs I/N with 1 <= I <= N, not '3/2'\n"
                       "Try 'zorvan-grade --help'.\n");
    run = RunGrader(folder, "--help");
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.starts_with("Usage: zorvan-grade [options] CASES SUBMISSION...\n"));

    run = RunGrader(folder, "--json no/such/folder/r.json cases.toml class/alice.85");
    EXPECT_EQ(run.status, 74);
    EXPECT_TRUE(run.err.starts_with("zorvan-grade: no/such/folder/r.json could not be written"))
        << run.err;
}

// On a terminal, grading that lasts more than a second shows a progress bar on standard error,
// and takes it away at the end.
TEST_F(GraderTest, ProgressBarOnATerminal) {
    folder.Write("slow.toml", "time_limit = 0.6\nstep_limit = 9000000000000000000\n"
                              "[[case]]\nname = \"a\"\n[[case]]\nname = \"b\"\n");
    folder.Write("spin.85", "loop: jmp loop\n");
    PseudoTerminal terminal;
    const auto run = RunGrader(folder, "-j 1 slow.toml spin.85", terminal.deviceName);
    EXPECT_EQ(run.status, 0) << run.err;
    const auto shown = terminal.Read(500);
    EXPECT_NE(shown.find("]  50% 1/2"), std::string::npos) << shown;
    EXPECT_NE(shown.find("] 100% 2/2"), std::string::npos) << shown;
    EXPECT_TRUE(shown.ends_with("\r")) << shown; // the line is cleared at the end

    // Not on a terminal: nothing.
    const auto quiet = RunGrader(folder, "-j 1 slow.toml spin.85");
    EXPECT_EQ(quiet.err, "");
}

} // namespace
