// Screen repaint cost against list length, and loading a large text list.
//   BM_RepaintScreenful/N: one 800x600 viewport paint (the widget's paint event)
//     of an N-line list scrolled to its middle; 1,000,000 lines should cost at
//     most twice 100 lines.
//   BM_LoadList: CTavikDoc::OnOpenDocument of a 1,000,000-line (20 MB) file.
//   BM_MeasureRows/N/C: the row pass that measures the scroll width (every row
//     encoded with the pass's own encoders, bars and text measured), run on the
//     calling thread; the window runs the same pass on a thread of its own.
//     C = 1: a view in a window, whose pass also checks every row against its label.
//   BM_RepaintSequence, BM_MeasureSequence: the same over a number sequence of the
//     same texts (File > New Sequence...), its rows made as they are read.
// Runs on Qt's offscreen platform; the list files live in a temporary folder.

#include "Fonts.h"
#include "Sequence.h"
#include "TavikDoc.h"
#include "TavikView.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

QTemporaryDir* g_dir = nullptr;

// A file of count lines of 19 digits each (20 bytes with the line feed).
QString ListFile(int count) {
    static std::map<int, QString> files;
    if (const auto it = files.find(count); it != files.end()) {
        return it->second;
    }
    const QString path = g_dir->filePath(QStringLiteral("list-%1.txt").arg(count));
    std::FILE* f = std::fopen(path.toLocal8Bit().constData(), "wb");
    for (int i = 0; i < count; ++i) {
        std::fprintf(f, "%019d\n", i * 7);
    }
    std::fclose(f);
    files.emplace(count, path);
    return path;
}

// The document's rows: the list file of count lines, or (sequence) the same texts
// made by a number sequence; false when the file cannot be opened.
bool OpenRows(CTavikDoc& doc, int count, bool sequence) {
    if (!sequence) {
        return doc.OnOpenDocument(ListFile(count));
    }
    NumberSequence numbers;
    ParseSequenceRange("0.." + std::to_string(std::int64_t{count - 1} * 7) + "/7", numbers);
    ParseSequencePattern("%019d", numbers);
    doc.Generate(numbers);
    return true;
}

void Repaint(benchmark::State& state, bool sequence) {
    const int lines = static_cast<int>(state.range(0));
    CTavikDoc doc;
    if (!OpenRows(doc, lines, sequence)) {
        state.SkipWithError("cannot open the list");
        return;
    }
    auto view = std::make_unique<CTavikView>();
    doc.AddView(view.get());
    view->OnInitialUpdate();

    // Size the widget so that its viewport is 800 x 600 with the scroll bars
    // the first paint brings, then scroll to the middle.
    const QSize screen(800, 600);
    QImage image(screen, QImage::Format_RGB32);
    view->show();
    view->resize(screen);
    for (int i = 0; i < 2; ++i) {
        view->viewport()->render(&image);
        QApplication::processEvents();
        view->resize(view->size() + (screen - view->viewport()->size()));
        QApplication::processEvents();
    }
    CDC probe(nullptr, view->ScreenResolution(), view->ScreenResolution());
    view->ScrollToPosition(QPoint(0, lines / 2 * view->RowPitch(&probe)));

    for (auto _ : state) {
        view->viewport()->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["viewport_w"] = view->viewport()->width();
    state.counters["viewport_h"] = view->viewport()->height();
    state.counters["scroll_y"] = view->GetScrollPosition().y();
}
void BM_RepaintScreenful(benchmark::State& state) {
    Repaint(state, false);
}
BENCHMARK(BM_RepaintScreenful)->Arg(100)->Arg(1000000)->Unit(benchmark::kMicrosecond);
void BM_RepaintSequence(benchmark::State& state) {
    Repaint(state, true);
}
BENCHMARK(BM_RepaintSequence)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void BM_LoadList(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    const QString path = ListFile(lines);
    std::size_t loaded = 0;
    for (auto _ : state) {
        auto doc = std::make_unique<CTavikDoc>();
        if (!doc->OnOpenDocument(path)) {
            state.SkipWithError("cannot open the list");
            return;
        }
        loaded = doc->m_lines.GetSize();
        benchmark::DoNotOptimize(loaded);
    }
    state.counters["lines"] = static_cast<double>(loaded);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(lines) * 20);
}
BENCHMARK(BM_LoadList)->Arg(1000000)->Unit(benchmark::kMillisecond);

void MeasureRows(benchmark::State& state, bool sequence) {
    const int lines = static_cast<int>(state.range(0));
    CTavikDoc doc;
    if (!OpenRows(doc, lines, sequence)) {
        state.SkipWithError("cannot open the list");
        return;
    }
    QWidget window;
    std::unique_ptr<CTavikView> own;
    CTavikView* view = nullptr;
    if (state.range(1) != 0) {
        view = new CTavikView(&window); // the window owns it
    } else {
        own = std::make_unique<CTavikView>();
        view = own.get();
    }
    doc.AddView(view);
    view->OnInitialUpdate();
    view->CancelRowPass(); // the pass of OnInitialUpdate is not measured
    for (auto _ : state) {
        view->RunRowPassNow();
        benchmark::DoNotOptimize(view->DrawnRight());
    }
    state.counters["width"] = static_cast<double>(view->GetTotalSize().width());
    state.counters["rows/s"] = benchmark::Counter(static_cast<double>(lines) * state.iterations(),
                                                  benchmark::Counter::kIsRate);
}
void BM_MeasureRows(benchmark::State& state) {
    MeasureRows(state, false);
}
BENCHMARK(BM_MeasureRows)
    ->Args({1000000, 0})
    ->Args({1000000, 1})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();
void BM_MeasureSequence(benchmark::State& state) {
    MeasureRows(state, true);
}
BENCHMARK(BM_MeasureSequence)
    ->Args({1000000, 0})
    ->Args({1000000, 1})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RegisterBundledFonts();
    QTemporaryDir dir;
    g_dir = &dir;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
