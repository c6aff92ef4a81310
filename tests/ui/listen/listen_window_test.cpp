// The Listen window driven as a user drives it: typing into the copy pad, clicking on the
// waterfall, with the log kept in a folder of the test's own.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTest>
#include <QTextBlock>

#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "audio/synth/beacon_synth.h"
#include "robustness/file_size_limit.h"
#include "support/temp_dir.h"
#include "ui/listen/copy_pad.h"
#include "ui/listen/listen_window.h"
#include "ui/listen/waterfall.h"

namespace ao07::ui {
namespace {

class ListenWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ListenRequest request;
        request.log = QString::fromStdString(m_dir.File("pass.txt"));
        m_window = std::make_unique<ListenWindow>(request);
        m_window->setAttribute(Qt::WA_DeleteOnClose, false);
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        m_pad = m_window->findChild<CopyPad*>(QStringLiteral("copyPad"));
        ASSERT_NE(m_pad, nullptr);
    }

    /// Types `lines` into the pad at its end, each completed with Return.
    void TypeLines(const std::vector<std::string>& lines) {
        m_pad->moveCursor(QTextCursor::End);
        for (const std::string& line : lines) {
            QTest::keyClicks(m_pad, QString::fromStdString(line));
            QTest::keyClick(m_pad, Qt::Key_Return);
        }
    }

    /// Replaces the character at `column` of line `line` (from 0) by `text`, as typed.
    void Correct(int line, int column, const QString& text) {
        QTextCursor cursor(m_pad->document()->findBlockByNumber(line));
        cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, column);
        m_pad->setTextCursor(cursor);
        QTest::keyClick(m_pad, Qt::Key_Delete);
        QTest::keyClicks(m_pad, text);
    }

    std::string LogOnDisk() const { return test::ReadFile(m_dir.File("pass.txt")); }

    QString Status() const {
        return m_window->findChild<QLabel*>(QStringLiteral("status"))->text();
    }

    test::TempDir m_dir;
    std::unique_ptr<ListenWindow> m_window;
    CopyPad* m_pad = nullptr;
};

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

// Each typed row shows its four values beside it, as the CSV of the example log has them.
TEST_F(ListenWindowTest, TypedRowShowsItsDecodedValues) {
    struct Case {
        std::string row;
        QStringList shown;
    };
    const std::vector<Case> cases = {
        {"150 101 101 101", {"1A 1475.000", "1B 1.950", "1C 1.950", "1D 1.950"}},
        {"205 250 299 250", {"2A 0.148", "2B 2.000", "2C 1500.840", "2D 0.000"}},
        {"  650 650 650 650", {"6D 0.500"}},
        {"1x0 101 1?1 101", {"1A not copied", "1B 1.950", "1C not copied", "1D 1.950"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        m_pad->clear();
        TypeLines({c.row});
        const QString decoded = m_pad->DecodedText(0);
        qsizetype from = 0;
        for (const QString& part : c.shown) {
            from = decoded.indexOf(part, from);
            EXPECT_GE(from, 0) << decoded.toStdString() << " lacks " << part.toStdString();
        }
    }
}

// A line meant as a row without a row's shape is underlined, and its tooltip says why.
TEST_F(ListenWindowTest, MalformedRowIsUnderlinedWithItsReason) {
    struct Case {
        std::string line;
        std::string reason;  // "" for a line left as it is
    };
    const std::vector<Case> cases = {
        {"205 250 299 25", "A row has 15 characters; this line has 14."},
        {"2052 50 299 250",
         "A row is four groups of three characters with one blank between them; character 4 "
         "breaks that."},
        {"705 750 799 750", "The row digit is 1 to 6, not \"7\"."},
        {"205 350 299 250", "Group 2 starts with \"3\", not the row digit \"2\"."},
        {"205 250 x99 250", ""},
        {"ORBIT 23514", ""},
        {"HI HI", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        m_pad->clear();
        TypeLines({c.line});
        EXPECT_EQ(m_pad->ToolTipAt(0, 2).toStdString(), c.reason);
        bool underlined = false;
        for (const QTextEdit::ExtraSelection& selection : m_pad->extraSelections()) {
            underlined = underlined ||
                         (selection.cursor.blockNumber() == 0 &&
                          selection.format.underlineStyle() == QTextCharFormat::WaveUnderline &&
                          selection.cursor.selectedText() == QString::fromStdString(c.line));
        }
        EXPECT_EQ(underlined, !c.reason.empty());
    }
}

// Each completed line reaches the disk at once; an edit of an earlier line rewrites the log
// whole, under the same name, and loses no line.
TEST_F(ListenWindowTest, EditOfAnEarlierLineRewritesTheLog) {
    const std::vector<std::string> typed = {"ORBIT 23514", "HI HI", "150 101 101 101",
                                            "205 250 299 250"};
    TypeLines(typed);
    EXPECT_EQ(LogOnDisk(), Joined(typed));
    // Held open across the edit: a log rewritten in place would change under it.
    std::ifstream before(m_dir.File("pass.txt"), std::ios::binary);

    Correct(2, 6, QStringLiteral("2"));
    TypeLines({"350 399 301 365"});

    EXPECT_EQ(LogOnDisk(), Joined({"ORBIT 23514", "HI HI", "150 102 101 101", "205 250 299 250",
                                   "350 399 301 365"}));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(before), {}), Joined(typed))
        << "rewritten in place, not through a new file";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.Path()),
                            std::filesystem::directory_iterator()),
              1)
        << "a temporary file was left behind";
}

// A write that fails (a full disk) is said at once, naming the log, and every line completed
// before it stays in the log.
TEST_F(ListenWindowTest, FailedWriteIsReported) {
    const std::vector<std::string> fits = {"ORBIT 23514", "HI HI", "150 101 101 101"};
    TypeLines({fits[0]});
    {
        test::FileSizeLimit full(Joined(fits).size() + 5);
        ASSERT_TRUE(full.Active());
        TypeLines({fits[1], fits[2]});
        EXPECT_TRUE(Status().isEmpty() || !Status().contains(QStringLiteral("could not")));
        TypeLines({"205 250 299 250"});
    }
    EXPECT_TRUE(Status().contains(QStringLiteral("The log could not be written")))
        << Status().toStdString();
    EXPECT_TRUE(Status().contains(QString::fromStdString(m_dir.File("pass.txt"))))
        << Status().toStdString();
    EXPECT_EQ(LogOnDisk(), Joined(fits));
}

// With announcements on, each row is announced with its values when it is completed, and again
// when the operator corrects it into another well-formed row; a line that is not a row, a row
// broken by an edit, and rows that only move down when a line is put in above them are not.
TEST_F(ListenWindowTest, CompletedRowsAreAnnounced) {
    struct Case {
        const char* name;
        bool announce;
        std::vector<std::function<void()>> steps;
        std::vector<std::string> announced;  ///< the start of what each step announces, or ""
    };
    const auto typeRow = [this] { TypeLines({"150 101 101 101"}); };
    const auto typeOrbit = [this] { TypeLines({"ORBIT 23514"}); };
    const auto correct = [this] { Correct(1, 6, QStringLiteral("2")); };
    const auto breakRow = [this] { Correct(1, 6, QString()); };
    const auto orbitAbove = [this] {
        auto* orbit = m_window->findChild<QLineEdit*>(QStringLiteral("orbit"));
        orbit->setText(QStringLiteral("23514"));
        emit orbit->editingFinished();
    };
    const std::vector<Case> cases = {
        {"typed", true, {typeOrbit, typeRow}, {"", "Row 1: 1A 1475.000"}},
        {"not asked for", false, {typeOrbit, typeRow, correct}, {"", "", ""}},
        {"corrected",
         true,
         {typeOrbit, typeRow, correct},
         {"", "Row 1: 1A 1475.000", "Row 1: 1A 1475.000 A, 1B 1.930 A"}},
        {"broken by an edit", true, {typeOrbit, typeRow, breakRow}, {"", "Row 1: 1A", ""}},
        {"moved down by the orbit", true, {typeRow, orbitAbove}, {"Row 1: 1A 1475.000", ""}},
    };
    auto* announcement = m_window->findChild<QLabel*>(QStringLiteral("announcement"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_pad->clear();
        m_window->findChild<QCheckBox*>(QStringLiteral("announce"))->setChecked(c.announce);
        for (std::size_t step = 0; step < c.steps.size(); ++step) {
            SCOPED_TRACE(step);
            announcement->setAccessibleName(QString());
            c.steps[step]();
            const std::string said = announcement->accessibleName().toStdString();
            EXPECT_EQ(said.substr(0, c.announced[step].size()), c.announced[step]) << said;
            EXPECT_EQ(said.empty(), c.announced[step].empty()) << said;
        }
    }
}

/// Writes a recording of one beacon frame at 700 Hz beside two stations keying text, at 1000
/// and 1300 Hz, each some 12 dB stronger: the engine's channels follow those two and the beacon
/// is left alone. Returns the rows of the frame sent.
std::vector<std::string> WriteCrowdedBand(const std::string& path) {
    audio::synth::SynthSettings beacon;
    beacon.seed = 21;
    beacon.toneHz = 700;
    beacon.wordsPerMinute = 30;
    beacon.leadSeconds = 8;
    beacon.tailSeconds = 3;
    beacon.interferer.present = true;
    beacon.interferer.offsetHz = 300;
    beacon.interferer.levelDb = 12;
    audio::synth::RandomSource digits(beacon.seed + 1000);
    audio::synth::BeaconSynth near(beacon, audio::synth::RandomFrames(1, digits));
    std::vector<float> samples(static_cast<std::size_t>(near.TotalSamples()));
    near.Render(samples);

    audio::synth::SynthSettings station;
    station.seed = 22;
    station.noise = false;
    station.toneHz = 1200;
    station.interferer.present = true;
    station.interferer.offsetHz = 100;
    station.interferer.wordsPerMinute = 22;
    station.leadSeconds = static_cast<double>(samples.size()) / beacon.sampleRateHz;
    audio::synth::BeaconSynth far(station, {});
    std::vector<float> other(samples.size());
    other.resize(far.Render(other));
    for (std::size_t i = 0; i < other.size(); ++i) {
        samples[i] = std::clamp(samples[i] + other[i], -1.0f, 1.0f);
    }

    SF_INFO info{};
    info.samplerate = static_cast<int>(beacon.sampleRateHz);
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    EXPECT_NE(file, nullptr) << path;
    if (file != nullptr) {
        EXPECT_EQ(sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size())),
                  static_cast<sf_count_t>(samples.size()));
        EXPECT_EQ(sf_close(file), 0);
    }
    const auto& rows = near.SentFrames().at(0).frame.rows;
    return {rows.begin(), rows.end()};
}

/// The tone the engine reports in the window, in Hz, or 0 while it reports none.
int ReportedTone(const ListenWindow& window) {
    const QString text = window.findChild<QLabel*>(QStringLiteral("tone"))->text();
    static const QRegularExpression hz(QStringLiteral("(\\d+) Hz"));
    const QRegularExpressionMatch match = hz.match(text);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

// A click on the waterfall tunes the engine to the tone under it: on a crowded band where the
// engine follows two stronger stations, a click on the beacon's tone moves the engine's tone
// there and the frame is copied; without the click nothing is.
TEST_F(ListenWindowTest, ClickOnTheWaterfallRetunes) {
    const std::vector<std::string> sent = WriteCrowdedBand(m_dir.File("band.wav"));
    struct Case {
        double clickHz;  ///< 0: no click
        bool copied;
    };
    for (const Case c : {Case{0, false}, Case{700, true}}) {
        SCOPED_TRACE(c.clickHz);
        ListenRequest request;
        request.log = QString::fromStdString(m_dir.File("crowded.txt"));
        ListenWindow window(request);
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        auto* waterfall = window.findChild<Waterfall*>(QStringLiteral("waterfall"));
        auto* plot = waterfall->findChild<QWidget*>(QStringLiteral("waterfallPlot"));
        auto* start = window.findChild<QPushButton*>(QStringLiteral("start"));
        auto* source = window.findChild<QComboBox*>(QStringLiteral("source"));
        source->setCurrentIndex(source->findText(QStringLiteral("Recording file")));
        window.findChild<QLineEdit*>(QStringLiteral("recording"))
            ->setText(QString::fromStdString(m_dir.File("band.wav")));
        window.findChild<QCheckBox*>(QStringLiteral("fast"))->setChecked(true);
        QTest::mouseClick(start, Qt::LeftButton);
        ASSERT_FALSE(start->isEnabled())
            << window.findChild<QLabel*>(QStringLiteral("status"))->text().toStdString();

        // As fast as it goes, the run takes a couple of seconds of sound at each turn of the
        // event loop: the click comes as soon as the engine reports a tone of its own choosing.
        QDeadlineTimer deadline(std::chrono::seconds(60));
        while (ReportedTone(window) == 0 && !start->isEnabled() && !deadline.hasExpired()) {
            QCoreApplication::processEvents();
        }
        EXPECT_GT(std::abs(ReportedTone(window) - 700), 100) << "the engine chose the beacon";
        if (c.clickHz > 0) {
            const QPoint at(waterfall->PositionOf(c.clickHz), plot->height() / 2);
            QTest::mouseClick(plot, Qt::LeftButton, {}, plot->mapFrom(waterfall, at));
            EXPECT_NEAR(window.findChild<QSpinBox*>(QStringLiteral("tuneTone"))->value(), c.clickHz,
                        10);
        }
        bool beaconReported = false;
        while (!start->isEnabled() && !deadline.hasExpired()) {
            QCoreApplication::processEvents();
            beaconReported = beaconReported || std::abs(ReportedTone(window) - 700) <= 10;
        }
        ASSERT_TRUE(start->isEnabled()) << "the recording did not end";
        EXPECT_EQ(beaconReported, c.copied);
        auto* pad = window.findChild<CopyPad*>(QStringLiteral("copyPad"));
        std::vector<std::string> rows;
        for (const QString& line : pad->CompleteLines()) {
            if (!line.isEmpty() && line.at(0) >= QLatin1Char('1') &&
                line.at(0) <= QLatin1Char('6')) {
                rows.push_back(line.toStdString());
            }
        }
        EXPECT_EQ(rows, c.copied ? sent : std::vector<std::string>{});
    }
}

}  // namespace
}  // namespace ao07::ui
