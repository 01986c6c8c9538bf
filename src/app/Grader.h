#pragma once

#include "app/GradeReport.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

struct GradeCases;

// zorvan-grade's engine: every case of every submission, on a pool of threads with one machine
// each. A submission is assembled once, by the first thread that needs it; each case then starts
// from a copy of that program. A program that loops or waits is ended by its case's limits while
// the other threads go on.
class Grader {
public:
    // Called on the caller's thread, about ten times a second and once at the end.
    using Progress = std::function<void(std::size_t done, std::size_t total)>;

    struct Shard {
        std::size_t index = 1; // 1..count: runs the submissions whose place % count = index - 1
        std::size_t count = 1;
    };

    // `submissions` are the whole class (.85 files or folders) in the order given; `threads` 0
    // uses every core.
    static GradeReport Grade(const GradeCases& cases, const std::vector<std::string>& submissions,
                             Shard shard, unsigned threads, const Progress& progress = {});

    // The .85 file to run for a submission: the file itself, or in a folder the CASES file's
    // main file or else the folder's only .85 file. Empty with `error` set when there is none.
    static std::string ProgramOf(const std::string& submission, const std::string& main,
                                 std::string& error);
};
