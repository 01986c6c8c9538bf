// Loading, saving and searching a large source, typing then undoing in it, and indenting and
// outdenting all of it.
#include "editor/BufferLines.h"
#include "editor/CTextBuffer.h"
#include "editor/IndentRules.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr int sourceLines = 1'000'000;

// A generated source of about 30 bytes a line, written once per run.
const std::string& SourcePath() {
    static const std::string path = [] {
        const std::string file =
            (std::filesystem::temp_directory_path() / "zorvan-bench-source.85").string();
        std::ofstream out(file, std::ios::binary);
        const char* mnemonics[] = {"MVI A,", "LXI H,", "ADD B ", "STA   ", "JNZ   "};
        std::string text;
        for (int line = 0; line < sourceLines; ++line) {
            text = "L" + std::to_string(line) + ": " + mnemonics[line % 5] +
                   std::to_string(line % 256) + "H ; step\r\n";
            out << text;
        }
        return file;
    }();
    return path;
}

long StatusKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(prefix, 0) == 0) {
            return std::stol(line.substr(prefix.size()));
        }
    }
    return 0;
}

// Lets the next peak reading start from the present size.
void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// The first load of the process also pays for the fresh pages it touches; later loads reuse
// pages the allocator kept. Both figures are shown, and the peak is taken at the first load.
void BM_Load(benchmark::State& state) {
    const std::string& path = SourcePath();
    const double fileBytes = static_cast<double>(std::filesystem::file_size(path));
    static double firstLoadMs = 0;
    static double peakBytes = 0;
    if (peakBytes == 0) {
        CTextBuffer buffer;
        ResetPeak();
        const long before = StatusKilobytes("VmRSS");
        const auto start = std::chrono::steady_clock::now();
        if (!buffer.LoadText(path)) {
            state.SkipWithError("load failed");
            return;
        }
        firstLoadMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        peakBytes = 1024.0 * static_cast<double>(StatusKilobytes("VmHWM") - before);
    }
    for (auto _ : state) {
        state.PauseTiming();
        {
            CTextBuffer buffer;
            state.ResumeTiming();
            if (!buffer.LoadText(path)) {
                state.SkipWithError("load failed");
            }
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
    state.counters["file_MB"] = fileBytes / 1e6;
    state.counters["first_load_ms"] = firstLoadMs;
    state.counters["peak_MB"] = peakBytes / 1e6;
    state.counters["peak_per_file_size"] = peakBytes / fileBytes;
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

void BM_Save(benchmark::State& state) {
    CTextBuffer buffer;
    if (!buffer.LoadText(SourcePath())) {
        state.SkipWithError("load failed");
        return;
    }
    const std::string copy = SourcePath() + ".copy";
    for (auto _ : state) {
        if (!buffer.SaveText(copy)) {
            state.SkipWithError("save failed");
        }
    }
    std::filesystem::remove(copy);
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

// The line searches walk every line: the one mark sits on the last line.
void BM_SearchByLine(benchmark::State& state) {
    CTextBuffer buffer;
    if (!buffer.LoadText(SourcePath())) {
        state.SkipWithError("load failed");
        return;
    }
    const int last = buffer.LineCount() - 1;
    buffer.ChangeLineFlag(last, CTextBuffer::LineFlagBookmark, true, false);
    for (auto _ : state) {
        benchmark::DoNotOptimize(buffer.FindFlaggedLine(CTextBuffer::LineFlagBookmark));
        benchmark::DoNotOptimize(buffer.NextBookmarkedLine(0));
        benchmark::DoNotOptimize(buffer.PreviousBookmarkedLine(last - 1));
    }
}
BENCHMARK(BM_SearchByLine)->Unit(benchmark::kMillisecond);

// Types 100,000 characters as the edit view does (a run up to a space is one undo group; every
// 30 characters the caret goes on to the next line), then undoes until nothing is left to
// undo. The argument is the number of lines of the text typed into; the time per undo group
// should not depend on it.
void BM_TypeThenUndo(benchmark::State& state) {
    constexpr int typed = 100'000;
    const std::string word = "mvi a,";
    double undoGroups = 0;
    double undoSeconds = 0;
    for (auto _ : state) {
        CTextBuffer buffer;
        if (state.range(0) == sourceLines) {
            buffer.LoadText(SourcePath());
        } else {
            buffer.StartEmpty();
            int line = 0;
            int end = 0;
            buffer.InsertChars(nullptr, 0, 0, std::string(2 * (state.range(0) - 1), '\r'), line,
                               end);
        }
        CTextPosition caret{0, buffer.LineCount() / 2};
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < typed; ++i) {
            if (i % 30 == 0 && i > 0 && caret.line + 1 < buffer.LineCount()) {
                caret = {0, caret.line + 1};
            }
            const char character = i % 7 == 6 ? ' ' : word[static_cast<std::size_t>(i % 6)];
            buffer.OpenUndoGroup(character != ' ');
            buffer.InsertChars(nullptr, caret.line, caret.charIndex,
                               std::string_view(&character, 1), caret.line, caret.charIndex,
                               CTextBuffer::ActionTyping);
            buffer.CloseUndoGroup(nullptr);
        }
        const auto undoStart = std::chrono::steady_clock::now();
        CTextPosition position;
        while (buffer.Undo(position)) {
            undoGroups += 1;
        }
        const auto end = std::chrono::steady_clock::now();
        undoSeconds += std::chrono::duration<double>(end - undoStart).count();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    state.counters["undo_groups"] = undoGroups / static_cast<double>(state.iterations());
    state.counters["undo_ns_per_group"] = undoGroups > 0 ? 1e9 * undoSeconds / undoGroups : 0;
}
BENCHMARK(BM_TypeThenUndo)
    ->Arg(4000)
    ->Arg(sourceLines)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Tab and Shift+Tab on every line of the large source, as the edit view gives them to the
// buffer, each undone and redone; no view is attached, so this is the buffer's share.
void BM_BlockIndentOutdent(benchmark::State& state) {
    CTextBuffer buffer;
    if (!buffer.LoadText(SourcePath())) {
        state.SkipWithError("load failed");
        return;
    }
    using Clock = std::chrono::steady_clock;
    const auto seconds = [](Clock::time_point from) {
        return std::chrono::duration<double>(Clock::now() - from).count();
    };
    const int last = buffer.LineCount() - 1;
    double indentSeconds = 0;
    double outdentSeconds = 0;
    double undoRedoSeconds = 0;
    CTextPosition caret;
    for (auto _ : state) {
        auto start = Clock::now();
        buffer.OpenUndoGroup(false);
        buffer.InsertAtLineStarts(nullptr, 0, last, "\t", CTextBuffer::ActionIndent);
        buffer.CloseUndoGroup(nullptr);
        indentSeconds += seconds(start);
        start = Clock::now();
        buffer.Undo(caret);
        buffer.Redo(caret);
        undoRedoSeconds += seconds(start);
        start = Clock::now();
        buffer.OpenUndoGroup(false);
        buffer.DeleteAtLineStarts(nullptr, 0,
                                  IndentRules::OutdentLengths(BufferLines(&buffer), 0, last, 4),
                                  CTextBuffer::ActionIndent);
        buffer.CloseUndoGroup(nullptr);
        outdentSeconds += seconds(start);
        if (buffer.LineText(0)[0] != 'L') {
            state.SkipWithError("the text did not come back");
        }
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["lines"] = static_cast<double>(buffer.LineCount());
    state.counters["indent_ms"] = 1e3 * indentSeconds / iterations;
    state.counters["outdent_ms"] = 1e3 * outdentSeconds / iterations;
    state.counters["undo_redo_ms"] = 1e3 * undoRedoSeconds / iterations;
}
BENCHMARK(BM_BlockIndentOutdent)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
