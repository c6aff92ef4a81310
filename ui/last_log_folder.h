#pragma once

#include <QString>

namespace ao07::ui {

/// The folder of the log opened last, kept in the user's settings (QSettings of the
/// application's name) so that the file dialog starts there after a restart; "" when none.
QString LastLogFolder();

/// Remembers the folder that holds `logName`.
void RememberLogFolder(const QString& logName);

}  // namespace ao07::ui
