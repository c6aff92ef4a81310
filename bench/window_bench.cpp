// The window's step as the operator sees it: a Next click on the real main window (offscreen),
// the labels it changes, and the repaint of the window that follows, with CSV output on.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

#include "ui/file_chooser.h"
#include "ui/main_window/main_window.h"
#include "ui/message_boxes.h"

namespace {

constexpr int kSteps = 20000;               // steps timed, 10 to a frame
constexpr int kFrames = kSteps / 10 + 100;  // the log never ends while it is timed

/// Opens the benchmark's log without a dialog.
class FixedChooser final : public ao07::ui::FileChooser {
public:
    explicit FixedChooser(QString path) : m_path(std::move(path)) {}
    std::optional<QString> ChooseFileToOpen(QWidget*, const QStringList&, const QString&) override {
        return m_path;
    }

private:
    QString m_path;
};

/// A message would stop the benchmark; none is expected, so one is an error.
class NoMessages final : public ao07::ui::MessageBoxes {
public:
    void ShowMessage(QWidget*, const QString& text) override {
        throw std::runtime_error(text.toStdString());
    }
    void ShowError(QWidget*, const QString& text) override {
        throw std::runtime_error(text.toStdString());
    }
};

QByteArray Log() {
    const QByteArray frame =
        "ORBIT 23514\r\nTIME 14:32\r\nDATE 08-JUL-02\r\nHI HI\r\n"
        "150 101 1x1 101\r\n205 250 299 250\r\n350 399 301 365\r\n"
        "450 465 465 465\r\n565 550 5x5 501\r\n650 650 650 650\r\n";
    return frame.repeated(kFrames);
}

double Percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1))];
}

void BM_WindowStep(benchmark::State& state) {
    QTemporaryDir dir;
    const QString logPath = dir.filePath(QStringLiteral("log.txt"));
    QFile file(logPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(Log()) < 0) {
        state.SkipWithError("cannot write the log");
        return;
    }
    file.close();
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());  // "ao-07.csv" goes there

    {
        ao07::ui::MainWindow window(std::make_unique<FixedChooser>(logPath),
                                    std::make_unique<NoMessages>());
        window.show();
        QApplication::processEvents();
        window.Controls().chkEnableCSVFile->setChecked(true);
        window.onOpenTriggered();
        QApplication::processEvents();

        std::vector<double> stepMs;
        stepMs.reserve(kSteps);
        for (auto _ : state) {
            const auto start = std::chrono::steady_clock::now();
            window.onNextClicked();
            QApplication::processEvents();  // the repaint of the changed labels
            stepMs.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count());
        }
        state.counters["median_ms"] = Percentile(stepMs, 0.5);
        state.counters["p99_ms"] = Percentile(stepMs, 0.99);
        state.counters["max_ms"] = Percentile(stepMs, 1.0);
    }
    QDir::setCurrent(previous);
}
BENCHMARK(BM_WindowStep)->Iterations(kSteps)->Unit(benchmark::kMicrosecond);

/// A frame whose TIME and DATE lines run to `length` bytes (the reader keeps at most 1 MiB of a
/// line), so that the raw line, both header labels and the record in "Output Data" (which
/// carries both fields) are as long as a log can make them. With `blanks` a blank follows every
/// seventh character, giving the record words to wrap at; without, it is one unbroken word.
QByteArray HugeFrame(qsizetype length, bool blanks) {
    const auto padded = [&](QByteArray line) {
        QByteArray filler;
        filler.reserve(length);
        while (line.size() + filler.size() < length) {
            filler.append(blanks && filler.size() % 8 == 7 ? ' ' : char('0' + filler.size() % 10));
        }
        return line + filler + "\r\n";
    };
    QByteArray frame = "ORBIT 23514\r\n" + padded("TIME 14:32") + padded("DATE 08-JUL-02");
    return frame +
           "150 101 1x1 101\r\n205 250 299 250\r\n350 399 301 365\r\n"
           "450 465 465 465\r\n565 550 5x5 501\r\n650 650 650 650\r\n";
}

/// Each iteration opens the huge frame afresh with CSV output on and steps to its row 6; the
/// counters give the slowest single step (a Next click and the repaint after it).
void BM_WindowStepHugeFrame(benchmark::State& state) {
    QTemporaryDir dir;
    const QString logPath = dir.filePath(QStringLiteral("huge.txt"));
    QFile file(logPath);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(HugeFrame(state.range(0), state.range(1) != 0)) < 0) {
        state.SkipWithError("cannot write the log");
        return;
    }
    file.close();
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    {
        ao07::ui::MainWindow window(std::make_unique<FixedChooser>(logPath),
                                    std::make_unique<NoMessages>());
        window.show();
        QApplication::processEvents();
        std::vector<double> stepMs;
        for (auto _ : state) {
            window.onOpenTriggered();  // shows the ORBIT line
            window.Controls().chkEnableCSVFile->setChecked(true);
            QApplication::processEvents();
            for (int line = 2; line <= 9; ++line) {  // TIME, DATE, rows 1 to 6
                const auto start = std::chrono::steady_clock::now();
                window.onNextClicked();
                QApplication::processEvents();
                stepMs.push_back(std::chrono::duration<double, std::milli>(
                                     std::chrono::steady_clock::now() - start)
                                     .count());
            }
        }
        state.counters["median_ms"] = Percentile(stepMs, 0.5);
        state.counters["max_ms"] = Percentile(stepMs, 1.0);
    }
    QDir::setCurrent(previous);
}
BENCHMARK(BM_WindowStepHugeFrame)
    ->ArgNames({"bytes", "blanks"})
    ->Args({50'000, 0})
    ->Args({50'000, 1})
    ->Args({200'000, 0})
    ->Args({1 << 20, 0})
    ->Args({1 << 20, 1})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    // The folder of the benchmark's log goes to a test location, not the user's settings.
    QStandardPaths::setTestModeEnabled(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
