// ao07-telemetry: the AO-07 telemetry display.
//   ao07-telemetry [--steps N] [LOG]
// opens LOG at start-up exactly as File > Open would; --steps presses Next N times after that
// (scripts/screenshot.sh uses it).
//   ao07-telemetry --trends LOG...
// shows the Trends window of those logs and nothing else.
//   ao07-telemetry --listen [RECORDING] [--log PATH] [--device NAME] [--fast]
// shows the Listen window alone, loaded from its module.

#include <QApplication>

#include "ui/application_identity.h"
#include "ui/command_line.h"
#include "ui/listen/listen_window_loader.h"
#include "ui/main_window/main_window.h"
#include "ui/trends/trends_command_line.h"

int main(int argc, char** argv) {
    // Answered without a display, as a manual page or a package check may ask.
    ao07::ui::AnswerHelpAndVersion(argc, argv);
    QApplication app(argc, argv);
    ao07::ui::SetApplicationIdentity();
    const ao07::ui::StartupRequest request = ao07::ui::ReadCommandLine(app);

    if (request.trends) {
        return ao07::ui::RunTrendsAlone(request.trendLogs);
    }
    if (request.listen) {
        return ao07::ui::OpenListenWindow(request.listenRequest, nullptr) != nullptr
                   ? QApplication::exec()
                   : 1;
    }
    ao07::ui::MainWindow window;
    window.show();
    if (!request.log.isEmpty()) {
        window.OpenLogFile(request.log);
        for (int step = 0; step < request.steps; ++step) {
            window.onNextClicked();
        }
    }
    return QApplication::exec();
}
