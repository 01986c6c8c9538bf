#include "app/GradeReport.h"

#include "app/GradeCases.h"

#include <algorithm>
#include <set>

double GradeReport::Submission::Points() const {
    double total = 0;
    for (const auto& result : cases) {
        total += result.points;
    }
    return total;
}

std::size_t GradeReport::Submission::Passed() const {
    return static_cast<std::size_t>(std::count_if(
        cases.begin(), cases.end(), [](const auto& result) { return result.passed; }));
}

GradeReport GradeReport::For(const GradeCases& cases) {
    GradeReport report;
    report.title = cases.title;
    report.casesFile = cases.file;
    for (const auto& one : cases.cases) {
        report.cases.push_back({one.name, one.points});
    }
    return report;
}

double GradeReport::MaxPoints() const {
    double total = 0;
    for (const auto& one : cases) {
        total += one.points;
    }
    return total;
}

bool GradeReport::AllPassed() const {
    return std::all_of(submissions.begin(), submissions.end(), [](const Submission& submission) {
        return submission.error.empty() && submission.Passed() == submission.cases.size();
    });
}

bool GradeReport::Merge(const std::vector<GradeReport>& shards, GradeReport& merged,
                        std::string& error) {
    if (shards.empty()) {
        error = "no report to merge";
        return false;
    }
    const auto& first = shards.front();
    std::set<std::size_t> shardsSeen;
    std::set<std::size_t> submissionsSeen;
    merged = first;
    merged.shardIndex = 1;
    merged.shardCount = 1;
    merged.submissions.clear();
    for (const auto& shard : shards) {
        if (shard.cases != first.cases || shard.title != first.title) {
            error = "the reports were made with different CASES files";
            return false;
        }
        if (shard.shardCount != first.shardCount ||
            shard.submissionCount != first.submissionCount) {
            error = "the reports come from different runs (" + std::to_string(shard.shardCount) +
                    " shards of " + std::to_string(shard.submissionCount) + " submissions, and " +
                    std::to_string(first.shardCount) + " shards of " +
                    std::to_string(first.submissionCount) + ")";
            return false;
        }
        if (!shardsSeen.insert(shard.shardIndex).second) {
            error = "shard " + std::to_string(shard.shardIndex) + "/" +
                    std::to_string(shard.shardCount) + " is given twice";
            return false;
        }
        for (const auto& submission : shard.submissions) {
            if (!submissionsSeen.insert(submission.index).second) {
                error = "submission " + submission.name + " is in two reports";
                return false;
            }
            merged.submissions.push_back(submission);
        }
    }
    for (std::size_t index = 1; index <= first.shardCount; ++index) {
        if (!shardsSeen.contains(index)) {
            error = "shard " + std::to_string(index) + "/" + std::to_string(first.shardCount) +
                    " is missing";
            return false;
        }
    }
    std::sort(merged.submissions.begin(), merged.submissions.end(),
              [](const Submission& x, const Submission& y) { return x.index < y.index; });
    return true;
}
