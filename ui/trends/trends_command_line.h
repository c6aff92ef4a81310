#pragma once

#include <QStringList>

namespace ao07::ui {

/// Shows the Trends window alone for the logs and runs the program until it is closed.
int RunTrendsAlone(const QStringList& logs);

}  // namespace ao07::ui
