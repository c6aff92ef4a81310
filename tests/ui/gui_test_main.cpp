// The windows' tests need a QApplication; the offscreen platform is chosen here (not only in
// the CTest environment) because test discovery runs this binary at build time too.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
        qputenv("XDG_RUNTIME_DIR", AO07_TEST_RUNTIME_DIR);
    }
    QApplication app(argc, argv);
    // The remembered log folder goes to settings of this test process alone: never the user's,
    // and never those of a test running beside it.
    const QTemporaryDir settings;
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    QCoreApplication::setOrganizationName(QStringLiteral("ao07-telemetry-tests"));
    QCoreApplication::setApplicationName(QStringLiteral("ao07-telemetry-tests"));
    return RUN_ALL_TESTS();
}
