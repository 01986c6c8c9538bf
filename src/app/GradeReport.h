#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct GradeCases;

// What zorvan-grade found: every submission's result in every case, in the order the submissions
// were given. A shard's report holds every N-th submission; Merge joins the shards' reports into
// the report one run over all submissions gives.
struct GradeReport {
    struct CaseResult {
        bool passed = false;
        double points = 0; // earned
        std::string stop;  // how the run ended (GradeCase::StopName), empty when not run
        std::uint64_t steps = 0;
        std::string difference; // the first difference, or why the case did not run

        bool operator==(const CaseResult&) const = default;
    };
    struct Submission {
        std::size_t index = 0; // place among all submissions given, from 0
        std::string name;
        std::string error; // why the program did not run at all (assembler error, unreadable)
        std::vector<CaseResult> cases;

        double Points() const;
        std::size_t Passed() const;
        bool operator==(const Submission&) const = default;
    };
    struct Case {
        std::string name;
        double points = 0;

        bool operator==(const Case&) const = default;
    };

    std::string title;
    std::string casesFile;
    std::vector<Case> cases;
    std::size_t shardIndex = 1; // this report is shard shardIndex of shardCount
    std::size_t shardCount = 1;
    std::size_t submissionCount = 0; // all submissions of the class, in every shard
    std::vector<Submission> submissions;

    bool operator==(const GradeReport&) const = default;

    // An empty report for `cases`, with one (not yet run) entry per submission.
    static GradeReport For(const GradeCases& cases);
    double MaxPoints() const;
    bool AllPassed() const;

    // The shards' reports as one; false with `error` set when they do not belong together
    // (other cases, another class size or shard count, a shard missing or given twice).
    static bool Merge(const std::vector<GradeReport>& shards, GradeReport& merged,
                      std::string& error);
};
