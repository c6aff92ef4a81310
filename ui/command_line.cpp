#include "ui/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

namespace ao07::ui {
namespace {

[[noreturn]] void UsageError(const QString& message) {
    std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n",
                 qPrintable(QCoreApplication::applicationName()), qPrintable(message),
                 qPrintable(QCoreApplication::applicationName()));
    std::exit(2);
}

}  // namespace

StartupRequest ReadCommandLine(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Steps through a typed log of the AO-07 CW telemetry beacon and shows its "
                       "24 decoded channels."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption steps(
        QStringLiteral("steps"),
        QStringLiteral("For demonstrations and screenshots: press Next <n> times after opening "
                       "LOG."),
        QStringLiteral("n"));
    parser.addOption(steps);
    const QCommandLineOption trends(
        QStringLiteral("trends"),
        QStringLiteral("Show only the Trends window, with the channels of every LOG given."));
    parser.addOption(trends);
    parser.addPositionalArgument(QStringLiteral("LOG"),
                                 QStringLiteral("The log to open at start-up, as File > Open "
                                                "would; with --trends, any number of logs."),
                                 QStringLiteral("[LOG]"));

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
