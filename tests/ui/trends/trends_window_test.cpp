// The Trends window driven offscreen: channels, x axes, doubtful frames, statistics, gaps,
// exports, the main window's hooks and logs that change on disk.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QTableWidget>
#include <QTest>
#include <QWheelEvent>

#include <cmath>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "ui/main_window/main_window_fixture.h"
#include "ui/main_window/trends_opener.h"
#include "ui/trends/trends_plot.h"
#include "ui/trends/trends_window.h"

namespace ao07::test {
namespace {

constexpr int k2A = 5;   // -Y panel current, A: raw 50 is 1.475
constexpr int k3A = 9;   // battery voltage, V: raw N is N / 10 + 6.4
constexpr int k4A = 13;  // baseplate temperature, degrees C

// Four frames. 3A: 11.4 V, not copied, 12.4 V (doubtful: 6D is 60), 10.4 V. Frame 2 has no
// row 2, so 2A is missing there. Frame 4's time cannot be read. Frames 3 and 4 are in orbit 101.
constexpr std::string_view kLog =
    "ORBIT 100\r\nDATE 08-JUL-02\r\nTIME 14:32\r\n"
    "150 150 150 150\r\n250 250 250 250\r\n350 350 350 350\r\n"
    "450 450 450 450\r\n550 550 550 550\r\n650 650 650 650\r\n"
    "TIME 14:36\r\n"
    "150 150 150 150\r\n3x0 350 350 350\r\n"
    "450 450 450 450\r\n550 550 550 550\r\n650 650 650 650\r\n"
    "ORBIT 101\r\nTIME 14:40\r\n"
    "150 150 150 150\r\n250 250 250 250\r\n360 350 350 350\r\n"
    "450 450 450 450\r\n550 550 550 550\r\n650 650 650 660\r\n"
    "TIME soon\r\n"
    "150 150 150 150\r\n250 250 250 250\r\n340 350 350 350\r\n"
    "450 450 450 450\r\n550 550 550 550\r\n650 650 650 650\r\n";

constexpr int k6D = 24;  // calibration, V: 0.5 at raw 50

/// A line's points as "key:value", NaN as "gap".
QString PointsOf(const ui::TrendsWindow& window, int channel) {
    QStringList points;
    for (const QCPGraphData& point : *window.Plot()->LineOf(channel)->data()) {
        points << QStringLiteral("%1:%2").arg(point.key).arg(
            std::isnan(point.value) ? QStringLiteral("gap") : QString::number(point.value));
    }
    return points.join(u' ');
}

/// A frame's six rows, all raw 50 but 3A; after a TIME line when `time` is given.
std::string Frame(int raw3A, const std::string& time = "") {
    return (time.empty() ? std::string() : "TIME " + time + "\r\n") +
           "150 150 150 150\r\n250 250 250 250\r\n3" + std::to_string(raw3A) +
           " 350 350 350\r\n450 450 450 450\r\n550 550 550 550\r\n650 650 650 650\r\n";
}

class TrendsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        log = QString::fromStdString(dir.Write("pass.txt", kLog));
        window = new ui::TrendsWindow({log});
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    }
    void TearDown() override { delete window; }

    template <typename T>
    T* Find(const char* name) const {
        T* found = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void Tick(int channel, const char* name) {
        QCheckBox* box = Find<QCheckBox>(name);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        EXPECT_EQ(window->Plot()->LineOf(channel) != nullptr, box->isChecked());
    }
    void ChooseAxis(int index) { Find<QComboBox>("xAxisChoice")->setCurrentIndex(index); }
    /// The statistics table's row of the n-th shown channel, cells joined by "|".
    QString StatisticsRow(int row) const {
        auto* table = window->findChild<QTableWidget*>(QStringLiteral("statistics"));
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column) {
            cells << table->item(row, column)->text();
        }
        return cells.join(u'|');
    }
    QString LinePoints(int channel) const { return PointsOf(*window, channel); }
    /// A new window on the log as kLog has it, with 3A shown.
    void Reopen() {
        delete window;
        log = QString::fromStdString(dir.Write("pass.txt", kLog));
        window = new ui::TrendsWindow({log});
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        window->ShowChannel(k3A);
    }
    /// A turn of the mouse wheel over the plot, which zooms in.
    void ZoomWithTheWheel() {
        ui::TrendsPlot* plot = window->Plot();
        const QPointF at = plot->axisRect()->center();
        QWheelEvent turn(at, plot->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(plot, &turn);
    }
    /// Whether every drawn point of `channel` lies within its axes' ranges.
    bool InView(int channel) const {
        const ui::TrendsPlot* plot = window->Plot();
        for (const QCPGraphData& point : *plot->LineOf(channel)->data()) {
            if (!std::isnan(point.value) && (!plot->xAxis->range().contains(point.key) ||
                                             !plot->AxisOf(channel)->range().contains(point.value))) {
                return false;
            }
        }
        return true;
    }

    TempDir dir;
    QString log;
    ui::TrendsWindow* window = nullptr;
};

TEST_F(TrendsWindowTest, PlotsChannelsWithGapsAndOneAxisPerUnit) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("AO-07 Trends - pass.txt"));
    EXPECT_EQ(window->Plot()->Notice(), QStringLiteral("Choose channels to plot."));
    Tick(k3A, "channel3A");
    Tick(k2A, "channel2A");
    Tick(10, "channel3B");
    Tick(k4A, "channel4A");
    EXPECT_EQ(window->Plot()->Notice(), QString());
    // Not copied and missing are gaps: NaN in the data, so no line is drawn across them.
    EXPECT_EQ(LinePoints(k3A), QStringLiteral("1:11.4 2:gap 3:12.4 4:10.4"));
    EXPECT_EQ(LinePoints(k2A), QStringLiteral("1:1.475 2:gap 3:1.475 4:1.475"));
    // Volts share an axis; amperes and degrees get their own, left and right.
    QCPAxis* volts = window->Plot()->AxisOf(k3A);
    EXPECT_EQ(volts, window->Plot()->AxisOf(10));
    EXPECT_EQ(volts->label(), QStringLiteral("V"));
    EXPECT_EQ(window->Plot()->AxisOf(k2A)->label(), QStringLiteral("A"));
    EXPECT_EQ(window->Plot()->AxisOf(k4A)->label(), QString::fromUtf8("\u00B0C"));
    EXPECT_NE(volts->axisType(), window->Plot()->AxisOf(k2A)->axisType());
    Tick(10, "channel3B");
    EXPECT_EQ(window->Plot()->LineOf(10), nullptr);
}

TEST_F(TrendsWindowTest, DoubtfulFramesAreHollowAndCanBeHidden) {
    Tick(k3A, "channel3A");
    EXPECT_EQ(window->Plot()->DoubtfulPointsOf(k3A)->data()->size(), 1);
    EXPECT_EQ(window->Plot()->DoubtfulPointsOf(k3A)->data()->at(0)->key, 3);
    EXPECT_EQ(StatisticsRow(0),
              QStringLiteral("3A Battery Voltage|4|3|1|0|10.400 V|12.400 V|11.400 V|10.400 V"));

    Find<QCheckBox>("hideDoubtfulFrames")->setChecked(true);
    EXPECT_EQ(LinePoints(k3A), QStringLiteral("1:11.4 2:gap 3:gap 4:10.4"));
    EXPECT_EQ(window->Plot()->DoubtfulPointsOf(k3A)->data()->size(), 0);
    EXPECT_EQ(StatisticsRow(0),
              QStringLiteral("3A Battery Voltage|3|2|1|0|10.400 V|11.400 V|10.900 V|10.400 V"));
}

TEST_F(TrendsWindowTest, SwitchesTheXAxisAndLeavesUndatedFramesOffTheDateAxis) {
    Tick(k3A, "channel3A");
    Tick(k2A, "channel2A");
    EXPECT_EQ(
        Find<QLabel>("timeNote")->text(),
        QStringLiteral("1 of 4 frames has no usable date or time (left off the date axis)."));
    ChooseAxis(1);
    EXPECT_EQ(LinePoints(k3A), QStringLiteral("100:11.4 100:gap 101:12.4 101:10.4"));
    ChooseAxis(2);
    const double t0 = 1026138720;  // 2002-07-08 14:32 UTC
    EXPECT_EQ(LinePoints(k3A),
              QStringLiteral("%1:11.4 %2:gap %3:12.4").arg(t0).arg(t0 + 240).arg(t0 + 480));
    EXPECT_EQ(StatisticsRow(0),
              QStringLiteral("2A -Y Solar Panel Current|3|2|0|1|1.475 A|1.475 A|1.475 A|1.475 A"));
    EXPECT_EQ(StatisticsRow(1),
              QStringLiteral("3A Battery Voltage|3|2|1|0|11.400 V|12.400 V|11.900 V|12.400 V"));
}

TEST_F(TrendsWindowTest, StatisticsFollowTheShownRange) {
    Tick(k3A, "channel3A");
    window->Plot()->xAxis->setRange(2.5, 4.5);
    QTest::qWait(1);
    EXPECT_EQ(StatisticsRow(0),
              QStringLiteral("3A Battery Voltage|2|2|0|0|10.400 V|12.400 V|11.400 V|10.400 V"));
    const QString hover = window->Plot()->HoverText(QPointF(
        window->Plot()->xAxis->coordToPixel(3), window->Plot()->AxisOf(k3A)->coordToPixel(12.4)));
    EXPECT_TRUE(hover.contains(QStringLiteral("Frame 3, line 23 of pass.txt")))
        << hover.toStdString();
    EXPECT_TRUE(hover.contains(QStringLiteral("Raw 60, value 12.400 V, copied")));
    EXPECT_TRUE(hover.contains(QStringLiteral("Orbit 101")));
}

TEST_F(TrendsWindowTest, ExportsImagesAtTheChosenSizeAndTheShownPointsAsCsv) {
    Tick(k3A, "channel3A");
    Tick(k2A, "channel2A");
    const QString png = QString::fromStdString(dir.File("plot.png"));
    ASSERT_EQ(window->ExportPlot(png, QSize(640, 360)), QString());
    EXPECT_EQ(QImage(png).size(), QSize(640, 360));
    const QString svg = QString::fromStdString(dir.File("plot.svg"));
    ASSERT_EQ(window->ExportPlot(svg, QSize(500, 300)), QString());
    const std::string svgText = ReadFile(svg.toStdString());
    EXPECT_NE(svgText.find("<svg"), std::string::npos);
    EXPECT_NE(svgText.find("viewBox=\"0 0 500 300\""), std::string::npos);
    const QString pdf = QString::fromStdString(dir.File("plot.pdf"));
    ASSERT_EQ(window->ExportPlot(pdf, QSize(500, 300)), QString());
    EXPECT_EQ(ReadFile(pdf.toStdString()).substr(0, 5), "%PDF-");

    const QString csv = QString::fromStdString(dir.File("points.csv"));
    ASSERT_EQ(window->ExportPointsCsv(csv), QString());
    EXPECT_EQ(ReadFile(csv.toStdString()),
              "log,frame,line,date,time,utc,orbit,calibration,"
              "2A -Y Solar Panel Current (A),3A Battery Voltage (V)\r\n"
              "pass.txt,1,9,08-JUL-02,14:32,2002-07-08T14:32:00Z,100,good,1.475,11.400\r\n"
              "pass.txt,2,15,08-JUL-02,14:36,2002-07-08T14:36:00Z,100,good,,\r\n"
              "pass.txt,3,23,08-JUL-02,14:40,2002-07-08T14:40:00Z,101,doubtful,1.475,12.400\r\n"
              "pass.txt,4,30,08-JUL-02,soon,,101,good,1.475,10.400\r\n");
    const QString figures = QString::fromStdString(dir.File("statistics.csv"));
    ASSERT_EQ(window->ExportStatisticsCsv(figures), QString());
    EXPECT_EQ(ReadFile(figures.toStdString()),
              "channel,caption,unit,frames,copied,not copied,missing,minimum,maximum,mean,last\r\n"
              "2A,-Y Solar Panel Current,A,4,3,0,1,1.475,1.475,1.475,1.475\r\n"
              "3A,Battery Voltage,V,4,3,1,0,10.400,12.400,11.400,10.400\r\n");
}

TEST_F(TrendsWindowTest, AnExportThatFailsSaysWhyAndLeavesNoFile) {
    Tick(k3A, "channel3A");
    const QString missingFolder = QString::fromStdString(dir.File("no-such-folder/plot.png"));
    EXPECT_TRUE(
        window->ExportPlot(missingFolder, QSize(100, 100))
            .startsWith(QStringLiteral("\"%1\" could not be written: ").arg(missingFolder)));
    EXPECT_FALSE(QFile::exists(missingFolder));
    const QString wrongKind = QString::fromStdString(dir.File("plot.bmp"));
    EXPECT_EQ(window->ExportPlot(wrongKind, QSize(100, 100)),
              QStringLiteral("\"plot.bmp\" does not end in .png, .svg or .pdf."));
    EXPECT_FALSE(QFile::exists(wrongKind));
    // A folder under the chosen name cannot be replaced by the file.
    const QString folder = QString::fromStdString(dir.File("taken.csv"));
    std::filesystem::create_directory(folder.toStdString());
    EXPECT_FALSE(window->ExportPointsCsv(folder).isEmpty());
    EXPECT_TRUE(std::filesystem::is_directory(folder.toStdString()));
}

TEST_F(TrendsWindowTest, JoinsLogsInTimeOrderAndFollowsChangesOnDisk) {
    Tick(k3A, "channel3A");
    const std::string earlier = dir.Write(
        "earlier.txt", "DATE 2002-07-08\r\nTIME 0900\r\n350 350 350 350\r\n650 650 650 650\r\n");
    window->AddLogs({QString::fromStdString(earlier)});
    EXPECT_EQ(window->windowTitle(), QStringLiteral("AO-07 Trends - 2 logs"));
    EXPECT_EQ(LinePoints(k3A), QStringLiteral("1:11.4 2:11.4 3:gap 4:12.4 5:10.4"));
    EXPECT_EQ(window->Data().Frames().front()->log, 1);

    window->Plot()->xAxis->setRange(2, 3);
    dir.Write("earlier.txt",
              "DATE 2002-07-08\r\nTIME 0900\r\n350 350 350 350\r\n650 650 650 650\r\n"
              "380 350 350 350\r\n650 650 650 650\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Data().Frames().size() == 6; }, 5000));
    EXPECT_EQ(LinePoints(k3A), QStringLiteral("1:11.4 2:14.4 3:11.4 4:gap 5:12.4 6:10.4"));
    EXPECT_EQ(window->Plot()->xAxis->range().lower, 2);  // the zoom stays
    EXPECT_EQ(window->Plot()->xAxis->range().upper, 3);

    std::filesystem::remove(earlier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->GoneLogs().count(1) == 1; }, 5000));
    EXPECT_EQ(window->Data().Frames().size(), 6u);
    EXPECT_TRUE(window->findChild<QLabel*>(QStringLiteral("logList"))
                    ->text()
                    .contains(QStringLiteral("earlier.txt (2 frames) - gone from the disk")));
}

TEST(TrendsWindowBadInput, SpecialFilesAreRefusedAtOnceWithTheMainWindowsMessage) {
    // A device read for ever or a named pipe waited on would hang the test: the alarm ends it.
    alarm(20);
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.File("pipe.txt").c_str(), 0600), 0);
    std::filesystem::create_directory(dir.File("folder.txt"));
    const std::pair<std::string, const char*> cases[] = {
        {dir.File("pipe.txt"), "It is a named pipe, not an ordinary file"},
        {"/dev/zero", "It is a character device, not an ordinary file"},
        {dir.File("folder.txt"), "Is a directory"},
    };
    for (const auto& [path, reason] : cases) {
        const QString name = QString::fromStdString(path);
        const QString expected =
            QStringLiteral("Logs: %1 (0 frames) - The log \"%2\" could not be opened: %3.")
                .arg(QFileInfo(name).fileName(), name, QString::fromLatin1(reason));
        ui::TrendsWindow fromCommandLine({name});
        EXPECT_EQ(fromCommandLine.findChild<QLabel*>(QStringLiteral("logList"))->text(), expected);
        ui::TrendsWindow added({});
        added.AddLogs({name});  // as Add logs... and a drop hand them over
        EXPECT_EQ(added.findChild<QLabel*>(QStringLiteral("logList"))->text(), expected);
    }
    alarm(0);
}

TEST_F(TrendsWindowTest, AxesFitWhatTheyShowUnlessTheUserZoomed) {
    const struct {
        const char* name;
        std::function<void()> change;
        int shown;
    } cases[] = {
        {"6D ticked, then 3A unticked",
         [&] {
             Tick(k6D, "channel6D");
             Tick(k3A, "channel3A");
         },
         k6D},
        {"a frame of 15.4 V appended on disk",
         [&] {
             dir.Write("pass.txt", std::string(kLog) + Frame(90));
             ASSERT_TRUE(QTest::qWaitFor([&] { return window->Data().Frames().size() == 5; }, 5000));
         },
         k3A},
    };
    for (const bool zoomed : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (zoomed ? ", zoomed before" : ""));
            Reopen();
            if (zoomed) {
                ZoomWithTheWheel();
            }
            const QCPRange before = window->Plot()->xAxis->range();
            c.change();
            if (zoomed) {
                EXPECT_EQ(window->Plot()->xAxis->range(), before);  // the user's zoom stays
            } else {
                EXPECT_TRUE(InView(c.shown));
            }
        }
    }
    // A double-click shows everything again, and the axes follow the channels once more.
    QTest::mouseDClick(window->Plot(), Qt::LeftButton);
    Tick(k6D, "channel6D");
    EXPECT_TRUE(InView(k6D));
}

TEST(TrendsWindowLines, BreakBetweenPassesAndBetweenLogsOfUnknownTime) {
    const double t0 = 1026138720;  // 2002-07-08 14:32 UTC
    const std::string date = "DATE 08-JUL-02\r\n";
    const struct {
        const char* name;
        std::vector<std::string> logs;
        int axis;  // the x axis box's choice: frame, orbit, UTC
        QString points;
    } cases[] = {
        {"two passes of one log, by UTC",
         {date + Frame(50, "14:32") + Frame(52, "14:33") + Frame(54, "16:20")},
         2,
         QStringLiteral("%1:11.4 %2:11.6 %3:gap %4:11.8")
             .arg(t0)
             .arg(t0 + 60)
             .arg(t0 + 60 + 3210)
             .arg(t0 + 6480)},
        {"a frame in each pass, by UTC",
         {date + Frame(50, "14:32") + Frame(52, "16:32") + Frame(54, "18:32")},
         2,
         QStringLiteral("%1:11.4 %2:11.6 %3:11.8").arg(t0).arg(t0 + 7200).arg(t0 + 14400)},
        {"frames lost within a pass, by UTC",
         {date + Frame(50, "14:32") + Frame(52, "14:33") + Frame(54, "14:52")},
         2,
         QStringLiteral("%1:11.4 %2:11.6 %3:11.8").arg(t0).arg(t0 + 60).arg(t0 + 1200)},
        {"two logs without time, by frame", {Frame(50), Frame(52)}, 0,
         QStringLiteral("1:11.4 1.5:gap 2:11.6")},
        {"two logs without time, by orbit", {"ORBIT 7\r\n" + Frame(50), "ORBIT 8\r\n" + Frame(52)},
         1, QStringLiteral("7:11.4 7.5:gap 8:11.6")},
        {"two logs in time order, by frame",
         {date + Frame(50, "14:32"), date + Frame(52, "14:33")},
         0,
         QStringLiteral("1:11.4 2:11.6")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        QStringList paths;
        for (const std::string& log : c.logs) {
            paths << QString::fromStdString(
                dir.Write("log" + std::to_string(paths.size()) + ".txt", log));
        }
        ui::TrendsWindow window(paths);
        window.ShowChannel(k3A);
        window.findChild<QComboBox*>(QStringLiteral("xAxisChoice"))->setCurrentIndex(c.axis);
        EXPECT_EQ(PointsOf(window, k3A), c.points);
    }
}

TEST_F(TrendsWindowTest, ScreenReadersHearWhatTheWindowAndThePlotAre) {
    QAccessibleInterface* frame = QAccessible::queryAccessibleInterface(window);
    EXPECT_EQ(frame->role(), QAccessible::Window);
    EXPECT_EQ(frame->text(QAccessible::Name), QStringLiteral("AO-07 Trends - pass.txt"));
    // Qt names a combo box by its current text on Linux; screen readers there take the name
    // from the label it is labelled by.
    const auto labels = QAccessible::queryAccessibleInterface(Find<QComboBox>("xAxisChoice"))
                            ->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.front().first->text(QAccessible::Name), QStringLiteral("X axis"));
    QAccessibleInterface* plot = QAccessible::queryAccessibleInterface(window->Plot());
    EXPECT_EQ(plot->role(), QAccessible::Chart);
    EXPECT_EQ(plot->text(QAccessible::Name), QStringLiteral("Plot without channels"));
    EXPECT_EQ(plot->text(QAccessible::Description), QStringLiteral("Choose channels to plot."));
    Tick(k3A, "channel3A");
    Tick(k6D, "channel6D");
    EXPECT_EQ(plot->text(QAccessible::Name),
              QStringLiteral("Plot of 3A and 6D against frame number"));
    Tick(k2A, "channel2A");
    ChooseAxis(2);
    EXPECT_EQ(plot->text(QAccessible::Name),
              QStringLiteral("Plot of 2A, 3A and 6D against UTC date and time"));
}

TEST(TrendsWindowBadInput, ALogWithoutFramesOrWithoutCopiedValuesStillShows) {
    TempDir dir;
    ui::TrendsWindow empty(
        {QString::fromStdString(dir.Write("empty.txt", "ORBIT 5\r\nHI HI\r\n"))});
    empty.ShowAllChannels();
    EXPECT_EQ(empty.Plot()->Notice(), QStringLiteral("No frames in this log."));

    ui::TrendsWindow unread({QString::fromStdString(dir.File("absent.txt"))});
    EXPECT_EQ(unread.Plot()->Notice(), QStringLiteral("No frames in this log."));
    EXPECT_TRUE(unread.findChild<QLabel*>(QStringLiteral("logList"))
                    ->text()
                    .startsWith(QStringLiteral("Logs: absent.txt (0 frames) - The log \"")));

    ui::TrendsWindow oneFrame({QString::fromStdString(
        dir.Write("one.txt", "DATE 31-FEB-02\r\n3xx 350 350 350\r\n650 650 650 650\r\n"))});
    oneFrame.ShowChannel(k3A);
    auto* table = oneFrame.findChild<QTableWidget*>(QStringLiteral("statistics"));
    ASSERT_EQ(table->rowCount(), 1);
    EXPECT_EQ(table->item(0, 1)->text(), QStringLiteral("1"));
    EXPECT_EQ(table->item(0, 3)->text(), QStringLiteral("1"));
    EXPECT_EQ(table->item(0, 5)->text(), QString());
    EXPECT_EQ(oneFrame.findChild<QLabel*>(QStringLiteral("timeNote"))->text(),
              QStringLiteral("1 of 1 frame has no usable date or time (left off the date axis)."));
    EXPECT_EQ(oneFrame.findChild<QLabel*>(QStringLiteral("logList"))->text(),
              QStringLiteral("Logs: one.txt (1 frame)"));
}

// Run on an 800 x 600 screen and scaled twice on a 1920 x 1080 one (see CMakeLists.txt).
TEST(TrendsOnASmallScreen, OpensWithinTheAvailableAreaWithEveryControlWithinReach) {
    TempDir dir;
    ui::TrendsWindow window({QString::fromStdString(dir.Write("pass.txt", kLog))});
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QRect screen = window.screen()->availableGeometry();
    ASSERT_LE(screen.width(), 960) << "run on a small or scaled screen";
    EXPECT_TRUE(screen.contains(window.frameGeometry()));
    for (const char* name : {"addLogs", "xAxisChoice", "hideDoubtfulFrames", "export",
                             "trendPlot", "statistics", "channel1A", "channel6D", "logList"}) {
        auto* control = window.findChild<QWidget*>(QLatin1String(name));
        ASSERT_NE(control, nullptr) << name;
        // Scrolled to, in the channels' list and in the window's scroll area where there is one.
        for (QWidget* up = control; up != nullptr; up = up->parentWidget()) {
            if (auto* scroll = qobject_cast<QScrollArea*>(up)) {
                scroll->ensureWidgetVisible(control, 0, 0);
            }
        }
        const QRect shown(control->mapTo(&window, QPoint(0, 0)), control->size());
        EXPECT_TRUE(window.rect().contains(shown)) << name;
    }
}

// The main window opens Trends on a double-click and follows its steps with the mark.
TEST_F(MainWindowTest, DoubleClickOnAValueOpensTrendsThatMarkTheMainWindowsFrame) {
    OpenThroughMenu(dir.Write("pass.txt", kLog));
    while (!RawLine().startsWith(QLatin1Char('6'))) {
        Click("butNext");
    }
    QTest::mouseDClick(Label(QStringLiteral("lbl3a_1")), Qt::LeftButton);
    auto* opener = window->findChild<ui::TrendsOpener*>(QStringLiteral("trendsOpener"));
    ASSERT_NE(opener->Window(), nullptr);
    ui::TrendsPlot* plot = opener->Window()->Plot();
    EXPECT_NE(plot->LineOf(k3A), nullptr);
    EXPECT_EQ(plot->MarkerKey(), 1);
    do {
        Click("butNext");
    } while (!RawLine().startsWith(QLatin1Char('6')));
    EXPECT_EQ(plot->MarkerKey(), 2);
    opener->OpenTrends(0);
    EXPECT_EQ(opener->Window()->Plot(), plot);  // the same window, now with every channel
    EXPECT_NE(plot->LineOf(24), nullptr);
    opener->Window()->close();
}

}  // namespace
}  // namespace ao07::test
