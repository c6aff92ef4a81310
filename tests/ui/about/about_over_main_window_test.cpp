// The About window over the main window: it is modeless, so the log steps on behind it, by
// Next and by Auto mode alike.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QSignalSpy>

#include <string_view>
#include <vector>

#include "ui/about/about_window.h"
#include "ui/main_window/main_window_fixture.h"

namespace ao07::test {
namespace {

const std::initializer_list<std::string_view> kFrame = {
    "ORBIT 12345",     "TIME 14:32",      "DATE 08-JUL-02",  "HI HI",           "150 150 150 150",
    "250 250 250 250", "350 350 350 350", "450 450 450 450", "550 550 550 550", "650 650 650 650"};

class AboutOverMainWindowTest : public MainWindowTest {
protected:
    void TearDown() override {
        if (ui::AboutWindow* about = ui::AboutWindow::Instance()) {
            about->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        MainWindowTest::TearDown();
    }

    /// Chooses About on the main window's menu bar, as the user does.
    ui::AboutWindow* ChooseAbout() {
        auto* about = Find<QAction>(QStringLiteral("mnuAbout"));
        QMenuBar* bar = window->menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(about).center());
        return ui::AboutWindow::Instance();
    }

    static QString Line(std::size_t index) {
        return QString::fromLatin1(std::vector<std::string_view>(kFrame).at(index));
    }
};

TEST_F(AboutOverMainWindowTest, NextStepsThroughTheLogWhileAboutIsOpen) {
    OpenThroughMenu(WriteLog("pass.txt", kFrame));
    ui::AboutWindow* about = ChooseAbout();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(window->isEnabled());

    Click("butNext");
    EXPECT_EQ(RawLine(), Line(1));
    Click("butNext");
    EXPECT_EQ(RawLine(), Line(2));
    EXPECT_EQ(ui::AboutWindow::Instance(), about);
    EXPECT_TRUE(about->isVisible());
}

TEST_F(AboutOverMainWindowTest, AutoModeGoesOnTickingWhileAboutIsOpen) {
    OpenThroughMenu(WriteLog("pass.txt", kFrame));
    QSignalSpy ticks(Timer1(), &QTimer::timeout);
    Click("butAutoStop");
    ui::AboutWindow* about = ChooseAbout();
    ASSERT_NE(about, nullptr);
    const auto ticksWhenAboutOpened = ticks.count();

    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks.count() >= ticksWhenAboutOpened + 2; }, 2000));
    Click("butAutoStop");
    // Every tick took one step: the first line was shown by opening the log.
    EXPECT_EQ(RawLine(), Line(static_cast<std::size_t>(ticks.count())));
    EXPECT_EQ(ui::AboutWindow::Instance(), about);
    EXPECT_TRUE(about->isVisible());
}

TEST_F(AboutOverMainWindowTest, AboutChosenTwiceOnTheMenuBarGivesOneWindow) {
    ui::AboutWindow* first = ChooseAbout();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(ChooseAbout(), first);
    int aboutWindows = 0;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        aboutWindows += qobject_cast<ui::AboutWindow*>(top) != nullptr ? 1 : 0;
    }
    EXPECT_EQ(aboutWindows, 1);
}

}  // namespace
}  // namespace ao07::test
