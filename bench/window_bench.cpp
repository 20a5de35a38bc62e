// SPDX-License-Identifier: GPL-3.0-or-later

// The window's performance budget, each figure beside its baseline in the same run:
// - start-up to a painted window, and peak memory at rest, against a bare
//   QMainWindow holding the same widgets (Qt's own text widget as the message area);
// - setting and painting a one-line 1 MiB cipher text in the message area,
//   against the same in the bare window's QPlainTextEdit;
// - Encrypt and Decrypt of 1 MiB in E-Mail mode, from the button until the
//   result is painted, against the transform alone and against the bare
//   window doing the transform and showing its result;
// - Seal and Open of the same 1 MiB in E-Mail mode until painted, against
//   Encrypt and Decrypt in the window.
//
// Start-up and memory run this binary again as a probe process: it opens its
// window, reports once the window is painted, idles a while and reports its
// peak resident memory.
#include "window/artwork.h"
#include "window/layout_table.h"
#include "window/message_area.h"
#include "window/tarvex.h"

#include "cipher/key_file_reader.h"
#include "cipher/text_transformer.h"
#include "platform/program_title.h"
#include "seal/sealer.h"
#include "seal/sealing_key.h"
#include "text/charset.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>

namespace {

namespace layout = tarvex::window::layout;

constexpr const char* kProbeFlag = "--probe=";
constexpr std::size_t kMiB = 1024 * 1024;
constexpr int kRestMilliseconds = 500;

QString qt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Watches a window for its first paint.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget& window) { window.installEventFilter(this); }
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted = true;
        }
        return QObject::eventFilter(watched, event);
    }
};

// Painting and flushing happen in one pass, so once the paint event has been
// seen and control is back here, the window is on screen.
void waitUntilPainted(QWidget& window, PaintWatch& watch) {
    while (window.windowHandle() == nullptr || !window.windowHandle()->isExposed() || !watch.painted) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

// A QMainWindow with the program's controls as plain Qt widgets and no logic.
std::unique_ptr<QMainWindow> bareWindow() {
    auto window = std::make_unique<QMainWindow>();
    window->setWindowTitle(QString::fromUtf8(tarvex::platform::kWindowCaption));
    window->setWindowIcon(tarvex::window::artwork::windowIcon());
    auto* client = new QWidget(window.get());
    client->setFixedSize(layout::twipsToPixels(layout::kClientWidth), layout::twipsToPixels(layout::kClientHeight));
    window->setCentralWidget(client);
    std::map<std::string_view, QWidget*> containers{{std::string_view{}, client}};
    for (const layout::ControlEntry& entry : layout::kControls) {
        QWidget* container = containers.at(entry.container);
        const QRect box(layout::twipsToPixels(entry.rect.left), layout::twipsToPixels(entry.rect.top),
                        layout::twipsToPixels(entry.rect.width), layout::twipsToPixels(entry.rect.height));
        QWidget* widget = nullptr;
        switch (entry.kind) {
        case layout::Kind::Frame:
            widget = new QGroupBox(qt(entry.caption), container);
            containers.emplace(entry.name, widget);
            break;
        case layout::Kind::ModeButton:
        case layout::Kind::Button:
            widget = new QPushButton(qt(entry.caption), container);
            break;
        case layout::Kind::TextBox:
            widget = new QLineEdit(container);
            break;
        case layout::Kind::MessageArea: {
            auto* editor = new QPlainTextEdit(container);
            editor->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
            editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            widget = editor;
            break;
        }
        case layout::Kind::Picture: {
            auto* picture = new QLabel(container);
            picture->setPixmap(tarvex::window::artwork::logo(box.size(), window->devicePixelRatioF()));
            widget = picture;
            break;
        }
        case layout::Kind::Label:
            widget = new QLabel(qt(entry.caption), container);
            break;
        }
        widget->setObjectName(qt(entry.name));
        widget->setGeometry(box);
        widget->setEnabled(entry.enabled);
    }
    for (const layout::MenuEntry& menuEntry : layout::kMenus) {
        QMenu* menu = window->menuBar()->addMenu(qt(menuEntry.caption));
        for (const layout::MenuItemEntry& item : menuEntry.items) {
            menu->addAction(qt(item.caption))->setShortcut(QKeySequence(qt(item.shortcut)));
        }
    }
    return window;
}

long peakResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

// The probe: the program's own start-up, or the bare window shown.
int runProbe(int argc, char* argv[], const std::string& which) {
    QApplication app(argc, argv);
    std::unique_ptr<QWidget> window;
    std::unique_ptr<PaintWatch> watch;
    if (which == "tarvex") {
        // Shown as main() shows it; its first paint comes from the event loop after that.
        window = std::make_unique<tarvex::window::Tarvex>();
        window->show();
        watch = std::make_unique<PaintWatch>(*window);
    } else {
        window = bareWindow();
        watch = std::make_unique<PaintWatch>(*window);
        window->show();
    }
    waitUntilPainted(*window, *watch);
    std::puts("painted");
    std::fflush(stdout);

    QElapsedTimer resting;
    resting.start();
    while (resting.elapsed() < kRestMilliseconds) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    std::printf("%ld\n", peakResidentKiB());
    std::fflush(stdout);
    return 0;
}

QString selfPath;

// Runs a probe; the time to its first line, and its peak memory at rest.
bool probe(const char* which, double& seconds, double& peakMiB) {
    QProcess process;
    QElapsedTimer clock;
    clock.start();
    process.start(selfPath, {QString::fromLatin1(kProbeFlag) + QString::fromLatin1(which)});
    if (!process.waitForReadyRead(10000)) {
        return false;
    }
    seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    if (!process.waitForFinished(10000)) {
        return false;
    }
    const QList<QByteArray> lines = process.readAllStandardOutput().split('\n');
    if (lines.size() < 2 || lines[0] != "painted") {
        return false;
    }
    peakMiB = lines[1].toDouble() / 1024.0;
    return true;
}

void startUp(benchmark::State& state, const char* which) {
    double peak = 0;
    for (auto _ : state) {
        double seconds = 0;
        double peakMiB = 0;
        if (!probe(which, seconds, peakMiB)) {
            state.SkipWithError("the probe did not report");
            break;
        }
        state.SetIterationTime(seconds);
        peak = std::max(peak, peakMiB);
    }
    state.counters["peak_MiB_at_rest"] = peak;
}

void BM_StartUp_BareMainWindow(benchmark::State& state) { startUp(state, "bare"); }
void BM_StartUp_Tarvex(benchmark::State& state) { startUp(state, "tarvex"); }

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

// Words of `letter()` in lines of 78 characters, CR LF between them, until
// fewer than `room` bytes of 1 MiB are left.
template <typename Letter>
std::string prose(std::mt19937& random, int longestWord, std::size_t room, Letter letter) {
    std::string text;
    text.reserve(kMiB);
    std::uniform_int_distribution<int> wordLength(1, longestWord);
    std::size_t column = 0;
    while (text.size() + room < kMiB) {
        if (column >= 78) {
            text += "\r\n";
            column = 0;
        } else if (column > 0 && wordLength(random) == 1) {
            text += ' ';
            ++column;
        } else {
            text += letter();
            ++column;
        }
    }
    return text;
}

// A message: words of printable codes, exactly 1 MiB.
std::string messageText() {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> code(33, 122);
    std::string text = prose(random, 9, 2, [&] { return std::string(1, static_cast<char>(code(random))); });
    text.resize(kMiB, '.');
    return text;
}

QPlainTextEdit& bareEditor(QMainWindow& window) {
    return *window.findChild<QPlainTextEdit*>(QStringLiteral("Text3"));
}

void setAndShowBare(QMainWindow& window, const QString& text) {
    bareEditor(window).setPlainText(text);
    window.repaint();
    QApplication::processEvents();
}

void setAndShowInBareWindow(benchmark::State& state, const QString& text) {
    const auto window = bareWindow();
    PaintWatch watch(*window);
    window->show();
    waitUntilPainted(*window, watch);
    for (auto _ : state) {
        setAndShowBare(*window, text);
        state.PauseTiming();
        bareEditor(*window).clear();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kMiB));
}

void BM_SetAndShow1MiBLine_BareMainWindow(benchmark::State& state) {
    const std::string codes = cipherLine();
    setAndShowInBareWindow(state, QString::fromLatin1(codes.data(), static_cast<qsizetype>(codes.size())));
}

struct ShownTarvex {
    std::unique_ptr<tarvex::window::Tarvex> window;
    std::unique_ptr<PaintWatch> watch;
    tarvex::window::MessageArea* area = nullptr;
};

ShownTarvex shownTarvex() {
    ShownTarvex shown;
    shown.window = std::make_unique<tarvex::window::Tarvex>();
    shown.window->show();
    shown.watch = std::make_unique<PaintWatch>(*shown.window);
    waitUntilPainted(*shown.window, *shown.watch);
    shown.area = shown.window->findChild<tarvex::window::MessageArea*>(QStringLiteral("Text3"));
    return shown;
}

void setAndShowInTarvex(benchmark::State& state, std::string_view text) {
    const ShownTarvex shown = shownTarvex();
    for (auto _ : state) {
        shown.area->setText(text);
        shown.window->repaint();
        QApplication::processEvents();
        state.PauseTiming();
        shown.area->setText("");
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kMiB));
}

void BM_SetAndShow1MiBLine_Tarvex(benchmark::State& state) {
    setAndShowInTarvex(state, tarvex::text::charset::toUtf8(cipherLine())); // the area takes UTF-8
}

// 1 MiB of UTF-8 beyond Windows-1252: a sealed token (one line of base58),
// Russian and Arabic prose (words of their letters in lines of about 78
// characters, CR LF between them).
enum class Script { SealedToken, Russian, Arabic };

std::string unicodeText(Script script) {
    std::mt19937 random(13);
    std::string text;
    text.reserve(kMiB + 8);
    if (script == Script::SealedToken) {
        static constexpr char kDigits[] = "123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz";
        std::uniform_int_distribution<int> digit(0, 57);
        text = "tarvex1";
        while (text.size() < kMiB) text += kDigits[digit(random)];
        return text;
    }
    const char16_t first = script == Script::Russian ? u'\u0430' : u'\u0627';
    const char16_t last = script == Script::Russian ? u'\u044F' : u'\u064A';
    std::uniform_int_distribution<int> letter(first, last);
    // Room for a line break after a letter of two bytes.
    return prose(random, 7, 4, [&] { return QString(QChar(static_cast<char16_t>(letter(random)))).toStdString(); });
}

void BM_SetAndShow1MiBUnicode_BareMainWindow(benchmark::State& state) {
    setAndShowInBareWindow(state, QString::fromStdString(unicodeText(static_cast<Script>(state.range(0)))));
}

void BM_SetAndShow1MiBUnicode_Tarvex(benchmark::State& state) {
    setAndShowInTarvex(state, unicodeText(static_cast<Script>(state.range(0))));
}

// A key shared by the encrypt, decrypt, seal and open measurements: long
// enough to seal with.
class KeyFile {
public:
    KeyFile() : path_(dir_.filePath(QStringLiteral("bench.tvk"))) {
        QFile file(path_);
        if (file.open(QIODevice::WriteOnly)) {
            for (int row = 0; row < 16; ++row) {
                QByteArray line;
                for (int column = 0; column < 32; ++column) {
                    line += QByteArray::number((row * 32 + column) * 7 % 30 + 1, 16).rightJustified(2, '0').toUpper();
                }
                file.write(line + "\r\n");
            }
        }
    }
    const QString& path() const { return path_; }
    std::vector<std::uint8_t> numbers() const {
        auto numbers = tarvex::cipher::readKeyNumbers(path_.toStdString());
        return numbers ? std::vector<std::uint8_t>(numbers->begin(), numbers->end()) : std::vector<std::uint8_t>{};
    }

private:
    QTemporaryDir dir_;
    QString path_;
};

enum class Direction { Encrypt, Decrypt };
enum class Command { Encrypt, Decrypt, Seal, Open };

// The message before the command, and what the command should leave: for
// Seal, which never gives the same token twice, only the token's mark.
std::pair<std::string, std::string> commandCase(Command command, const KeyFile& key) {
    const std::string message = messageText();
    if (command == Command::Seal || command == Command::Open) {
        const auto sealing = tarvex::seal::SealingKey::forSealing(key.numbers(), key.path().toStdString());
        if (!sealing) {
            return {};
        }
        if (command == Command::Seal) {
            return {message, "tarvex1"};
        }
        std::string payload;
        for (const char c : message) {
            if (c != '\r') payload += c;
        }
        return {tarvex::seal::sealWhole(payload, *sealing), message};
    }
    const auto cipher = tarvex::cipher::encryptText(message, key.numbers());
    if (!cipher) {
        return {};
    }
    if (command == Command::Encrypt) {
        return {message, std::string(*cipher)};
    }
    return {std::string(*cipher), message};
}

std::pair<std::string, std::string> transformCase(Direction direction, const KeyFile& key) {
    return commandCase(direction == Direction::Encrypt ? Command::Encrypt : Command::Decrypt, key);
}

void commandInTarvex(benchmark::State& state, Command command) {
    const KeyFile key;
    const auto [before, expected] = commandCase(command, key);
    const std::string after =
        command == Command::Encrypt || command == Command::Decrypt ? std::string(std::string_view(tarvex::text::charset::toUtf8(expected))) : expected;
    ShownTarvex shown = shownTarvex();
    shown.window->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(key.path());
    shown.window->findChild<QAbstractButton*>(QStringLiteral("Option2"))->click(); // E-Mail mode
    const auto button = [&](const char* name) { return shown.window->findChild<QAbstractButton*>(QString::fromLatin1(name)); };
    QAction* seal = shown.window->findChild<QAction*>(QStringLiteral("mnuSecSeal"));
    QAbstractButton* run = command == Command::Encrypt ? button("Command9") : button("Command8");
    for (auto _ : state) {
        state.PauseTiming();
        shown.area->setText(command == Command::Seal || command == Command::Open ? std::string_view(before)
                                                                                  : std::string_view(tarvex::text::charset::toUtf8(before)));
        shown.window->repaint();
        QApplication::processEvents();
        if (command == Command::Seal ? !seal->isEnabled() : !run->isEnabled()) {
            state.SkipWithError("the command is not enabled");
            break;
        }
        state.ResumeTiming();
        if (command == Command::Seal) {
            seal->trigger();
        } else {
            run->click();
        }
        shown.window->repaint();
        QApplication::processEvents();
    }
    const std::string left(std::string_view(shown.area->text()));
    if (command == Command::Seal ? left.rfind(after, 0) != 0 || left.size() < before.size() : left != after) {
        state.SkipWithError("the command did not leave the expected text");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kMiB));
}

void transformAlone(benchmark::State& state, Direction direction) {
    const KeyFile key;
    const auto [before, after] = transformCase(direction, key);
    const auto numbers = key.numbers();
    for (auto _ : state) {
        auto result = direction == Direction::Encrypt ? tarvex::cipher::encryptText(before, numbers)
                                                      : tarvex::cipher::decryptText(before, numbers);
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kMiB));
}

// The bare window: the same transform, its result set in and painted by QPlainTextEdit.
void transformInBareWindow(benchmark::State& state, Direction direction) {
    const KeyFile key;
    const auto [before, after] = transformCase(direction, key);
    const auto window = bareWindow();
    PaintWatch watch(*window);
    window->show();
    waitUntilPainted(*window, watch);
    const auto latin1 = [](std::string_view codes) {
        return QString::fromLatin1(codes.data(), static_cast<qsizetype>(codes.size()));
    };
    const QString beforeText = latin1(before);
    for (auto _ : state) {
        state.PauseTiming();
        setAndShowBare(*window, beforeText);
        state.ResumeTiming();
        const std::string shown = bareEditor(*window).toPlainText().toStdString();
        const auto numbers = tarvex::cipher::readKeyNumbers(key.path().toStdString());
        auto result = direction == Direction::Encrypt ? tarvex::cipher::encryptText(shown, *numbers)
                                                      : tarvex::cipher::decryptText(shown, *numbers);
        setAndShowBare(*window, result ? latin1(*result) : QString());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kMiB));
}

void BM_EncryptEmail1MiB_TransformAlone(benchmark::State& state) { transformAlone(state, Direction::Encrypt); }
void BM_EncryptEmail1MiB_BareMainWindow(benchmark::State& state) { transformInBareWindow(state, Direction::Encrypt); }
void BM_EncryptEmail1MiB_Tarvex(benchmark::State& state) { commandInTarvex(state, Command::Encrypt); }
void BM_DecryptEmail1MiB_TransformAlone(benchmark::State& state) { transformAlone(state, Direction::Decrypt); }
void BM_DecryptEmail1MiB_BareMainWindow(benchmark::State& state) { transformInBareWindow(state, Direction::Decrypt); }
void BM_DecryptEmail1MiB_Tarvex(benchmark::State& state) { commandInTarvex(state, Command::Decrypt); }
void BM_SealEmail1MiB_Tarvex(benchmark::State& state) { commandInTarvex(state, Command::Seal); }
void BM_OpenEmail1MiB_Tarvex(benchmark::State& state) { commandInTarvex(state, Command::Open); }

} // namespace

// The window's own cases report medians of five runs: a run whose big buffers
// all come as fresh pages from the kernel takes up to twice as long.
BENCHMARK(BM_StartUp_BareMainWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_StartUp_Tarvex)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_SetAndShow1MiBLine_BareMainWindow)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SetAndShow1MiBLine_Tarvex)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(5)->ReportAggregatesOnly();
// Argument 0: a sealed token, 1: Russian prose, 2: Arabic prose.
// QPlainTextEdit lays a 1 MiB line out for about a minute: once is enough.
BENCHMARK(BM_SetAndShow1MiBUnicode_BareMainWindow)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SetAndShow1MiBUnicode_BareMainWindow)->DenseRange(1, 2)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SetAndShow1MiBUnicode_Tarvex)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Iterations(10)
    ->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_EncryptEmail1MiB_TransformAlone)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_EncryptEmail1MiB_BareMainWindow)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_EncryptEmail1MiB_Tarvex)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_DecryptEmail1MiB_TransformAlone)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_DecryptEmail1MiB_BareMainWindow)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DecryptEmail1MiB_Tarvex)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_SealEmail1MiB_Tarvex)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_OpenEmail1MiB_Tarvex)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(5)->ReportAggregatesOnly();

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
