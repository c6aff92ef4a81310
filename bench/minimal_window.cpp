// ao07-minimal-window: the least a Qt Widgets program does to show a window, built with the same
// compiler, flags and start-up timing hook as ao07-telemetry-first-frame. bench/run.sh compares
// the program's start-up time and memory with this one's.
//
// `ao07-minimal-window N` shows N plain labels instead of one, placed the way the main window
// places its controls (fixed geometry, no layout): a window with as many controls as the
// program's, for telling the cost of the controls from the cost of the program's own code.

#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <cstdlib>

#include "bench/first_frame_report.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int labels = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    constexpr int kColumns = 6;
    constexpr int kWidth = 88;
    constexpr int kHeight = 18;

    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal window"));
    for (int i = 0; i < labels; ++i) {
        auto* label = new QLabel(QStringLiteral("Label %1").arg(i + 1), &window);
        label->setGeometry(8 + (i % kColumns) * kWidth, 8 + (i / kColumns) * kHeight, kWidth - 4,
                           kHeight - 2);
    }
    window.resize(16 + kColumns * kWidth, 16 + (labels + kColumns - 1) / kColumns * kHeight);
    ao07::bench::ReportFirstFrame(window);
    window.show();
    return QApplication::exec();
}
