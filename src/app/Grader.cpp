#include "app/Grader.h"

#include "app/AssembledProgram.h"
#include "app/GradeCases.h"
#include "app/GradeRun.h"
#include "machine/C8085Object.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A submission's program, assembled by the first thread that runs one of its cases and let go
// by the last one, so that a large class never holds every program at once.
struct ProgramSlot {
    std::once_flag assembled;
    std::shared_ptr<const AssembledProgram> program;
    std::atomic<std::size_t> casesLeft{0};
};

// The shared state of one Grade call.
class Pool {
public:
    Pool(const GradeCases& gradeCases, GradeReport& gradeReport)
        : cases(gradeCases), report(gradeReport), caseCount(cases.cases.size()),
          total(report.submissions.size() * caseCount),
          slots(std::make_unique<ProgramSlot[]>(report.submissions.size())) {
        for (std::size_t i = 0; i < report.submissions.size(); ++i) {
            slots[i].casesLeft = caseCount;
        }
    }

    void Work() {
        GradeRun run;
        for (auto item = next.fetch_add(1); item < total; item = next.fetch_add(1)) {
            const auto index = item / caseCount;
            auto& slot = slots[index];
            auto& submission = report.submissions[index];
            std::call_once(slot.assembled, [&] { slot.program = Assemble(submission); });
            auto& result = submission.cases[item % caseCount];
            if (slot.program) {
                try {
                    result = run.Run(*slot.program, cases.cases[item % caseCount]);
                } catch (const std::exception& failure) {
                    result.difference = std::string("the run failed: ") + failure.what();
                }
            } else {
                result.difference = submission.error;
            }
            if (slot.casesLeft.fetch_sub(1) == 1) {
                slot.program.reset();
            }
            if (done.fetch_add(1) + 1 == total) {
                const std::lock_guard lock(mutex);
                finished.notify_all();
            }
        }
    }

    void Watch(const Grader::Progress& progress) {
        std::unique_lock lock(mutex);
        while (!finished.wait_for(lock, 100ms, [this] { return done.load() == total; })) {
            if (progress) {
                progress(done.load(), total);
            }
        }
        if (progress) {
            progress(total, total);
        }
    }

    std::size_t Total() const { return total; }

private:
    std::shared_ptr<const AssembledProgram> Assemble(GradeReport::Submission& submission) const {
        std::string error;
        const auto path = Grader::ProgramOf(submission.name, cases.main, error);
        auto program = path.empty() ? nullptr : AssembledProgram::Assemble(path, path, error);
        if (!program) {
            submission.error = error;
        }
        return program;
    }

    const GradeCases& cases;
    GradeReport& report;
    const std::size_t caseCount;
    const std::size_t total;
    std::unique_ptr<ProgramSlot[]> slots;
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> done{0};
    std::mutex mutex;
    std::condition_variable finished;
};

} // namespace

GradeReport Grader::Grade(const GradeCases& cases, const std::vector<std::string>& submissions,
                          Shard shard, unsigned threads, const Progress& progress) {
    auto report = GradeReport::For(cases);
    report.shardIndex = shard.index;
    report.shardCount = shard.count;
    report.submissionCount = submissions.size();
    for (std::size_t i = 0; i < submissions.size(); ++i) {
        if (i % shard.count == shard.index - 1) {
            GradeReport::Submission submission;
            submission.index = i;
            submission.name = submissions[i];
            submission.cases.resize(cases.cases.size());
            report.submissions.push_back(std::move(submission));
        }
    }
    // The first machine of the process binds the program-wide opcode table; building it here,
    // before the threads, keeps their machines from binding it at the same time.
    { const C8085Object bindsTheOpcodeTable; }
    Pool pool(cases, report);
    if (threads == 0) {
        threads = std::max(1u, std::thread::hardware_concurrency());
    }
    threads = static_cast<unsigned>(std::clamp<std::size_t>(pool.Total(), 1, threads));
    {
        std::vector<std::jthread> workers;
        for (unsigned i = 0; i < threads; ++i) {
            workers.emplace_back([&pool] { pool.Work(); });
        }
        pool.Watch(progress);
    }
    return report;
}

std::string Grader::ProgramOf(const std::string& submission, const std::string& main,
                              std::string& error) {
    std::error_code problem;
    if (!fs::is_directory(submission, problem)) {
        return submission;
    }
    if (!main.empty()) {
        return (fs::path(submission) / main).string();
    }
    std::vector<fs::path> sources;
    for (const auto& entry : fs::directory_iterator(submission, problem)) {
        if (entry.path().extension() == ".85") {
            sources.push_back(entry.path());
        }
    }
    if (problem) {
        error = submission + ": cannot be read: " + problem.message();
    } else if (sources.size() != 1) {
        error = submission + ": " +
                (sources.empty() ? std::string("holds no .85 file")
                                 : "holds " + std::to_string(sources.size()) +
                                       " .85 files: name the main one with main = \"FILE.85\" "
                                       "in the CASES file");
    } else {
        return sources.front().string();
    }
    return {};
}
