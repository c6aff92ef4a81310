// ao07-minimal-window: the least a Qt Widgets program does to show a window, built with the same
// compiler, flags and start-up timing hook as ao07-telemetry. bench/run.sh compares the
// program's start-up time and memory with this one's.

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

#include "ui/first_frame_report.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal window"));
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("A label"), &window));
    ao07::ui::ReportFirstFrame(window);
    window.show();
    return QApplication::exec();
}
