// Replace All through an edit view: 100,000 matches in a 1,000,000-line text, with the view
// shown, so that every replacement pays for the view's caret, selection and change handling.
#include "editor/CTextBuffer.h"
#include "editor/ReplaceSession.h"
#include "editor/ui/CTextEditView.h"
#include "editor/ui/TextViewSearchTarget.h"
#include "support/SearchSource.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

const std::string& SourcePath() {
    return SearchSourcePath("zorvan-bench-ui-search.85");
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
