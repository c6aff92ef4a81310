#include "ui/application_identity.h"

#include <QGuiApplication>

#include "ao07_version.h"

namespace ao07::ui {

void SetApplicationIdentity() {
    const QString name = QStringLiteral("ao07-telemetry");
    QCoreApplication::setApplicationName(name);
    QCoreApplication::setOrganizationName(name);
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kVersionText));
    // The desktop entry is installed as ao07-telemetry.desktop.
    QGuiApplication::setDesktopFileName(name);
}

}  // namespace ao07::ui
