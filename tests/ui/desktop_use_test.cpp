// The main window as a desktop program: logs dropped onto it, the file dialog's start folder
// across restarts, the CSV path it names, what a screen reader hears, and the keyboard.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>

#include <vector>

#include "ui/main_window/main_window_fixture.h"

namespace ao07::test {
namespace {

const std::initializer_list<std::string_view> kWorkedFrame = {
    "ORBIT 12345",     "TIME 14:32",      "DATE 08-JUL-02",  "HI HI",           "150 150 150 150",
    "250 250 250 250", "350 350 350 350", "450 450 450 450", "550 550 550 550", "650 650 650 650"};

QUrl LocalUrl(const std::string& path) {
    return QUrl::fromLocalFile(QString::fromStdString(path));
}

/// Drags `data` over the window; returns whether the window would take the drop.
bool DragEnter(QWidget& window, const QMimeData& data) {
    QDragEnterEvent event(window.rect().center(), Qt::CopyAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(&window, &event);
    return event.isAccepted();
}

void Drop(QWidget& window, const QMimeData& data) {
    QDropEvent event(QPointF(window.rect().center()), Qt::CopyAction, &data, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&window, &event);
    QApplication::processEvents();
}

QAccessibleInterface* Accessible(QObject* object) {
    QAccessibleInterface* found = QAccessible::queryAccessibleInterface(object);
    EXPECT_NE(found, nullptr);
    return found;
}

TEST_F(MainWindowTest, ADroppedLogOpensAsFileOpenWouldAndBecomesTheDialogsName) {
    const std::string log = WriteLog("dropped.txt", kWorkedFrame);
    QMimeData data;
    data.setUrls({LocalUrl(log)});
    EXPECT_TRUE(DragEnter(*window, data));
    Drop(*window, data);
    EXPECT_EQ(RawLine(), QStringLiteral("ORBIT 12345"));
    EXPECT_TRUE(Button("butNext")->isEnabled());
    OpenThroughMenu("");
    EXPECT_EQ(chooser->lastStartName, QString::fromStdString(log));
}

TEST_F(MainWindowTest, ALogNamedAtStartUpThatCannotBeOpenedGetsFileOpensMessage) {
    const std::string missing = dir.File("missing.txt");
    window->OpenLogFile(QString::fromStdString(missing));
    OpenThroughMenu(missing);
    const auto errors = boxes->Errors();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0], errors[1]);
    EXPECT_FALSE(Button("butNext")->isEnabled());
    // The window stays usable: File > Open still opens a log.
    OpenThroughMenu(WriteLog("pass.txt", kWorkedFrame));
    EXPECT_EQ(RawLine(), QStringLiteral("ORBIT 12345"));
}

TEST_F(MainWindowTest, OnlyOneLocalFileCanBeDropped) {
    const std::string first = WriteLog("first.txt", kWorkedFrame);
    const std::string second = WriteLog("second.txt", kWorkedFrame);
    struct Case {
        const char* what;
        QList<QUrl> urls;
        QString text;
    };
    const std::vector<Case> cases = {
        {"two files", {LocalUrl(first), LocalUrl(second)}, {}},
        {"a folder", {LocalUrl(dir.Path())}, {}},
        {"a file that is not there", {LocalUrl(dir.File("missing.txt"))}, {}},
        {"a web address", {QUrl(QStringLiteral("https://example.org/pass.txt"))}, {}},
        {"text", {}, QString::fromStdString(first)},
    };
    for (const Case& c : cases) {
        QMimeData data;
        if (!c.urls.isEmpty()) {
            data.setUrls(c.urls);
        }
        if (!c.text.isEmpty()) {
            data.setText(c.text);
        }
        EXPECT_FALSE(DragEnter(*window, data)) << c.what;
        Drop(*window, data);
        EXPECT_TRUE(RawLine().isEmpty()) << c.what;
    }
}

TEST_F(MainWindowTest, TheFileDialogStartsInTheLastLogsFolderAfterARestart) {
    OpenThroughMenu(WriteLog("pass.txt", kWorkedFrame));
    window->close();
    auto restartedChooser = std::make_unique<ScriptedChooser>();
    ScriptedChooser* restarted = restartedChooser.get();
    window = std::make_unique<ui::MainWindow>(std::move(restartedChooser),
                                              std::make_unique<ScriptedBoxes>());
    Find<QAction>(QStringLiteral("mnuFileOpen"))->trigger();
    EXPECT_EQ(restarted->lastStartName, QString::fromStdString(dir.Path()));
}

TEST_F(MainWindowTest, TheCsvSwitchsTooltipNamesTheFileItWrites) {
    EXPECT_EQ(CsvSwitch()->toolTip(),
              QStringLiteral("Writes ") + QString::fromStdString(dir.File("ao-07.csv")));
}

TEST_F(MainWindowTest, ScreenReadersHearWhatEachWrittenLabelShowsAndItsValue) {
    OpenThroughMenu(WriteLog("pass.txt", kWorkedFrame));
    for (int step = 2; step <= 10; ++step) {
        Click("butNext");
    }
    struct Case {
        const char* control;
        const char* name;
        QString value;
    };
    const std::vector<Case> cases = {
        {"lblOrbit", "Orbit", QStringLiteral("12345")},
        {"lblDate", "Date", QStringLiteral("08-JUL-02")},
        {"lbl3a_1", "Battery Voltage", QStringLiteral("11.400 V")},
        {"lbl3a_0", "Raw value 3A", QStringLiteral("50")},
        {"lbl1a_1", "Total Solar Array Current", QStringLiteral("1475.000 A")},
        {"lbl4a_1", "Baseplate Temperature", QStringLiteral("21.800 \u00b0C")},
        {"txtRawData", "Input Data", QStringLiteral("650 650 650 650")},
    };
    for (const Case& c : cases) {
        QAccessibleInterface* accessible = Accessible(Find<QWidget>(QLatin1String(c.control)));
        ASSERT_NE(accessible, nullptr);
        EXPECT_EQ(accessible->text(QAccessible::Name), QLatin1String(c.name)) << c.control;
        EXPECT_EQ(accessible->text(QAccessible::Value), c.value) << c.control;
    }
    QAccessibleInterface* output = Accessible(Find<QWidget>(QStringLiteral("txtOutputData")));
    EXPECT_EQ(output->text(QAccessible::Name), QStringLiteral("Output Data"));
}

TEST_F(MainWindowTest, EveryLabelIsHeardByANameEvenWhileItIsEmpty) {
    for (QLabel* label : window->findChildren<QLabel*>()) {
        EXPECT_FALSE(Accessible(label)->text(QAccessible::Name).isEmpty())
            << label->objectName().toStdString();
    }
}

TEST_F(MainWindowTest, MenusOpenByTheirAccessKeysAndTheButtonsByTabAndSpace) {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QMenu* file = Find<QMenu>(QStringLiteral("mnuFile"));
    QTest::keyClick(window.get(), Qt::Key_F, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return file->isVisible(); }, 2000));
    // Open is the active entry of the opened menu; the scripted dialog answers with the log.
    chooser->answers.push_back(QString::fromStdString(WriteLog("pass.txt", kWorkedFrame)));
    QTest::keyClick(file, Qt::Key_O);
    EXPECT_EQ(RawLine(), QStringLiteral("ORBIT 12345"));

    // Tab from the line box reaches every control that acts, and Space presses it.
    std::vector<QString> reached;
    QWidget* start = QApplication::focusWidget();
    ASSERT_NE(start, nullptr);
    for (QWidget* w = start->nextInFocusChain(); w != start && reached.size() < 20;
         w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisible()) {
            reached.push_back(w->objectName());
        }
    }
    for (const char* control : {"butAutoStop", "butNext", "butExit", "chkEnableCSVFile"}) {
        EXPECT_NE(std::find(reached.begin(), reached.end(), QLatin1String(control)), reached.end())
            << control;
    }
    Button("butNext")->setFocus();
    QTest::keyClick(Button("butNext"), Qt::Key_Space);
    EXPECT_EQ(RawLine(), QStringLiteral("TIME 14:32"));
    CsvSwitch()->setFocus();
    QTest::keyClick(CsvSwitch(), Qt::Key_Space);
    EXPECT_TRUE(CsvSwitch()->isChecked());
}

}  // namespace
}  // namespace ao07::test
