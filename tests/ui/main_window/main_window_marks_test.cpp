// frmMain's marks on values not to trust: greyed pairs, the coloured calibration value, and
// the tooltips and accessible descriptions that say why, on the offscreen platform.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>
#include <QPalette>
#include <QPlainTextEdit>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "ui/main_window/channel_marks.h"
#include "ui/main_window/main_window_fixture.h"

namespace ao07::test {
namespace {

enum class Look { Normal, Grey, Warning };

QString LabelName(int channel, int element) {
    return QStringLiteral("lbl%1_%2")
        .arg(QString::fromStdString(ChannelName(channel)).toLower())
        .arg(element);
}

/// A frame's six rows, all raw 50 but where `rows` gives another line for a row (1..6), and
/// without the rows given as "".
std::vector<std::string> FrameLines(const std::vector<std::pair<int, std::string>>& rows = {}) {
    std::vector<std::string> lines = {"HI HI"};
    for (int row = 1; row <= kRowCount; ++row) {
        const std::string digit(1, static_cast<char>('0' + row));
        std::string line = digit + "50 " + digit + "50 " + digit + "50 " + digit + "50";
        for (const auto& [number, other] : rows) {
            if (number == row) {
                line = other;
            }
        }
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

double Luminance(const QColor& colour) {
    const auto linear = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

class MainWindowMarksTest : public MainWindowTest {
protected:
    /// Opens a log of header lines and `frames` with CSV output on and steps through it:
    /// `steps` in all, the one File > Open takes included.
    void OpenAndStep(const std::vector<std::vector<std::string>>& frames, int steps) {
        std::string bytes = "ORBIT 12345\r\nTIME 14:32\r\nDATE 08-JUL-02\r\n";
        for (const auto& frame : frames) {
            for (const std::string& line : frame) {
                bytes += line + "\r\n";
            }
        }
        OpenThroughMenu(dir.Write("pass.txt", bytes));
        // Opening a log switches CSV output off; on again, each record shows what was written.
        ClickCsvSwitch();
        Step(steps - 1);
    }
    void Step(int count) {
        for (int i = 0; i < count; ++i) {
            Click("butNext");
        }
    }

    QColor Expected(Look look, const QLabel* label) const {
        const QPalette& around = label->parentWidget()->palette();
        switch (look) {
            case Look::Normal:
                return around.color(QPalette::Active, QPalette::WindowText);
            case Look::Grey:
                return around.color(QPalette::Disabled, QPalette::WindowText);
            case Look::Warning:
                return ui::WarningColour(around.color(QPalette::Window));
        }
        return {};
    }

    /// Expects the raw (0) or converted (1) label of `channel` to look so and say `reason`.
    void ExpectLabel(int channel, int element, Look look, const QString& reason) {
        const QLabel* label = Label(LabelName(channel, element));
        const std::string where = ChannelName(channel) + " element " + std::to_string(element);
        for (const auto group : {QPalette::Active, QPalette::Inactive}) {
            EXPECT_EQ(label->palette().color(group, QPalette::WindowText), Expected(look, label))
                << where;
        }
        EXPECT_EQ(label->toolTip(), reason) << where;
        ExpectHeard(label, reason, where);
    }
    /// Expects a screen reader to hear the label's value (its text, and the unit of a converted
    /// value) and then `reason`, as the accessibility bridge asks for them.
    static void ExpectHeard(const QLabel* label, const QString& reason, const std::string& where) {
        QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(const_cast<QLabel*>(label));
        ASSERT_NE(heard, nullptr) << where;
        const QString value = heard->text(QAccessible::Value);
        EXPECT_TRUE(value.startsWith(label->text())) << where;
        EXPECT_EQ(heard->text(QAccessible::Description),
                  reason.isEmpty() ? value : value + QStringLiteral(". ") + reason)
            << where;
    }
    void ExpectPair(int channel, Look look, const QString& reason) {
        ExpectLabel(channel, 0, look, reason);
        ExpectLabel(channel, 1, look, reason);
    }
    void ExpectAllNormalBut(const std::vector<int>& marked) {
        for (int channel = 1; channel <= kChannelCount; ++channel) {
            if (std::find(marked.begin(), marked.end(), channel) == marked.end()) {
                ExpectPair(channel, Look::Normal, QString());
            }
        }
    }
    /// The converted values shown are the fields of the record just written.
    void ExpectTextsOfTheRecord() {
        const QStringList fields = OutputData().split(u',');
        ASSERT_EQ(fields.size(), 3 + kChannelCount);
        for (int channel = 1; channel <= kChannelCount; ++channel) {
            EXPECT_EQ(Label(LabelName(channel, 1))->text(), fields[2 + channel]) << channel;
        }
    }
};

TEST_F(MainWindowMarksTest, ANotCopiedGroupGreysItsPairUntilItIsNextCopied) {
    // ORBIT, TIME, DATE, HI HI and six rows; then HI HI and row 1 again.
    OpenAndStep({FrameLines({{1, "150 1x1 1#2 1 3"}, {4, "4?5 450 450 450"}}),
                 FrameLines({{1, "150 150 1#2 150"}})},
                10);
    const QString blank = QStringLiteral(
        "Not copied: the log has \"1 3\" in this group. "
        "Shown as raw 3.");
    ExpectPair(2, Look::Grey,
               QStringLiteral("Not copied: the log has \"1x1\" in this group. Shown as raw 0."));
    ExpectPair(3, Look::Grey,
               QStringLiteral("Not copied: the log has \"1#2\" in this group. Shown as raw 0."));
    ExpectPair(4, Look::Grey, blank);
    ExpectPair(13, Look::Grey,
               QStringLiteral("Not copied: the log has \"4?5\" in this group. Shown as raw 0."));
    ExpectAllNormalBut({2, 3, 4, 13});
    ExpectTextsOfTheRecord();
    EXPECT_EQ(Label(LabelName(2, 0))->text(), QStringLiteral("0"));
    EXPECT_EQ(Label(LabelName(4, 0))->text(), QStringLiteral("3"));

    Step(2);  // HI HI and the next row 1, which copies 1B and 1D but not 1C
    ExpectPair(2, Look::Normal, QString());
    ExpectPair(3, Look::Grey,
               QStringLiteral("Not copied: the log has \"1#2\" in this group. Shown as raw 0."));
    ExpectPair(4, Look::Normal, QString());
    ExpectPair(13, Look::Grey,
               QStringLiteral("Not copied: the log has \"4?5\" in this group. Shown as raw 0."));
}

TEST_F(MainWindowMarksTest, AMissingRowIsGreyFromRowSixUntilTheRowIsReadAgain) {
    OpenAndStep({FrameLines(), FrameLines({{3, ""}}), FrameLines()}, 10);
    ExpectAllNormalBut({});

    Step(5);  // HI HI and rows 1, 2, 4, 5: nothing is known missing before row 6
    ExpectAllNormalBut({});
    Step(1);  // row 6
    for (int channel = ChannelIndex(3, 1); channel <= ChannelIndex(3, 4); ++channel) {
        ExpectPair(channel, Look::Grey, ui::MissingReason());
    }
    ExpectAllNormalBut({9, 10, 11, 12});
    ExpectTextsOfTheRecord();

    Step(3);  // HI HI and rows 1 and 2: row 3 stays grey without a flicker
    ExpectAllNormalBut({9, 10, 11, 12});
    ExpectPair(9, Look::Grey, ui::MissingReason());
    Step(1);  // row 3
    ExpectAllNormalBut({});
}

TEST_F(MainWindowMarksTest, TheCalibrationValueOfADoubtfulFrameTakesTheWarningColour) {
    const struct Case {
        const char* row6;
        Look look;  ///< of the 6D value
        QString reason;
    } cases[] = {
        {"650 650 650 648", Look::Warning,
         QStringLiteral("Doubtful calibration: 6D reads raw 48, outside the good range 49 to 51. "
                        "Every channel of this frame is in doubt.")},
        {"650 650 650 649", Look::Normal, {}},
        {"650 650 650 651", Look::Normal, {}},
        {"650 650 650 652", Look::Warning,
         QStringLiteral("Doubtful calibration: 6D reads raw 52, outside the good range 49 to 51. "
                        "Every channel of this frame is in doubt.")},
        {"650 650 650 6x7", Look::Grey,
         QStringLiteral("Not copied: the log has \"6x7\" in this group. Shown as raw 0.")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row6);
        // A doubtful frame first, so that every case must also take the colour away.
        OpenAndStep({FrameLines({{6, "650 650 650 699"}}), FrameLines({{6, c.row6}})}, 17);
        ExpectLabel(kChannelCount, 1, c.look, c.reason);
        // The raw value beside it is greyed only when it was not copied.
        ExpectLabel(kChannelCount, 0, c.look == Look::Grey ? Look::Grey : Look::Normal,
                    c.look == Look::Grey ? c.reason : QString());
        ExpectAllNormalBut({kChannelCount});
        ExpectTextsOfTheRecord();
    }
}

TEST_F(MainWindowMarksTest, AnotherLogLeavesThePreviousTextsMarkedUntilItsOwnAreRead) {
    OpenAndStep({FrameLines({{6, "650 650 650 647"}})}, 10);  // to the end: 6D doubtful, red
    std::string next = "ORBIT 2\r\nTIME 10:00\r\nDATE 01-JAN-03\r\n";
    for (const std::string& line : FrameLines()) {
        next += line + "\r\n";
    }
    OpenThroughMenu(dir.Write("next.txt", next));  // reads ORBIT; CSV output goes off
    const QString previous = QStringLiteral("From the previous log, pass.txt.");
    EXPECT_EQ(Label(QStringLiteral("lblDate"))->text(), QStringLiteral("08-JUL-02"));
    const struct {
        int steps;                      // Next presses before the stage
        std::vector<const char*> grey;  // header labels greyed
        int firstNormalChannel;         // channels before it read from the new log
    } stages[] = {
        {0, {"lblDate", "lblTime"}, 1},
        {2, {}, 1},  // TIME and DATE
        {2, {}, 5},  // HI HI and row 1
        {5, {}, 25},
    };
    int stepped = 0;
    for (const auto& stage : stages) {
        Step(stage.steps);
        stepped += stage.steps;
        SCOPED_TRACE("after " + std::to_string(stepped) + " steps");
        for (const char* name : {"lblOrbit", "lblDate", "lblTime"}) {
            const bool grey = std::find_if(stage.grey.begin(), stage.grey.end(), [&](auto g) {
                                  return std::string(g) == name;
                              }) != stage.grey.end();
            const QLabel* label = Label(QLatin1String(name));
            EXPECT_EQ(label->palette().color(QPalette::WindowText),
                      Expected(grey ? Look::Grey : Look::Normal, label))
                << name;
            ExpectHeard(label, grey ? previous : QString(), name);
        }
        for (int channel = 1; channel <= kChannelCount; ++channel) {
            const bool read = channel < stage.firstNormalChannel;
            ExpectPair(channel, read ? Look::Normal : Look::Grey, read ? QString() : previous);
        }
        // Output Data shows a record only while CSV output is on: still the previous log's.
        const auto* output = Find<QPlainTextEdit>(QStringLiteral("txtOutputData"));
        EXPECT_EQ(output->palette().color(QPalette::Text),
                  output->parentWidget()->palette().color(QPalette::Disabled, QPalette::WindowText));
        EXPECT_EQ(output->toolTip(), previous);
    }
    ClickCsvSwitch();  // the header of the new CSV file
    EXPECT_EQ(Find<QPlainTextEdit>(QStringLiteral("txtOutputData"))->toolTip(), QString());
}

TEST_F(MainWindowMarksTest, TheWarningColourReadsOnLightAndDarkThemes) {
    for (const auto& [background, text] :
         {std::pair{QColor(0xef, 0xef, 0xef), QColor(Qt::black)},
          std::pair{QColor(0x2a, 0x2e, 0x32), QColor(0xfc, 0xfc, 0xfc)},
          std::pair{QColor(Qt::white), QColor(Qt::black)},
          std::pair{QColor(Qt::black), QColor(Qt::white)}}) {
        SCOPED_TRACE(background.name().toStdString());
        QPalette palette = window->palette();
        palette.setColor(QPalette::Window, background);
        palette.setColor(QPalette::WindowText, text);
        window->setPalette(palette);
        OpenAndStep({FrameLines({{6, "650 650 650 647"}})}, 10);
        const QLabel* label = Label(LabelName(kChannelCount, 1));
        const double shown = Luminance(label->palette().color(QPalette::WindowText));
        const double behind = Luminance(label->parentWidget()->palette().color(QPalette::Window));
        const double contrast = (std::max(shown, behind) + 0.05) / (std::min(shown, behind) + 0.05);
        EXPECT_GE(contrast, 4.5);
    }
}

}  // namespace
}  // namespace ao07::test
