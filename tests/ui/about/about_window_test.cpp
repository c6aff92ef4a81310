// The About window, driven by object name on the offscreen platform.
#include "ui/about/about_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include "core/program_identity.h"
#include "ui/program_icons.h"

namespace ao07::ui {
namespace {

const QString kCaption = QStringLiteral("About Vorlan AO-07 Telemetry Display");
const QString kVersionLine = QStringLiteral("Version 0.5.0 - 08-JUL-2002");
const QString kDescription = QStringLiteral(
    "This program is designed to read a text file of AO-07 telemetry values and decode them "
    "into their respective parameters.");

// Deleting a window that was closed with WA_DeleteOnClose waits for the event loop; tests
// deliver the deferred deletions themselves.
void DeliverDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QList<QWidget*> VisibleTopLevels() {
    QList<QWidget*> visible;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) {
            visible.append(window);
        }
    }
    return visible;
}

template <typename Control>
Control* ControlOf(AboutWindow* about, const char* name) {
    auto* control = about->findChild<Control*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << "no control named " << name;
    return control;
}

QString TextOf(AboutWindow* about, const char* label) {
    QLabel* control = ControlOf<QLabel>(about, label);
    return control != nullptr ? control->text() : QString();
}

class AboutWindowTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (AboutWindow* about = AboutWindow::Instance()) {
            about->close();
        }
        DeliverDeferredDeletes();
        EXPECT_EQ(AboutWindow::Instance(), nullptr);
    }
};

TEST_F(AboutWindowTest, LoadingSetsCaptionVersionTitleAndDescription) {
    AboutWindow* about = AboutWindow::ShowAbout();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->windowTitle(), kCaption);
    EXPECT_EQ(TextOf(about, "lblVersion"), kVersionLine);
    EXPECT_EQ(TextOf(about, "lblTitle"), QString::fromLatin1(kProgramTitle));
    EXPECT_EQ(TextOf(about, "lblDescription"), kDescription);
}

TEST_F(AboutWindowTest, VersionLineComesFromTheProjectVersion) {
    AboutWindow* about = AboutWindow::ShowAbout();
    EXPECT_EQ(TextOf(about, "lblVersion"), QStringLiteral("Version ") +
                                               QString::fromLatin1(kVersionText) +
                                               QStringLiteral(" - 08-JUL-2002"));
}

TEST_F(AboutWindowTest, CreditLineNamesTheAuthorsAndTheIssueTracker) {
    AboutWindow* about = AboutWindow::ShowAbout();
    const QString credit = TextOf(about, "Label1");
    EXPECT_TRUE(credit.contains(QStringLiteral("developers"))) << credit.toStdString();
    EXPECT_TRUE(credit.contains(QStringLiteral("issue tracker"))) << credit.toStdString();
}

TEST_F(AboutWindowTest, AboutTwiceGivesOneWindowWithoutLoadingAgain) {
    AboutWindow* first = AboutWindow::ShowAbout();
    ASSERT_NE(first, nullptr);
    // A text that a second load would overwrite.
    ControlOf<QLabel>(first, "lblTitle")->setText(QStringLiteral("not loaded again"));
    first->setWindowTitle(QStringLiteral("caption not set again"));

    AboutWindow* second = AboutWindow::ShowAbout();
    EXPECT_EQ(second, first);
    EXPECT_EQ(AboutWindow::Instance(), first);
    EXPECT_EQ(TextOf(second, "lblTitle"), QStringLiteral("not loaded again"));
    EXPECT_EQ(second->windowTitle(), QStringLiteral("caption not set again"));
    int aboutWindows = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        aboutWindows += qobject_cast<AboutWindow*>(window) != nullptr ? 1 : 0;
    }
    EXPECT_EQ(aboutWindows, 1);
}

TEST_F(AboutWindowTest, OkUnloadsAndTheNextAboutLoadsAfreshWithTheSameTexts) {
    QPointer<AboutWindow> first = AboutWindow::ShowAbout();
    ASSERT_FALSE(first.isNull());
    ControlOf<QLabel>(first, "lblTitle")->setText(QStringLiteral("changed while shown"));

    QTest::mouseClick(ControlOf<QPushButton>(first, "cmdOK"), Qt::LeftButton);
    EXPECT_EQ(AboutWindow::Instance(), nullptr);
    ASSERT_FALSE(first.isNull());
    EXPECT_FALSE(first->isVisible());
    DeliverDeferredDeletes();
    EXPECT_TRUE(first.isNull()) << "OK must unload the window, not only hide it";

    AboutWindow* second = AboutWindow::ShowAbout();
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(second->windowTitle(), kCaption);
    EXPECT_EQ(TextOf(second, "lblVersion"), kVersionLine);
    EXPECT_EQ(TextOf(second, "lblTitle"), QString::fromLatin1(kProgramTitle));
    EXPECT_EQ(TextOf(second, "lblDescription"), kDescription);
}

TEST_F(AboutWindowTest, AboutRightAfterOkLoadsAgainBeforeTheOldWindowIsDeleted) {
    QPointer<AboutWindow> first = AboutWindow::ShowAbout();
    QTest::mouseClick(ControlOf<QPushButton>(first, "cmdOK"), Qt::LeftButton);
    ASSERT_FALSE(first.isNull());

    AboutWindow* second = AboutWindow::ShowAbout();
    EXPECT_NE(second, first.data());
    EXPECT_TRUE(second->isVisible());
    EXPECT_FALSE(first->isVisible());
}

TEST_F(AboutWindowTest, TitleBarCloseUnloadsTheWindow) {
    QPointer<AboutWindow> about = AboutWindow::ShowAbout();
    about->close();
    EXPECT_EQ(AboutWindow::Instance(), nullptr);
    DeliverDeferredDeletes();
    EXPECT_TRUE(about.isNull());
}

TEST_F(AboutWindowTest, OkHasTheFocusWhenTheWindowOpens) {
    AboutWindow* about = AboutWindow::ShowAbout();
    EXPECT_EQ(about->focusWidget(), ControlOf<QPushButton>(about, "cmdOK"));
}

struct ClosingKey {
    const char* name;
    Qt::Key key;
};

class AboutWindowKeyTest : public AboutWindowTest,
                           public ::testing::WithParamInterface<ClosingKey> {};

TEST_P(AboutWindowKeyTest, KeyClosesTheWindowThroughOk) {
    QPointer<AboutWindow> about = AboutWindow::ShowAbout();
    auto* ok = ControlOf<QPushButton>(about, "cmdOK");
    ASSERT_NE(ok, nullptr);
    QSignalSpy okClicked(ok, &QPushButton::clicked);

    QWidget* focus = about->focusWidget() != nullptr ? about->focusWidget() : about.data();
    QTest::keyClick(focus, GetParam().key);

    EXPECT_EQ(okClicked.count(), 1);
    EXPECT_EQ(AboutWindow::Instance(), nullptr);
    DeliverDeferredDeletes();
    EXPECT_TRUE(about.isNull());
}

INSTANTIATE_TEST_SUITE_P(EnterReturnAndEsc, AboutWindowKeyTest,
                         ::testing::Values(ClosingKey{"Enter", Qt::Key_Enter},
                                           ClosingKey{"Return", Qt::Key_Return},
                                           ClosingKey{"Escape", Qt::Key_Escape}),
                         [](const auto& info) { return std::string(info.param.name); });

struct PlacedControl {
    const char* name;
    QRect pixels;
};

// Left, top, width and height in pixels of the client area at 96 dots per inch.
const PlacedControl kPlacedControls[] = {
    {"picIcon", QRect(16, 16, 36, 36)},     {"lblTitle", QRect(64, 16, 299, 23)},
    {"lblVersion", QRect(64, 48, 267, 15)}, {"lblDescription", QRect(64, 72, 275, 46)},
    {"Label1", QRect(64, 128, 193, 41)},    {"cmdOK", QRect(283, 144, 84, 23)},
};

TEST_F(AboutWindowTest, ClientAreaIsFixedAt382By176) {
    AboutWindow* about = AboutWindow::ShowAbout();
    EXPECT_EQ(about->size(), QSize(382, 176));
    EXPECT_EQ(about->minimumSize(), QSize(382, 176));
    EXPECT_EQ(about->maximumSize(), QSize(382, 176));
}

TEST_F(AboutWindowTest, EveryControlStandsAtItsPlaceInTheWindow) {
    AboutWindow* about = AboutWindow::ShowAbout();
    for (const PlacedControl& placed : kPlacedControls) {
        SCOPED_TRACE(placed.name);
        auto* control = ControlOf<QWidget>(about, placed.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->parentWidget(), about);
        EXPECT_EQ(control->geometry(), placed.pixels);
        EXPECT_TRUE(control->isVisible());
    }
}

TEST_F(AboutWindowTest, TextsFitTheirBoxes) {
    AboutWindow* about = AboutWindow::ShowAbout();
    for (const char* name : {"lblTitle", "lblVersion"}) {
        SCOPED_TRACE(name);
        auto* label = ControlOf<QLabel>(about, name);
        const QFontMetrics metrics(label->font());
        EXPECT_LE(metrics.horizontalAdvance(label->text()), label->width());
        EXPECT_LE(metrics.height(), label->height());
    }
    for (const char* name : {"lblDescription", "Label1"}) {
        SCOPED_TRACE(name);
        auto* label = ControlOf<QLabel>(about, name);
        const QRect needed =
            QFontMetrics(label->font())
                .boundingRect(QRect(0, 0, label->width(), 10000),
                              Qt::TextWordWrap | label->alignment(), label->text());
        EXPECT_LE(needed.width(), label->width());
        EXPECT_LE(needed.height(), label->height());
    }
}

TEST_F(AboutWindowTest, TitleIsTwelvePointBoldAndTheOtherLabelsUseTheWindowFont) {
    AboutWindow* about = AboutWindow::ShowAbout();
    const QFont title = ControlOf<QLabel>(about, "lblTitle")->font();
    EXPECT_EQ(title.pointSize(), 12);
    EXPECT_EQ(title.weight(), QFont::Bold);
    EXPECT_EQ(title.families().value(0), QStringLiteral("Tahoma"));
    for (const char* name : {"lblVersion", "lblDescription", "Label1"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ControlOf<QLabel>(about, name)->font(), about->font());
    }
}

TEST_F(AboutWindowTest, DescriptionAndCreditWrapAndTheCreditIsCentred) {
    AboutWindow* about = AboutWindow::ShowAbout();
    EXPECT_TRUE(ControlOf<QLabel>(about, "lblDescription")->wordWrap());
    auto* credit = ControlOf<QLabel>(about, "Label1");
    EXPECT_TRUE(credit->wordWrap());
    EXPECT_EQ(credit->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(ControlOf<QLabel>(about, "lblVersion")->alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignLeft);
}

TEST_F(AboutWindowTest, OkIsTheDefaultButton) {
    AboutWindow* about = AboutWindow::ShowAbout();
    auto* ok = ControlOf<QPushButton>(about, "cmdOK");
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_TRUE(ok->isDefault());
}

TEST_F(AboutWindowTest, IsAModelessToolWindowWithACloseButtonOnly) {
    AboutWindow* about = AboutWindow::ShowAbout();
    EXPECT_TRUE(about->isWindow());
    EXPECT_EQ(about->parentWidget(), nullptr);
    EXPECT_FALSE(about->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(about->windowType(), Qt::Tool);
    const Qt::WindowFlags flags = about->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowContextHelpButtonHint));
    EXPECT_TRUE(about->testAttribute(Qt::WA_QuitOnClose));
}

TEST_F(AboutWindowTest, ShowsTheDishAntennaAndCarriesTheLatticeMastIcon) {
    AboutWindow* about = AboutWindow::ShowAbout();
    auto* picture = ControlOf<QLabel>(about, "picIcon");
    ASSERT_NE(picture, nullptr);
    const QPixmap shown = picture->pixmap();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown.size(), QSize(32, 32));
    EXPECT_EQ(shown.toImage(), DishAntennaIcon().pixmap(32, 32).toImage());
    EXPECT_NE(picture->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(picture->lineWidth(), 1);
    EXPECT_EQ(about->windowIcon().pixmap(32, 32).toImage(),
              LatticeMastIcon().pixmap(32, 32).toImage());
}

TEST_F(AboutWindowTest, IsCentredOnTheScreenEachTimeItIsLoaded) {
    AboutWindow* about = AboutWindow::ShowAbout();
    const QPoint screenCentre = about->screen()->availableGeometry().center();
    EXPECT_LE((about->geometry().center() - screenCentre).manhattanLength(), 1);

    about->move(3, 5);
    AboutWindow::ShowAbout();
    EXPECT_EQ(about->pos(), QPoint(3, 5)) << "bringing it to the front must not move it";

    QTest::mouseClick(ControlOf<QPushButton>(about, "cmdOK"), Qt::LeftButton);
    AboutWindow* again = AboutWindow::ShowAbout();
    EXPECT_LE((again->geometry().center() - screenCentre).manhattanLength(), 1);
}

// The application emits lastWindowClosed, and ends, only from inside its event loop; the test
// runs that loop as the program does and lets the About window's OK end it. A safety timer ends
// the loop with another code if the About window fails to.
TEST_F(AboutWindowTest, ClosingTheMainWindowLeavesAboutOpenAndClosingAboutEndsTheProgram) {
    ASSERT_TRUE(VisibleTopLevels().isEmpty()) << "a window of another test is still open";
    ASSERT_TRUE(QGuiApplication::quitOnLastWindowClosed());

    QWidget mainWindow;
    mainWindow.setWindowTitle(QString::fromLatin1(kProgramTitle));
    mainWindow.resize(300, 200);
    mainWindow.show();
    QSignalSpy lastWindowClosed(qApp, &QGuiApplication::lastWindowClosed);

    int closedAfterMainWindow = -1;
    bool aboutOpenAfterMainWindow = false;
    bool loopRanOnAfterMainWindow = false;
    int closedAfterAbout = -1;
    bool timedOut = false;

    QTimer::singleShot(0, qApp, [&] {
        AboutWindow* about = AboutWindow::ShowAbout();
        mainWindow.close();
        closedAfterMainWindow = lastWindowClosed.count();
        aboutOpenAfterMainWindow = about->isVisible() && AboutWindow::Instance() == about;
    });
    // Had closing the main window ended the program, the loop would be gone before this runs.
    QTimer::singleShot(100, qApp, [&] {
        loopRanOnAfterMainWindow = true;
        if (AboutWindow* about = AboutWindow::Instance()) {
            QTest::mouseClick(about->findChild<QPushButton*>(QStringLiteral("cmdOK")),
                              Qt::LeftButton);
        }
        closedAfterAbout = lastWindowClosed.count();
    });
    QTimer safety;
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, qApp, [&] {
        timedOut = true;
        QCoreApplication::exit(2);
    });
    safety.start(5000);

    const int exitCode = QApplication::exec();

    EXPECT_EQ(closedAfterMainWindow, 0);
    EXPECT_TRUE(aboutOpenAfterMainWindow);
    EXPECT_TRUE(loopRanOnAfterMainWindow);
    EXPECT_EQ(closedAfterAbout, 1);
    EXPECT_FALSE(timedOut);
    EXPECT_EQ(exitCode, 0);
}

}  // namespace
}  // namespace ao07::ui
