#pragma once

#include <QString>
#include <QStringList>

#include "ui/listen/listen_request.h"

class QCoreApplication;

namespace ao07::ui {

/// What ao07-telemetry is asked to do at start-up.
struct StartupRequest {
    QString log;          ///< the log to open as File > Open would; empty for none
    int steps = 0;        ///< Next presses after opening the log, for demonstrations
    bool trends = false;  ///< the Trends window alone, of `trendLogs`
    QStringList trendLogs;
    bool listen = false;  ///< the Listen window alone, as `listenRequest` asks
    ListenRequest listenRequest;
};

/// Answers --help and --version (status 0) before any window system is needed, with an
/// application of its own that is gone on return; does nothing when neither is asked for.
void AnswerHelpAndVersion(int& argc, char** argv);

/// Reads the program's arguments: `ao07-telemetry [--steps N] [LOG]`,
/// `ao07-telemetry --trends LOG...` or
/// `ao07-telemetry --listen [RECORDING] [--log PATH] [--device NAME] [--fast]`. --help (which
/// also lists the sound inputs) and --version
/// print their text and end the program with status 0; bad usage prints the reason and ends it
/// with status 2.
StartupRequest ReadCommandLine(const QCoreApplication& app);

}  // namespace ao07::ui
