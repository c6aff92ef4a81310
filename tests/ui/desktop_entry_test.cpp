// The desktop entry that the build configures carries the program's own title and version.
#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <QStringList>

#include "core/program_identity.h"

namespace ao07 {
namespace {

QStringList DesktopEntryLines() {
    QFile entry(QStringLiteral(AO07_DESKTOP_FILE));
    EXPECT_TRUE(entry.open(QIODevice::ReadOnly)) << AO07_DESKTOP_FILE;
    return QString::fromUtf8(entry.readAll()).split(QLatin1Char('\n'));
}

TEST(DesktopEntry, NameIsTheProgramTitle) {
    EXPECT_TRUE(
        DesktopEntryLines().contains(QStringLiteral("Name=") + QString::fromLatin1(kProgramTitle)));
}

TEST(DesktopEntry, VersionIsTheProgramVersion) {
    EXPECT_TRUE(DesktopEntryLines().contains(QStringLiteral("X-AO07-Version=") +
                                             QString::fromLatin1(kVersionText)));
}

TEST(DesktopEntry, StartsTheProgramWithItsIcon) {
    const QStringList lines = DesktopEntryLines();
    EXPECT_TRUE(lines.contains(QStringLiteral("Exec=ao07-telemetry %f")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Icon=ao07-telemetry")));
}

}  // namespace
}  // namespace ao07
