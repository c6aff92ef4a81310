#include "ui/last_log_folder.h"

#include <QFileInfo>
#include <QSettings>

namespace ao07::ui {
namespace {

const QString kKey = QStringLiteral("lastLogFolder");

}  // namespace

QString LastLogFolder() {
    return QSettings().value(kKey).toString();
}

void RememberLogFolder(const QString& logName) {
    QSettings().setValue(kKey, QFileInfo(logName).absolutePath());
}

}  // namespace ao07::ui
