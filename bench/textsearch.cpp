// Searching and replacing through a large source: Replace All of 100,000 matches in a
// 1,000,000-line text, undoing it, and a search that walks every line.
#include "editor/CTextBuffer.h"
#include "editor/FindInText.h"
#include "editor/ReplaceSession.h"
#include "editor/SearchBufferLines.h"
#include "support/SearchSource.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

const std::string& SourcePath() {
    return SearchSourcePath("zorvan-bench-search.85");
}

// As much of the edit view as a search needs: a selection, and ReplaceSelection as two
// recorded changes.
class BufferTarget final : public SearchTarget {
public:
    explicit BufferTarget(CTextBuffer& textBuffer) : buffer(textBuffer), lines(textBuffer) {}

    int LineCount() const override { return lines.LineCount(); }
    std::string_view LineText(int line) const override { return lines.LineText(line); }
    CTextPosition GetCursorPos() const override { return selEnd; }
    bool GetSelection(CTextPosition& start, CTextPosition& end) const override {
        start = selStart;
        end = selEnd;
        return !(start == end);
    }
    void SelectRange(CTextPosition start, CTextPosition end) override {
        selStart = start;
        selEnd = end;
    }
    void HighlightMatch(CTextPosition position, int length) override {
        SelectRange(position, {position.charIndex + length, position.line});
    }
    bool IsEditable() const override { return true; }
    bool ReplaceSelection(const std::string& text) override {
        if (!buffer.DeleteRange(nullptr, selStart.line, selStart.charIndex, selEnd.line,
                                selEnd.charIndex, CTextBuffer::ActionDeleteSelection)) {
            return false;
        }
        buffer.InsertChars(nullptr, selStart.line, selStart.charIndex, text, selEnd.line,
                           selEnd.charIndex, CTextBuffer::ActionReplace);
        return true;
    }
    SearchState LastSearch() const override { return {}; }
    void SetLastSearch(const SearchState&) override {}

private:
    CTextBuffer& buffer;
    SearchBufferLines lines;
    CTextPosition selStart;
    CTextPosition selEnd;
};

std::string WholeText(const CTextBuffer& buffer) {
    std::string text;
    buffer.CopyRange(0, 0, buffer.LineCount() - 1, buffer.LineLength(buffer.LineCount() - 1), text);
    return text;
}

// Replace All over the whole file with the options of argument 0 (0: match case and whole
// word, 1: neither), then undo until the buffer has nothing left to undo. The buffer keeps
// only its newest 1024 undo records, so the undo figures cover the groups it still holds
// ("restored" stays 0); undo_all_projected_ms is the time per group times the two groups of
// every replacement.
void BM_ReplaceAllThenUndo(benchmark::State& state) {
    const bool loose = state.range(0) == 1;
    double replaceSeconds = 0;
    double undoSeconds = 0;
    double replaced = 0;
    double undone = 0;
    bool restored = false;
    std::string original;
    for (auto _ : state) {
        CTextBuffer buffer;
        if (!buffer.LoadText(SourcePath())) {
            state.SkipWithError("load failed");
            return;
        }
        if (original.empty()) {
            original = WholeText(buffer);
        }
        BufferTarget target(buffer);
        const auto start = std::chrono::steady_clock::now();
        ReplaceSession session(target, {!loose, !loose, "delay", "long_delay"});
        const int count = session.ReplaceAll();
        const auto replacedAt = std::chrono::steady_clock::now();
        CTextPosition caret;
        int groups = 0;
        while (buffer.Undo(caret)) {
            ++groups;
        }
        const auto end = std::chrono::steady_clock::now();
        if (count != searchSourceLines / searchMatchEvery) {
            state.SkipWithError("wrong number of replacements");
            return;
        }
        replaced += count;
        undone += groups;
        replaceSeconds += std::chrono::duration<double>(replacedAt - start).count();
        undoSeconds += std::chrono::duration<double>(end - replacedAt).count();
        restored = WholeText(buffer) == original;
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["replaced"] = replaced / runs;
    state.counters["replace_all_ms"] = 1e3 * replaceSeconds / runs;
    state.counters["undo_groups_kept"] = undone / runs;
    state.counters["undo_ms"] = 1e3 * undoSeconds / runs;
    const double nsPerGroup = undone > 0 ? 1e9 * undoSeconds / undone : 0;
    state.counters["undo_ns_per_group"] = nsPerGroup;
    state.counters["undo_all_projected_ms"] = nsPerGroup * 2 * replaced / runs / 1e6;
    state.counters["restored"] = restored ? 1 : 0;
}
BENCHMARK(BM_ReplaceAllThenUndo)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// F3 for a text that is nowhere: every line is looked at once, with wrap.
void BM_FindThroughEveryLine(benchmark::State& state) {
    CTextBuffer buffer;
    if (!buffer.LoadText(SourcePath())) {
        state.SkipWithError("load failed");
        return;
    }
    const SearchBufferLines lines(buffer);
    const auto flags = static_cast<uint32_t>(state.range(0));
    for (auto _ : state) {
        CTextPosition found;
        benchmark::DoNotOptimize(
            FindInText(lines, "absent", {0, searchSourceLines / 2}, flags, true, found));
    }
}
BENCHMARK(BM_FindThroughEveryLine)
    ->Arg(SearchFlags::MatchCase)
    ->Arg(0)
    ->Arg(SearchFlags::Upwards)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
