// The text view on big files: opening, painting a screenful, a typed key with recolouring and
// repaint, scrolling to the end, Tab and Shift+Tab on every line, and the memory the open view
// takes.
#include "editor/CTextBuffer.h"
#include "editor/EditorCommands.h"
#include "editor/ui/CTextEditView.h"

#include <QAction>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

// A colouring with a state that runs over lines, as a block comment would: every edit asks
// whether the state changed below.
class ColouredView : public CTextEditView {
public:
    int ColorizeLine(int cookie, int line, std::vector<TextColours::Block>* blocks) override {
        const std::string_view text = LineText(line);
        const bool opens = text.find("/*") != std::string_view::npos;
        const bool closes = text.find("*/") != std::string_view::npos;
        if (blocks != nullptr) {
            const std::size_t comment = text.find(';');
            blocks->push_back({0, cookie != 0 || opens ? 7 : 6});
            if (cookie == 0 && text.size() > 4) {
                blocks->push_back({4, 2});
            }
            if (comment != std::string_view::npos) {
                blocks->push_back({static_cast<int>(comment), 7});
            }
        }
        return opens ? 1 : closes ? 0 : cookie;
    }
};

std::string SourceFile(int lines) {
    const std::string path =
        (std::filesystem::temp_directory_path() / ("zorvan-bench-" + std::to_string(lines) + ".85"))
            .string();
    if (!std::filesystem::exists(path)) {
        std::ofstream out(path, std::ios::binary);
        for (int i = 0; i < lines; ++i) {
            out << "\tmvi a, " << (i % 256) << "\t; step " << i << "\r\n";
        }
    }
    return path;
}

long ResidentBytes() {
    long pages = 0;
    long resident = 0;
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm != nullptr) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(statm);
    }
    return resident * sysconf(_SC_PAGESIZE);
}

struct OpenView {
    explicit OpenView(int lines) {
        buffer.LoadText(SourceFile(lines));
        view.resize(1000, 700);
        view.show();
        view.AttachToBuffer(&buffer);
    }
    void Paint() {
        QPainter painter(&image);
        view.viewport()->render(&painter);
    }
    void Trigger(int id) { view.Action(id)->trigger(); }

    CTextBuffer buffer;
    ColouredView view;
    QImage image{1000, 700, QImage::Format_RGB32};
};

void BM_OpenInView(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    const std::string path = SourceFile(lines);
    const double fileBytes = static_cast<double>(std::filesystem::file_size(path));
    for (auto _ : state) {
        CTextBuffer buffer;
        ColouredView view;
        view.resize(1000, 700);
        const long before = ResidentBytes();
        buffer.LoadText(path);
        const long loaded = ResidentBytes();
        view.AttachToBuffer(&buffer);
        QImage image(1000, 700, QImage::Format_RGB32);
        QPainter painter(&image);
        view.viewport()->render(&painter);
        const long shown = ResidentBytes();
        state.counters["file_MB"] = fileBytes / 1e6;
        state.counters["buffer_per_file"] = static_cast<double>(loaded - before) / fileBytes;
        state.counters["view_per_file"] = static_cast<double>(shown - loaded) / fileBytes;
        state.counters["total_per_file"] = static_cast<double>(shown - before) / fileBytes;
    }
}
BENCHMARK(BM_OpenInView)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PaintScreenful(benchmark::State& state) {
    OpenView open(static_cast<int>(state.range(0)));
    open.view.SetCaretPosition({0, open.view.LineCount() / 2});
    open.view.ScrollIntoView({0, open.view.LineCount() / 2});
    for (auto _ : state) {
        open.Paint();
    }
    state.counters["rows"] = open.view.LinesOnScreen();
}
BENCHMARK(BM_PaintScreenful)->Arg(100)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

void BM_TypedKeyWithRepaint(benchmark::State& state) {
    OpenView open(static_cast<int>(state.range(0)));
    open.view.SetCaretPosition({3, 10});
    open.Paint();
    for (auto _ : state) {
        open.view.TypeCharacter('x');
        open.Paint();
    }
    state.counters["coloured_offscreen"] = static_cast<double>(open.view.RecolouredLines());
}
BENCHMARK(BM_TypedKeyWithRepaint)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

void BM_EnterWithRepaint(benchmark::State& state) {
    OpenView open(static_cast<int>(state.range(0)));
    open.view.SetCaretPosition({3, 10});
    open.Paint();
    for (auto _ : state) {
        open.view.TypeCharacter(13);
        open.Paint();
    }
}
BENCHMARK(BM_EnterWithRepaint)->Arg(1'000'000)->Unit(benchmark::kMicrosecond)->Iterations(200);

void BM_ScrollToEnd(benchmark::State& state) {
    OpenView open(static_cast<int>(state.range(0)));
    open.Paint();
    for (auto _ : state) {
        open.Trigger(EditorCommands::TextEnd);
        open.Paint();
        state.PauseTiming();
        open.Trigger(EditorCommands::TextBegin);
        // A fresh colouring each round: the first scroll to the end colours every line.
        open.view.AttachToBuffer(&open.buffer);
        open.Paint();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ScrollToEnd)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(10);

// Tab, then Shift+Tab, on a selection of every line, each undone and redone as one step, with a
// repaint after each. The time is that of the whole round; the counters split it.
void BM_BlockIndentOutdent(benchmark::State& state) {
    OpenView open(static_cast<int>(state.range(0)));
    open.Paint();
    double indentSeconds = 0;
    double outdentSeconds = 0;
    double undoRedoSeconds = 0;
    using Clock = std::chrono::steady_clock;
    const auto seconds = [](Clock::time_point from) {
        return std::chrono::duration<double>(Clock::now() - from).count();
    };
    const int last = open.view.LineCount() - 1;
    const std::string firstLine(open.view.LineText(0));
    const std::string lastLine(open.view.LineText(last));
    for (auto _ : state) {
        const auto selectAll = [&] {
            open.view.SelectRange({0, 0}, {open.view.LineLength(last), last});
        };
        selectAll();
        auto start = Clock::now();
        open.Trigger(EditorCommands::Tab);
        open.Paint();
        const double indent = seconds(start);
        start = Clock::now();
        open.Trigger(EditorCommands::Undo);
        open.Paint();
        const bool undone = open.view.LineText(0) == firstLine;
        open.Trigger(EditorCommands::Redo);
        open.Paint();
        const double undoRedo = seconds(start);
        selectAll();
        start = Clock::now();
        open.Trigger(EditorCommands::Untab);
        open.Paint();
        const double outdent = seconds(start);
        indentSeconds += indent;
        outdentSeconds += outdent;
        undoRedoSeconds += undoRedo;
        state.SetIterationTime(indent + undoRedo + outdent);
        // Tab and Shift+Tab cancel out on lines that begin with a tab.
        if (!undone || open.view.LineText(last) != lastLine || open.view.LineText(0) != firstLine) {
            state.SkipWithError("the text did not come back");
        }
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["indent_ms"] = 1e3 * indentSeconds / iterations;
    state.counters["outdent_ms"] = 1e3 * outdentSeconds / iterations;
    state.counters["undo_redo_ms"] = 1e3 * undoRedoSeconds / iterations;
}
BENCHMARK(BM_BlockIndentOutdent)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace
