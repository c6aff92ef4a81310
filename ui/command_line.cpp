#include "ui/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ui/application_identity.h"

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

    Options() {
        parser.setApplicationDescription(QStringLiteral(
            "Steps through a typed log of the AO-07 CW telemetry beacon and shows its "
            "24 decoded channels."));
        parser.addOption(steps);
        parser.addOption(trends);
        parser.addPositionalArgument(QStringLiteral("LOG"),
                                     QStringLiteral("The log to open at start-up, as File > Open "
                                                    "would; with --trends, any number of logs."),
                                     QStringLiteral("[LOG]"));
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
        options.parser.showHelp(0);
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
        parser.showHelp(0);
    }
    if (parser.isSet(version)) {
        parser.showVersion();
    }

    StartupRequest request;
    const QStringList logs = parser.positionalArguments();
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
