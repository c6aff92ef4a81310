#pragma once

#include <QStringList>

#include <optional>

namespace ao07::ui {

/// The logs after "--trends" when the program is asked for the Trends window alone
/// (`ao07-telemetry --trends LOG...`); nullopt when the arguments do not hold "--trends".
std::optional<QStringList> TrendsLogsRequested(const QStringList& arguments);

/// Shows the Trends window alone for the logs and runs the program until it is closed.
int RunTrendsAlone(const QStringList& logs);

}  // namespace ao07::ui
