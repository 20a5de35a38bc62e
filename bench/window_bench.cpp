// Start-up of the program and setting + showing a one-line 1 MiB cipher text,
// each beside a bare QMainWindow doing the same in the same run.
//
// Start-up runs this binary again as a probe process: it opens its window
// and reports once the window is exposed; the time is taken from the start of
// the process to that report.
#include "window/message_area.h"
#include "window/module1.h"
#include "window/tarvex.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QProcess>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>

namespace {

constexpr const char* kProbeFlag = "--probe=";

void waitUntilExposed(QWidget& window) {
    while (window.windowHandle() == nullptr || !window.windowHandle()->isExposed()) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

// The probe: the same start-up as the program, or a bare main window.
int runProbe(int argc, char* argv[], const std::string& which) {
    QApplication app(argc, argv);
    std::unique_ptr<QWidget> window;
    if (which == "tarvex") {
        window = tarvex::window::Module1::Main();
    } else {
        auto bare = std::make_unique<QMainWindow>();
        bare->setWindowTitle(QStringLiteral("bare"));
        bare->show();
        window = std::move(bare);
    }
    waitUntilExposed(*window);
    std::puts("shown");
    std::fflush(stdout);
    return 0;
}

QString selfPath;

void startUp(benchmark::State& state, const char* which) {
    for (auto _ : state) {
        QProcess probe;
        QElapsedTimer clock;
        clock.start();
        probe.start(selfPath, {QString::fromLatin1(kProbeFlag) + QString::fromLatin1(which)});
        if (!probe.waitForReadyRead(10000)) {
            state.SkipWithError("the probe did not report");
            break;
        }
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
        probe.waitForFinished(10000);
    }
}

void BM_StartUp_BareMainWindow(benchmark::State& state) { startUp(state, "bare"); }
void BM_StartUp_Tarvex(benchmark::State& state) { startUp(state, "tarvex"); }

constexpr std::size_t kMiB = 1024 * 1024;

// A cipher text: the marker, then printable codes, all on one line.
std::string cipherLine() {
    std::string text(kMiB, ' ');
    text[0] = '\xF0';
    std::mt19937 random(7);
    std::uniform_int_distribution<int> code(32, 122);
    for (std::size_t i = 1; i < text.size(); ++i) {
        text[i] = static_cast<char>(code(random));
    }
    return text;
}

void BM_SetAndShow1MiBLine_BareMainWindow(benchmark::State& state) {
    QMainWindow window;
    auto* editor = new QPlainTextEdit(&window);
    window.setCentralWidget(editor);
    window.resize(468, 433);
    window.show();
    waitUntilExposed(window);
    const std::string codes = cipherLine();
    const QString text = QString::fromLatin1(codes.data(), static_cast<qsizetype>(codes.size()));
    for (auto _ : state) {
        editor->setPlainText(text);
        window.repaint();
        QApplication::processEvents();
        state.PauseTiming();
        editor->clear();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kMiB));
}

void BM_SetAndShow1MiBLine_Tarvex(benchmark::State& state) {
    const auto window = tarvex::window::Module1::Main();
    waitUntilExposed(*window);
    auto* area = window->findChild<tarvex::window::MessageArea*>(QStringLiteral("Text3"));
    const std::string text = cipherLine();
    for (auto _ : state) {
        area->setText(text);
        window->repaint();
        QApplication::processEvents();
        state.PauseTiming();
        area->setText("");
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kMiB));
}

} // namespace

BENCHMARK(BM_StartUp_BareMainWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_StartUp_Tarvex)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_SetAndShow1MiBLine_BareMainWindow)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SetAndShow1MiBLine_Tarvex)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], kProbeFlag, std::strlen(kProbeFlag)) == 0) {
            return runProbe(argc, argv, argv[i] + std::strlen(kProbeFlag));
        }
    }
    // Probes and measurements run without a display unless one is chosen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    selfPath = QCoreApplication::applicationFilePath();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
