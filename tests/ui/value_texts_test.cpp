// Every front end gives a channel's value the same text: the main window, the CSV and JSON Lines
// of ao07-decode, its --stats (table and JSON) and the Trends window's exports, for every
// channel and every raw value a row can carry. A log of one frame has a mean equal to its value.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QProcess>
#include <QRegularExpression>

#include <array>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "analysis/trend_data.h"
#include "analysis/trend_log.h"
#include "core/channel.h"
#include "decoder/channel_equations.h"
#include "decoder/channel_table.h"
#include "ui/main_window/main_window_fixture.h"
#include "ui/trends/trends_export.h"

namespace ao07::test {
namespace {

using Texts = std::array<std::string, kChannelCount>;

/// A log of one frame whose 24 channels all carry `raw`.
std::string OneFrameLog(int raw) {
    const std::string digits =
        raw < 0 ? std::to_string(raw) : (raw < 10 ? "0" : "") + std::to_string(raw);
    std::string log = "DATE 08-JUL-02\r\nTIME 14:32\r\n";
    for (int row = 1; row <= kRowCount; ++row) {
        const std::string group = std::to_string(row) + digits;
        log += group + ' ' + group + ' ' + group + ' ' + group + "\r\n";
    }
    return log;
}

/// What ao07-decode writes to standard output for `arguments`.
std::string Decode(const QStringList& arguments) {
    QProcess decoder;
    decoder.start(QStringLiteral(AO07_DECODE_PATH), arguments);
    EXPECT_TRUE(decoder.waitForFinished(10000));
    EXPECT_EQ(decoder.exitCode(), 0) << decoder.readAllStandardError().toStdString();
    return decoder.readAllStandardOutput().toStdString();
}

/// The last `count` fields of a line split at `separator`.
std::vector<std::string> LastFields(const QString& line, const QRegularExpression& separator,
                                    int count) {
    const QStringList fields = line.trimmed().split(separator);
    std::vector<std::string> last;
    for (qsizetype i = fields.size() - count; i < fields.size(); ++i) {
        last.push_back(fields[i].toStdString());
    }
    return last;
}

class ValueTextsTest : public MainWindowTest {
protected:
    /// The texts of the value labels once the log's frame has been stepped through.
    Texts WindowTexts(const std::string& log) {
        OpenThroughMenu(log);
        for (int step = 0; step < 8 && Button("butNext")->isEnabled(); ++step) {
            Click("butNext");
        }
        boxes->shown.clear();  // the end-of-log message
        Texts texts;
        for (int channel = 1; channel <= kChannelCount; ++channel) {
            const QString name = QString::fromStdString("lbl" + ChannelName(channel) + "_1");
            texts[static_cast<std::size_t>(channel - 1)] =
                Label(name.toLower())->text().toStdString();
        }
        return texts;
    }
};

TEST_F(ValueTextsTest, EveryOutputGivesAValueTheSameTextAndAOneFrameMeanIsItsValue) {
    std::map<int, std::string> logs;
    QStringList all;
    for (int raw = -9; raw <= 99; ++raw) {
        logs[raw] = dir.Write("raw" + std::to_string(raw) + ".txt", OneFrameLog(raw));
        all << QString::fromStdString(logs[raw]);
    }
    const QStringList csv =
        QString::fromStdString(Decode(all)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    const QStringList jsonLines =
        QString::fromStdString(
            Decode(QStringList{QStringLiteral("--format"), QStringLiteral("jsonl")} + all))
            .split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(csv.size(), 1 + 109);
    ASSERT_EQ(jsonLines.size(), 109);

    for (int raw = -9; raw <= 99; ++raw) {
        SCOPED_TRACE("raw " + std::to_string(raw));
        const std::size_t frame = static_cast<std::size_t>(raw + 9);
        // A "-" is no digit: such a group is not copied, and the figures over copied values
        // (statistics, trends) leave it out.
        const bool copied = raw >= 0;
        const Texts window = WindowTexts(logs[raw]);
        const std::vector<std::string> record =
            LastFields(csv[static_cast<qsizetype>(frame) + 1],
                       QRegularExpression(QStringLiteral(",")), kChannelCount);
        const auto frameJson =
            nlohmann::json::parse(jsonLines[static_cast<qsizetype>(frame)].toStdString());
        const QString log = QString::fromStdString(logs[raw]);
        const auto stats = Decode(
            {QStringLiteral("--stats"), QStringLiteral("--format"), QStringLiteral("jsonl"), log});
        const QStringList table = QString::fromStdString(Decode({QStringLiteral("--stats"), log}))
                                      .split(u'\n', Qt::SkipEmptyParts);
        TrendData trends;
        trends.SetLogs({LoadTrendLog(logs[raw], 0)});
        ui::TrendsExportRange range;
        range.to = 2;  // frame 1 of the frame axis
        for (int channel = 1; channel <= kChannelCount; ++channel) {
            range.channels.push_back(channel);
        }
        const QStringList points = QString::fromUtf8(ui::PointsCsv(trends, range))
                                       .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        const QStringList statistics = QString::fromUtf8(ui::StatisticsCsv(trends, range))
                                           .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        ASSERT_EQ(points.size(), 2);
        ASSERT_EQ(statistics.size(), 1 + kChannelCount);
        const std::vector<std::string> trendPoints =
            LastFields(points[1], QRegularExpression(QStringLiteral(",")), kChannelCount);

        std::istringstream statsStream(stats);
        for (int channel = 1; channel <= kChannelCount; ++channel) {
            SCOPED_TRACE("channel " + ChannelName(channel));
            const auto at = static_cast<std::size_t>(channel - 1);
            const std::string& text = window[at];
            const float value = ConvertChannel(channel, static_cast<std::int16_t>(raw));
            EXPECT_EQ(record[at], text);
            EXPECT_EQ(frameJson["channels"][at]["text"], text);
            EXPECT_EQ(frameJson["channels"][at]["value"].get<float>(), value);
            EXPECT_EQ(trendPoints[at], copied ? text : "");

            std::string statsJsonLine;
            std::getline(statsStream, statsJsonLine);
            const auto channelStats = nlohmann::json::parse(statsJsonLine);
            const std::vector<std::string> tableFigures =
                LastFields(table[channel], QRegularExpression(QStringLiteral(" +")), 4);
            const std::vector<std::string> trendFigures =
                LastFields(statistics[channel], QRegularExpression(QStringLiteral(",")), 4);
            for (std::size_t figure = 0; figure < 4; ++figure) {
                const std::string name = std::array{"minimum", "maximum", "mean", "last"}[figure];
                if (copied) {
                    EXPECT_EQ(channelStats[name].get<float>(), value) << name;
                    EXPECT_EQ(channelStats[name + "_text"], text) << name;
                } else {
                    EXPECT_TRUE(channelStats[name].is_null()) << name;
                    EXPECT_TRUE(channelStats[name + "_text"].is_null()) << name;
                }
                EXPECT_EQ(tableFigures[figure], copied ? text : "-") << name;
                EXPECT_EQ(trendFigures[figure], copied ? text : "") << name;
            }
        }
    }
}

}  // namespace
}  // namespace ao07::test
