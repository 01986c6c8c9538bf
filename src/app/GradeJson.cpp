#include "app/GradeJson.h"

#include "app/GradeReport.h"

#include <cmath>
#include <nlohmann/json.hpp>

namespace {

using Json = nlohmann::ordered_json;

constexpr int formatVersion = 1;

// Whole points as integers, so that the file reads as a person wrote it.
Json Points(double points) {
    if (std::floor(points) == points && std::fabs(points) < 1e15) {
        return static_cast<std::int64_t>(points);
    }
    return points;
}

} // namespace

std::string GradeJson::Write(const GradeReport& report) {
    Json json;
    json["format"] = "zorvan-grade";
    json["version"] = formatVersion;
    json["title"] = report.title;
    json["cases_file"] = report.casesFile;
    json["shard"] = {{"index", report.shardIndex}, {"count", report.shardCount}};
    json["submission_count"] = report.submissionCount;
    json["max_points"] = Points(report.MaxPoints());
    json["cases"] = Json::array();
    for (const auto& one : report.cases) {
        json["cases"].push_back({{"name", one.name}, {"points", Points(one.points)}});
    }
    json["submissions"] = Json::array();
    for (const auto& submission : report.submissions) {
        Json entry = {{"index", submission.index},
                      {"name", submission.name},
                      {"points", Points(submission.Points())},
                      {"error", submission.error},
                      {"cases", Json::array()}};
        for (std::size_t i = 0; i < submission.cases.size(); ++i) {
            const auto& result = submission.cases[i];
            entry["cases"].push_back({{"name", i < report.cases.size() ? report.cases[i].name : ""},
                                      {"passed", result.passed},
                                      {"points", Points(result.points)},
                                      {"stop", result.stop},
                                      {"steps", result.steps},
                                      {"difference", result.difference}});
        }
        json["submissions"].push_back(std::move(entry));
    }
    return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

bool GradeJson::Read(std::string_view text, GradeReport& report, std::string& error) {
    try {
        const auto json = Json::parse(text);
        if (json.value("format", "") != "zorvan-grade" ||
            json.value("version", 0) != formatVersion) {
            error = "not a report of zorvan-grade --json";
            return false;
        }
        report = {};
        report.title = json.at("title").get<std::string>();
        report.casesFile = json.at("cases_file").get<std::string>();
        report.shardIndex = json.at("shard").at("index").get<std::size_t>();
        report.shardCount = json.at("shard").at("count").get<std::size_t>();
        report.submissionCount = json.at("submission_count").get<std::size_t>();
        for (const auto& one : json.at("cases")) {
            report.cases.push_back(
                {one.at("name").get<std::string>(), one.at("points").get<double>()});
        }
        for (const auto& entry : json.at("submissions")) {
            GradeReport::Submission submission;
            submission.index = entry.at("index").get<std::size_t>();
            submission.name = entry.at("name").get<std::string>();
            submission.error = entry.at("error").get<std::string>();
            for (const auto& one : entry.at("cases")) {
                GradeReport::CaseResult result;
                result.passed = one.at("passed").get<bool>();
                result.points = one.at("points").get<double>();
                result.stop = one.at("stop").get<std::string>();
                result.steps = one.at("steps").get<std::uint64_t>();
                result.difference = one.at("difference").get<std::string>();
                submission.cases.push_back(std::move(result));
            }
            if (submission.cases.size() != report.cases.size()) {
                error = "submission " + submission.name + " has " +
                        std::to_string(submission.cases.size()) + " results for " +
                        std::to_string(report.cases.size()) + " cases";
                return false;
            }
            report.submissions.push_back(std::move(submission));
        }
        if (report.shardCount == 0 || report.shardIndex == 0 ||
            report.shardIndex > report.shardCount) {
            error = "the shard number is not valid";
            return false;
        }
        return true;
    } catch (const Json::exception& problem) {
        error = problem.what();
        return false;
    }
}
