// ao07-telemetry-first-frame: starts the main window as ao07-telemetry does without a log, and
// reports its first painted frame (bench/first_frame_report.h). bench/run.sh compares its
// start-up with ao07-minimal-window's.

#include <QApplication>

#include "bench/first_frame_report.h"
#include "ui/application_identity.h"
#include "ui/command_line.h"
#include "ui/main_window/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ao07::ui::SetApplicationIdentity();
    ao07::ui::ReadCommandLine(app);

    ao07::ui::MainWindow window;
    ao07::bench::ReportFirstFrame(window);
    window.show();
    return QApplication::exec();
}
