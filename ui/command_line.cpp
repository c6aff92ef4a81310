#include "ui/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ui/application_identity.h"
#include "ui/listen/listen_window_loader.h"

namespace ao07::ui {
namespace {

[[noreturn]] void UsageError(const QString& message) {
    std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n",
                 qPrintable(QCoreApplication::applicationName()), qPrintable(message),
                 qPrintable(QCoreApplication::applicationName()));
    std::exit(2);
}

/// The program's options, described once for both readings of the command line.
struct Options {
    QCommandLineParser parser;
    QCommandLineOption help = parser.addHelpOption();
    QCommandLineOption version = parser.addVersionOption();
    QCommandLineOption steps{
        QStringLiteral("steps"),
        QStringLiteral("For demonstrations and screenshots: press Next <n> times after opening "
                       "LOG."),
        QStringLiteral("n")};
    QCommandLineOption trends{
        QStringLiteral("trends"),
        QStringLiteral("Show only the Trends window, with the channels of every LOG given.")};
    QCommandLineOption listen{
        QStringLiteral("listen"),
        QStringLiteral("Show only the Listen window, which copies the beacon from a sound input "
                       "or from RECORDING into a log. Given a RECORDING or --device, it starts "
                       "at once.")};
    QCommandLineOption listenLog{
        QStringLiteral("log"),
        QStringLiteral("With --listen: the log to make (default: a name from the UTC date and "
                       "time, in the folder of the last log)."),
        QStringLiteral("path")};
    QCommandLineOption device{
        QStringLiteral("device"),
        QStringLiteral("With --listen: copy from this sound input, named as listed below."),
        QStringLiteral("name")};
    QCommandLineOption fast{
        QStringLiteral("fast"),
        QStringLiteral("With --listen and a RECORDING: copy it as fast as it goes, not at real "
                       "time.")};

    Options() {
        parser.setApplicationDescription(QStringLiteral(
            "Steps through a typed log of the AO-07 CW telemetry beacon and shows its "
            "24 decoded channels."));
        parser.addOption(steps);
        parser.addOption(trends);
        for (const QCommandLineOption* option : {&listen, &listenLog, &device, &fast}) {
            parser.addOption(*option);
        }
        parser.addPositionalArgument(QStringLiteral("LOG"),
                                     QStringLiteral("The log to open at start-up, as File > Open "
                                                    "would; with --trends, any number of logs; "
                                                    "with --listen, the RECORDING to copy."),
                                     QStringLiteral("[LOG]"));
    }

    /// Prints the help, with the sound inputs --device takes, and ends the program.
    [[noreturn]] void ShowHelp() const {
        std::fputs(qPrintable(parser.helpText() + QLatin1Char('\n') + SoundInputsHelp()), stdout);
        std::exit(0);
    }
};

}  // namespace

void AnswerHelpAndVersion(int& argc, char** argv) {
    bool asked = false;
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        for (const char* question : {"-h", "--help", "-v", "--version"}) {
            asked = asked || std::strcmp(argv[i], question) == 0;
        }
    }
    if (!asked) {
        return;
    }
    // An application without a window system, gone before the real one is made.
    const QCoreApplication plain(argc, argv);
    SetApplicationIdentity();
    Options options;
    // Qt's own options (-platform, -style, ...) are known only to the windowed application:
    // a command line with them is read in full there.
    if (!options.parser.parse(plain.arguments())) {
        return;
    }
    if (options.parser.isSet(options.help)) {
        options.ShowHelp();
    }
    if (options.parser.isSet(options.version)) {
        options.parser.showVersion();
    }
}

StartupRequest ReadCommandLine(const QCoreApplication& app) {
    Options options;
    QCommandLineParser& parser = options.parser;
    const QCommandLineOption& help = options.help;
    const QCommandLineOption& version = options.version;
    const QCommandLineOption& steps = options.steps;
    const QCommandLineOption& trends = options.trends;

    if (!parser.parse(app.arguments())) {
        UsageError(parser.errorText());
    }
    if (parser.isSet(help)) {
        options.ShowHelp();
    }
    if (parser.isSet(version)) {
        parser.showVersion();
    }

    StartupRequest request;
    const QStringList logs = parser.positionalArguments();
    const bool listenOnly = parser.isSet(options.listenLog) || parser.isSet(options.device) ||
                            parser.isSet(options.fast);
    if (listenOnly && !parser.isSet(options.listen)) {
        UsageError(QStringLiteral("--log, --device and --fast go with --listen"));
    }
    if (parser.isSet(options.listen)) {
        if (parser.isSet(trends) || parser.isSet(steps)) {
            UsageError(QStringLiteral(
                "--listen shows the Listen window alone, without --trends or --steps"));
        }
        if (logs.size() > 1) {
            UsageError(QStringLiteral("one recording at a time, not %1").arg(logs.size()));
        }
        request.listen = true;
        request.listenRequest.recording = logs.isEmpty() ? QString() : logs.constFirst();
        request.listenRequest.log = parser.value(options.listenLog);
        request.listenRequest.device = parser.value(options.device);
        request.listenRequest.fast = parser.isSet(options.fast);
        if (!request.listenRequest.recording.isEmpty() && parser.isSet(options.device)) {
            UsageError(QStringLiteral("copy from a recording or from --device, not both"));
        }
        if (parser.isSet(options.fast) && request.listenRequest.recording.isEmpty()) {
            UsageError(QStringLiteral("--fast goes with a RECORDING"));
        }
        return request;
    }
    if (parser.isSet(trends)) {
        if (parser.isSet(steps)) {
            UsageError(
                QStringLiteral("--steps steps the main window, which --trends does not show"));
        }
        request.trends = true;
        request.trendLogs = logs;
        return request;
    }
    if (logs.size() > 1) {
        UsageError(QStringLiteral("one log at a time, not %1").arg(logs.size()));
    }
    if (!logs.isEmpty()) {
        request.log = logs.constFirst();
    }
    if (parser.isSet(steps)) {
        bool ok = false;
        request.steps = parser.value(steps).toInt(&ok);
        if (!ok || request.steps < 0) {
            UsageError(QStringLiteral("--steps takes a count of 0 or more, not \"%1\"")
                           .arg(parser.value(steps)));
        }
        if (request.log.isEmpty()) {
            UsageError(QStringLiteral("--steps needs a LOG to step through"));
        }
    }
    return request;
}

}  // namespace ao07::ui
