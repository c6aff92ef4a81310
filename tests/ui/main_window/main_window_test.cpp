// The run control of frmMain, driven through its controls on the offscreen platform.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QRegularExpression>
#include <QSignalSpy>

#include <filesystem>
#include <vector>

#include "decoder/csv_record.h"
#include "reader/telemetry_reader.h"
#include "ui/about/about_window.h"
#include "ui/main_window/main_window_fixture.h"
#include "ui/windows1252.h"

namespace ao07::test {
namespace {

// The worked frame: every raw value 50.
const std::initializer_list<std::string_view> kWorkedFrame = {
    "ORBIT 12345",     "TIME 14:32",      "DATE 08-JUL-02",  "HI HI",           "150 150 150 150",
    "250 250 250 250", "350 350 350 350", "450 450 450 450", "550 550 550 550", "650 650 650 650"};
constexpr std::string_view kWorkedRecord =
    "08-JUL-02,14:32,12345,1475.000,0.970,0.970,0.970,1.475,2.000,758.000,0.000,11.400,5.000,"
    "7.500,21.800,21.800,21.800,21.800,21.800,21.800,583.500,21.800,52.000,1.603,285.000,"
    "102.500,0.500";

// Whether this process still holds "ao-07.csv" open.
bool CsvFileOpen() {
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        const auto target = std::filesystem::read_symlink(entry.path(), error);
        if (!error && target.filename() == kCsvFileName) {
            return true;
        }
    }
    return false;
}

std::string CsvLines(std::initializer_list<std::string_view> lines) {
    std::string bytes;
    for (const std::string_view line : lines) {
        bytes.append(line).append("\r\n");
    }
    return bytes;
}

QString LabelPair(int channel, int element) {
    return QStringLiteral("lbl%1_%2")
        .arg(QString::fromStdString(ChannelName(channel)).toLower())
        .arg(element);
}

TEST_F(MainWindowTest, StartsWithNothingToStepAndEverythingEmpty) {
    EXPECT_EQ(window->objectName(), QStringLiteral("frmMain"));
    EXPECT_FALSE(Button("butNext")->isEnabled());
    EXPECT_FALSE(Button("butAutoStop")->isEnabled());
    EXPECT_TRUE(Button("butExit")->isEnabled());
    EXPECT_TRUE(CsvSwitch()->isEnabled());
    EXPECT_FALSE(CsvSwitch()->isChecked());
    EXPECT_EQ(Button("butAutoStop")->text(), QStringLiteral("Auto"));
    EXPECT_FALSE(Timer1()->isActive());
    EXPECT_TRUE(RawLine().isEmpty());
    EXPECT_TRUE(OutputData().isEmpty());
    for (const char* name : {"lblOrbit", "lblDate", "lblTime"}) {
        EXPECT_TRUE(Label(QLatin1String(name))->text().isEmpty()) << name;
    }
    // Each of the 24 label pairs has exactly the elements 0 and 1, both empty.
    const auto pairs =
        window->findChildren<QLabel*>(QRegularExpression(QStringLiteral("^lbl[1-6][a-d]_")));
    EXPECT_EQ(pairs.size(), 48);
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        for (int element : {0, 1}) {
            EXPECT_TRUE(Label(LabelPair(channel, element))->text().isEmpty());
        }
    }
    EXPECT_FALSE(QFile::exists(QString::fromLatin1(kCsvFileName)));
    EXPECT_TRUE(boxes->shown.empty());
}

TEST_F(MainWindowTest, OpeningALogShowsItsFirstLineAtOnceAndNextTheSecond) {
    const std::string log = WriteLog("pass.txt", kWorkedFrame);
    OpenThroughMenu(log);
    EXPECT_EQ(chooser->lastFilters, QStringList({QStringLiteral("Text Files (*.txt)"),
                                                 QStringLiteral("All files *.* (*)")}));
    EXPECT_TRUE(chooser->lastStartName.isEmpty());
    EXPECT_EQ(RawLine(), QStringLiteral("ORBIT 12345"));
    EXPECT_EQ(Label(QStringLiteral("lblOrbit"))->text(), QStringLiteral("12345"));
    EXPECT_TRUE(Button("butNext")->isEnabled());
    EXPECT_TRUE(Button("butAutoStop")->isEnabled());

    Click("butNext");
    EXPECT_EQ(RawLine(), QStringLiteral("TIME 14:32"));
    EXPECT_EQ(Label(QStringLiteral("lblTime"))->text(), QStringLiteral("14:32"));
    EXPECT_TRUE(boxes->shown.empty());
}

TEST_F(MainWindowTest, FileOpenIsReachedWithTheMouseThroughTheFileMenu) {
    const std::string log = WriteLog("pass.txt", kWorkedFrame);
    chooser->answers.push_back(QString::fromStdString(log));
    auto* bar = window->menuBar();
    auto* file = Find<QAction>(QStringLiteral("mnuFile"));
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file).center());
    QMenu* menu = file->menu();
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    auto* open = Find<QAction>(QStringLiteral("mnuFileOpen"));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(open).center());
    EXPECT_TRUE(QTest::qWaitFor([&] { return RawLine() == QStringLiteral("ORBIT 12345"); }));
    EXPECT_EQ(chooser->questions, 1);
}

TEST_F(MainWindowTest, AutoStopPressedTwiceStartsAndStopsAutoMode) {
    OpenThroughMenu(WriteLog("pass.txt", kWorkedFrame));
    Click("butAutoStop");
    EXPECT_EQ(Button("butAutoStop")->text(), QStringLiteral("Stop"));
    EXPECT_TRUE(Timer1()->isActive());
    EXPECT_EQ(Timer1()->interval(), 200);
    EXPECT_EQ(Timer1()->timerType(), Qt::PreciseTimer);
    // Starting Auto mode takes no step of its own.
    EXPECT_EQ(RawLine(), QStringLiteral("ORBIT 12345"));

    Click("butAutoStop");
    EXPECT_EQ(Button("butAutoStop")->text(), QStringLiteral("Auto"));
    EXPECT_FALSE(Timer1()->isActive());
    Click("butNext");
    EXPECT_EQ(RawLine(), QStringLiteral("TIME 14:32"));
}

TEST_F(MainWindowTest, EnterOnAFocusedButtonPressesIt) {
    OpenThroughMenu(WriteLog("pass.txt", kWorkedFrame));
    QTest::keyClick(Button("butNext"), Qt::Key_Return);
    EXPECT_EQ(RawLine(), QStringLiteral("TIME 14:32"));
    QTest::keyClick(Button("butNext"), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(RawLine(), QStringLiteral("DATE 08-JUL-02"));
    QTest::keyClick(Button("butAutoStop"), Qt::Key_Return);
    EXPECT_EQ(Button("butAutoStop")->text(), QStringLiteral("Stop"));
    QTest::keyClick(Button("butAutoStop"), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(Button("butAutoStop")->text(), QStringLiteral("Auto"));
    QTest::keyClick(Button("butExit"), Qt::Key_Return);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, EachAutoTickAdvancesOneLineAndNextInBetweenOneMore) {
    const std::vector<std::string_view> lines(kWorkedFrame);
    OpenThroughMenu(WriteLog("pass.txt", kWorkedFrame));
    QSignalSpy ticks(Timer1(), &QTimer::timeout);
    int nexts = 0;
    // The line shown after the first step, every tick and every Next so far (1-based).
    const auto expectedLine = [&] {
        return QString::fromLatin1(lines.at(static_cast<std::size_t>(ticks.count() + nexts)));
    };
    QElapsedTimer clock;
    clock.start();
    Click("butAutoStop");

    ASSERT_TRUE(ticks.wait(1000));
    EXPECT_GE(clock.elapsed(), 190);
    EXPECT_EQ(ticks.count(), 1);
    EXPECT_EQ(RawLine(), expectedLine());
    Click("butNext");
    ++nexts;
    EXPECT_EQ(RawLine(), expectedLine());
    ASSERT_TRUE(ticks.wait(1000));
    // Ticks keep to the 200 ms grid from the start, however late the first one came.
    EXPECT_GE(clock.elapsed(), 390);
    EXPECT_EQ(RawLine(), expectedLine());

    Click("butAutoStop");
    const auto ticksWhenStopped = ticks.count();
    QTest::qWait(450);
    EXPECT_EQ(ticks.count(), ticksWhenStopped);
    EXPECT_EQ(RawLine(), expectedLine());
    EXPECT_GE(ticks.count(), 2);
}

TEST_F(MainWindowTest, TheEndOfTheLogInAutoModeStopsEverythingBeforeItsOneMessage) {
    ClickCsvSwitch();
    ASSERT_TRUE(CsvSwitch()->isChecked());
    OpenThroughMenu(WriteLog("short.txt", {"ORBIT 1", "TIME 2"}));
    struct AtMessage {
        QString caption;
        bool nextEnabled, autoEnabled, csvChecked, csvOpen, timerActive;
    };
    std::vector<AtMessage> seen;
    boxes->whileOpen = [&](const ScriptedBoxes::Shown&) {
        seen.push_back({Button("butAutoStop")->text(), Button("butNext")->isEnabled(),
                        Button("butAutoStop")->isEnabled(), CsvSwitch()->isChecked(), CsvFileOpen(),
                        Timer1()->isActive()});
    };
    Click("butAutoStop");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes->shown.empty(); }, 2000));
    QTest::qWait(450);

    ASSERT_EQ(boxes->shown.size(), 1u);
    EXPECT_FALSE(boxes->shown[0].error);
    EXPECT_EQ(boxes->shown[0].text, QString::fromLatin1(ui::kEndOfFileMessage));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, QStringLiteral("Auto"));
    EXPECT_FALSE(seen[0].nextEnabled);
    EXPECT_FALSE(seen[0].autoEnabled);
    EXPECT_FALSE(seen[0].csvChecked);
    EXPECT_FALSE(seen[0].csvOpen);
    EXPECT_FALSE(seen[0].timerActive);
    EXPECT_EQ(RawLine(), QStringLiteral("TIME 2"));
    // The log is closed: a step does nothing.
    window->onNextClicked();
    EXPECT_EQ(RawLine(), QStringLiteral("TIME 2"));
    EXPECT_EQ(boxes->shown.size(), 1u);
    EXPECT_EQ(ReadFile(kCsvFileName), CsvLines({CsvHeader()}));
}

TEST_F(MainWindowTest, TheCsvSwitchCreatesTheFileAndStartsItAfreshEachTime) {
    const std::string header = CsvLines({CsvHeader()});
    ClickCsvSwitch();
    EXPECT_TRUE(CsvSwitch()->isChecked());
    EXPECT_TRUE(CsvFileOpen());
    EXPECT_EQ(ReadFile(kCsvFileName), header);
    EXPECT_EQ(OutputData(), ui::FromWindows1252(CsvHeader()));
    EXPECT_TRUE(OutputData().contains(QStringLiteral("Battery Temperature (\u00B0C)")));

    ClickCsvSwitch();
    EXPECT_FALSE(CsvSwitch()->isChecked());
    EXPECT_FALSE(CsvFileOpen());
    dir.Write(kCsvFileName, header + "an older record\r\n");

    ClickCsvSwitch();
    EXPECT_TRUE(CsvFileOpen());
    EXPECT_EQ(ReadFile(kCsvFileName), header);
    EXPECT_TRUE(boxes->shown.empty());
}

TEST_F(MainWindowTest, AWholeFrameShowsTheWorkedValuesInTheRightLabels) {
    ClickCsvSwitch();
    OpenThroughMenu(WriteLog("pass.txt", kWorkedFrame));
    for (int step = 2; step <= 10; ++step) {
        Click("butNext");
    }
    EXPECT_EQ(Label(QStringLiteral("lblOrbit"))->text(), QStringLiteral("12345"));
    EXPECT_EQ(Label(QStringLiteral("lblTime"))->text(), QStringLiteral("14:32"));
    EXPECT_EQ(Label(QStringLiteral("lblDate"))->text(), QStringLiteral("08-JUL-02"));
    // The record's fields 4..27 are the channels 1A..6D in order.
    const QStringList fields = QString::fromLatin1(kWorkedRecord).split(u',');
    ASSERT_EQ(fields.size(), 3 + kChannelCount);
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        EXPECT_EQ(Label(LabelPair(channel, 0))->text(), QStringLiteral("50")) << channel;
        EXPECT_EQ(Label(LabelPair(channel, 1))->text(), fields[2 + channel]) << channel;
    }
    EXPECT_EQ(OutputData(), QString::fromLatin1(kWorkedRecord));
    EXPECT_EQ(ReadFile(kCsvFileName), CsvLines({CsvHeader(), kWorkedRecord}));
}

TEST_F(MainWindowTest, LogTextIsShownAsWindows1252ButWrittenAsItsOwnBytes) {
    ClickCsvSwitch();
    OpenThroughMenu(
        WriteLog("pass.txt", {"DATE 08-JUL-02 \x80", "TIME 14:32 \xB0", "650 650 650 650"}));
    Click("butNext");
    Click("butNext");
    EXPECT_EQ(Label(QStringLiteral("lblDate"))->text(), QStringLiteral("08-JUL-02 \u20AC"));
    EXPECT_EQ(Label(QStringLiteral("lblTime"))->text(), QStringLiteral("14:32 \u00B0"));
    const std::string csv = ReadFile(kCsvFileName);
    EXPECT_NE(csv.find("\r\n08-JUL-02 \x80,14:32 \xB0,0,"), std::string::npos);
}

TEST_F(MainWindowTest, CancelBeforeAnyChoiceChangesNothing) {
    OpenThroughMenu("");
    EXPECT_EQ(chooser->questions, 1);
    EXPECT_FALSE(Button("butNext")->isEnabled());
    EXPECT_FALSE(Button("butAutoStop")->isEnabled());
    EXPECT_TRUE(RawLine().isEmpty());
    EXPECT_TRUE(boxes->shown.empty());
}

TEST_F(MainWindowTest, CancelAfterAnEarlierChoiceReopensThatLogFromItsFirstLine) {
    const std::string log = WriteLog("short.txt", {"ORBIT 7", "TIME 8"});
    OpenThroughMenu(log);
    Click("butNext");
    Click("butNext");
    ASSERT_EQ(boxes->shown.size(), 1u);
    ASSERT_FALSE(Button("butNext")->isEnabled());

    OpenThroughMenu("");
    EXPECT_EQ(chooser->lastStartName, QString::fromStdString(log));
    EXPECT_EQ(RawLine(), QStringLiteral("ORBIT 7"));
    EXPECT_TRUE(Button("butNext")->isEnabled());
    EXPECT_TRUE(Button("butAutoStop")->isEnabled());
    Click("butNext");
    EXPECT_EQ(RawLine(), QStringLiteral("TIME 8"));
}

TEST_F(MainWindowTest, OpeningAnotherLogSwitchesCsvOutputOffKeepingItsRecords) {
    ClickCsvSwitch();
    OpenThroughMenu(WriteLog("pass.txt", kWorkedFrame));
    for (int step = 2; step <= 10; ++step) {
        Click("butNext");
    }
    OpenThroughMenu(WriteLog("second.txt", kWorkedFrame));
    EXPECT_FALSE(CsvSwitch()->isChecked());
    EXPECT_FALSE(CsvFileOpen());
    EXPECT_EQ(RawLine(), QStringLiteral("ORBIT 12345"));
    for (int step = 2; step <= 10; ++step) {
        Click("butNext");
    }
    EXPECT_EQ(ReadFile(kCsvFileName), CsvLines({CsvHeader(), kWorkedRecord}));
    EXPECT_TRUE(boxes->shown.empty());
}

TEST_F(MainWindowTest, TicksWhileTheFileDialogIsOpenAreIgnoredAndAutoGoesOnAfterwards) {
    OpenThroughMenu(WriteLog("first.txt", kWorkedFrame));
    Click("butAutoStop");
    QSignalSpy ticks(Timer1(), &QTimer::timeout);
    int ticksWhileOpen = 0;
    chooser->whileOpen = [&] {
        QTest::qWait(450);
        ticksWhileOpen = static_cast<int>(ticks.count());
        EXPECT_EQ(RawLine(), QStringLiteral("ORBIT 12345"));
    };
    OpenThroughMenu(WriteLog("second.txt", {"ORBIT 999", "TIME 1", "DATE 2"}));
    EXPECT_GE(ticksWhileOpen, 1);
    EXPECT_EQ(RawLine(), QStringLiteral("ORBIT 999"));
    EXPECT_EQ(Button("butAutoStop")->text(), QStringLiteral("Stop"));
    ASSERT_TRUE(ticks.wait(1000));
    EXPECT_EQ(RawLine(), QStringLiteral("TIME 1"));
    EXPECT_TRUE(boxes->shown.empty());
}

struct UnopenableLog {
    const char* what;
    bool makeFolder;
    const char* reason;
};

class UnopenableLogTest : public MainWindowTest,
                          public ::testing::WithParamInterface<UnopenableLog> {};

TEST_P(UnopenableLogTest, LeavesNoInputOpenAndSaysWhy) {
    OpenThroughMenu(WriteLog("good.txt", kWorkedFrame));
    Click("butAutoStop");
    const std::string bad = dir.File("bad.txt");
    if (GetParam().makeFolder) {
        std::filesystem::create_directory(bad);
    }
    OpenThroughMenu(bad);

    const auto errors = boxes->Errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].contains(QString::fromStdString(bad))) << errors[0].toStdString();
    EXPECT_TRUE(errors[0].contains(QLatin1String(GetParam().reason))) << errors[0].toStdString();
    EXPECT_FALSE(Button("butNext")->isEnabled());
    EXPECT_FALSE(Button("butAutoStop")->isEnabled());
    EXPECT_EQ(Button("butAutoStop")->text(), QStringLiteral("Auto"));
    EXPECT_FALSE(Timer1()->isActive());
    // Nothing is left to read: a step does nothing.
    window->onNextClicked();
    EXPECT_EQ(RawLine(), QStringLiteral("ORBIT 12345"));
    EXPECT_EQ(boxes->shown.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Logs, UnopenableLogTest,
                         ::testing::Values(UnopenableLog{"Missing", false, "No such file"},
                                           UnopenableLog{"Folder", true, "Is a directory"}),
                         [](const auto& info) { return std::string(info.param.what); });

TEST_F(MainWindowTest, ACsvFileThatCannotBeCreatedLeavesCsvOutputOff) {
    // A folder of that name: even root cannot create the file.
    std::filesystem::create_directory(dir.File(kCsvFileName));
    ClickCsvSwitch();
    EXPECT_FALSE(CsvSwitch()->isChecked());
    const auto errors = boxes->Errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].contains(QString::fromStdString(dir.File(kCsvFileName))))
        << errors[0].toStdString();
    EXPECT_TRUE(errors[0].contains(QStringLiteral("Is a directory"))) << errors[0].toStdString();

    // The log still steps through, with no record written anywhere.
    OpenThroughMenu(WriteLog("pass.txt", kWorkedFrame));
    for (int step = 2; step <= 10; ++step) {
        Click("butNext");
    }
    EXPECT_EQ(Label(LabelPair(24, 1))->text(), QStringLiteral("0.500"));
    EXPECT_EQ(boxes->shown.size(), 1u);
}

// The windows the menu bar opens: About on one click on the bar, Listen through the File menu
// from its module; each is the real window, shown beside the main window, and closes.
TEST_F(MainWindowTest, TheMenuBarOpensTheOtherWindows) {
    struct Case {
        std::vector<const char*> path;  ///< the actions clicked, from the menu bar on
        QString objectName;
        const char* className;
        bool ownedByMain;
    };
    const std::vector<Case> cases = {
        {{"mnuFile", "mnuFileListen"},
         QStringLiteral("ListenWindow"),
         "ao07::ui::ListenWindow",
         true},
        {{"mnuAbout"}, QStringLiteral("frmAbout"), "ao07::ui::AboutWindow", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.objectName.toStdString());
        QWidget* on = window->menuBar();
        for (const char* name : c.path) {
            auto* action = Find<QAction>(QLatin1String(name));
            ASSERT_NE(action, nullptr);
            const QRect where = on == window->menuBar()
                                    ? window->menuBar()->actionGeometry(action)
                                    : qobject_cast<QMenu*>(on)->actionGeometry(action);
            QTest::mouseClick(on, Qt::LeftButton, {}, where.center());
            if (action->menu() != nullptr) {
                on = action->menu();
                ASSERT_TRUE(QTest::qWaitForWindowExposed(on));
            }
        }
        QWidget* opened = nullptr;
        ASSERT_TRUE(QTest::qWaitFor([&] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (widget->objectName() == c.objectName && widget->isVisible()) {
                    opened = widget;
                }
            }
            return opened != nullptr;
        }));
        EXPECT_STREQ(opened->metaObject()->className(), c.className);
        EXPECT_TRUE(opened->isWindow());
        EXPECT_EQ(opened->parent() == window.get(), c.ownedByMain);
        EXPECT_TRUE(window->isVisible());
        QPointer<QWidget> watched(opened);
        opened->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(watched.isNull() || !watched->isVisible());
    }
}

TEST_F(MainWindowTest, ExitClosesTheWindowAndEveryFile) {
    ClickCsvSwitch();
    OpenThroughMenu(WriteLog("pass.txt", kWorkedFrame));
    for (int step = 2; step <= 10; ++step) {
        Click("butNext");
    }
    Click("butExit");
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(CsvFileOpen());
    EXPECT_EQ(ReadFile(kCsvFileName), CsvLines({CsvHeader(), kWorkedRecord}));
}

TEST_F(MainWindowTest, FileExitClosesTheWindowToo) {
    ClickCsvSwitch();
    Find<QAction>(QStringLiteral("mnuFileExit"))->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(CsvFileOpen());
}

}  // namespace
}  // namespace ao07::test
