// The windows' tests need a QApplication; the offscreen platform is chosen here (not only in
// the CTest environment) because test discovery runs this binary at build time too.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
        qputenv("XDG_RUNTIME_DIR", AO07_TEST_RUNTIME_DIR);
    }
    QApplication app(argc, argv);
    // The remembered log folder goes to the test's own settings, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("ao07-telemetry-tests"));
    QCoreApplication::setApplicationName(QStringLiteral("ao07-telemetry-tests"));
    return RUN_ALL_TESTS();
}
