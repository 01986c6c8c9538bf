// Replace All through an edit view: 100,000 matches in a 1,000,000-line text, with the view
// shown, so that every replacement pays for the view's caret, selection and change handling.
#include "editor/CTextBuffer.h"
#include "editor/ReplaceSession.h"
#include "editor/ui/CTextEditView.h"
#include "editor/ui/TextViewSearchTarget.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr int sourceLines = 1'000'000;
constexpr int matchEvery = 10;

// About 25 bytes a line; every tenth line calls the searched routine.
const std::string& SourcePath() {
    static const std::string path = [] {
        const std::string file =
            (std::filesystem::temp_directory_path() / "zorvan-bench-ui-search.85").string();
        std::ofstream out(file, std::ios::binary);
        for (int line = 0; line < sourceLines; ++line) {
            out << "L" << line
                << (line % matchEvery == 0 ? ": call delay ; wait\r\n" : ": mvi a,12H ; load\r\n");
        }
        return file;
    }();
    return path;
}

void BM_ReplaceAllInView(benchmark::State& state) {
    double replaced = 0;
    for (auto _ : state) {
        CTextBuffer buffer;
        if (!buffer.LoadText(SourcePath())) {
            state.SkipWithError("load failed");
            return;
        }
        CTextEditView view;
        view.resize(800, 600);
        view.show();
        view.AttachToBuffer(&buffer);
        QCoreApplication::processEvents();
        TextViewSearchTarget target(view);
        const auto start = std::chrono::steady_clock::now();
        ReplaceSession session(target, {true, true, "delay", "long_delay"});
        replaced += session.ReplaceAll();
        QCoreApplication::processEvents();
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["replaced"] = replaced / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ReplaceAllInView)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
