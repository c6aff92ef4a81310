#include "decoder/frame_stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/frame_checks.h"
#include "support/temp_dir.h"

namespace ao07 {
namespace {

/// Row r of a frame whose every raw value is 50, with `groups` in place of its four groups.
std::string Row(int r, const std::string& groups = "") {
    const std::string digit(1, static_cast<char>('0' + r));
    return (groups.empty() ? digit + "50 " + digit + "50 " + digit + "50 " + digit + "50"
                           : groups) +
           "\r\n";
}

std::string Rows(int first, int last) {
    std::string rows;
    for (int r = first; r <= last; ++r) {
        rows += Row(r);
    }
    return rows;
}

/// One letter per channel 1A..6D: c copied, n not copied, m missing.
std::string Receptions(const Frame& frame) {
    std::string letters;
    for (const ChannelReading& channel : frame.channels) {
        letters += channel.reception == Reception::Copied      ? 'c'
                   : channel.reception == Reception::NotCopied ? 'n'
                                                               : 'm';
    }
    return letters;
}

std::vector<Frame> Decode(const std::string& log) {
    test::TempDir dir;
    std::vector<Frame> frames;
    EXPECT_EQ(DecodeLogFrames(dir.Write("log.txt", log), frames), "");
    return frames;
}

TEST(FrameStream, SaysHowEveryChannelOfAFrameWasReceived) {
    const std::string allCopied(24, 'c');
    struct Case {
        std::string name;
        std::string log;
        std::string receptions;  // of the last frame
    };
    std::vector<Case> cases = {
        {"a clean frame", "HI HI\r\n" + Rows(1, 6), allCopied},
        {"a blank in a value", Rows(1, 2) + Row(3, "350 3 5 350 350") + Rows(4, 6),
         "cccccccccnccccccccccccc"
         "c"},
        {"a letter in a value", Rows(1, 2) + Row(3, "350 3a5 350 350") + Rows(4, 6),
         "cccccccccncccccccccccccc"},
        {"a row missing", Rows(1, 6) + Row(1) + Rows(3, 6), "ccccmmmmcccccccccccccccc"},
        {"a row twice, the later one marked", Rows(1, 3) + Row(3, "3x0 350 350 350") + Rows(4, 6),
         "ccccccccnccccccccccccccc"},
        {"a row twice, the later one clean",
         Rows(1, 3) + Row(3, "3x0 3?0 3#0 3X0") + Row(3) + Rows(4, 6), allCopied},
        {"a log that starts with row 4", Rows(4, 6), "mmmmmmmmmmmmcccccccccccc"},
    };
    // Each mark a copier writes for a digit not heard, in each of the three positions of 3B.
    for (const char mark : {'x', 'X', '?', '#'}) {
        for (int position = 0; position < 3; ++position) {
            std::string group = "350";
            group[static_cast<std::size_t>(position)] = mark;
            cases.push_back({std::string("mark ") + mark + " at " + std::to_string(position),
                             Rows(1, 2) + Row(3, "350 " + group + " 350 350") + Rows(4, 6),
                             "cccccccccncccccccccccccc"});
        }
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<Frame> frames = Decode(c.log);
        ASSERT_FALSE(frames.empty());
        EXPECT_EQ(Receptions(frames.back()), c.receptions);
    }
}

TEST(FrameStream, NumbersFramesAndKeepsTheirHeaderTextsAndNumbers) {
    const std::vector<Frame> frames =
        Decode("ORBIT 12345\r\nTIME 14:32\r\nDATE 08-JUL-02\r\nHI HI\r\n" + Rows(1, 6) +
               "TIME 14:33\r\n" + Row(1, "1xx 150 150 150") + Row(6));
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].number, 1);
    EXPECT_EQ(frames[0].lineNumber, 10);
    EXPECT_EQ(frames[0].time, "14:32");
    EXPECT_EQ(frames[0].date, "08-JUL-02");
    EXPECT_EQ(frames[0].orbit, 12345);
    EXPECT_EQ(frames[0].Channel(1).raw, 50);
    EXPECT_EQ(frames[0].Channel(1).value, 1475.0f);
    EXPECT_EQ(frames[0].Channel(1).text, "1475.000");
    EXPECT_EQ(frames[1].number, 2);
    EXPECT_EQ(frames[1].lineNumber, 13);
    EXPECT_EQ(frames[1].time, "14:33");
    // A slot not copied is shown, and written, as raw 0 (1A: 0.000).
    EXPECT_EQ(frames[1].Channel(1).raw, 0);
    EXPECT_EQ(frames[1].Channel(1).text, "0.000");
    EXPECT_EQ(frames[1].Channel(1).reception, Reception::NotCopied);
    // Row 3 was not in the second frame: its texts are the first frame's.
    EXPECT_EQ(frames[1].Channel(9).text, "11.400");
    EXPECT_EQ(frames[1].Channel(9).reception, Reception::Missing);
    EXPECT_EQ(frames[1].record.substr(0, 23), "08-JUL-02,14:33,12345,0");
}

TEST(FrameChecks, JudgesAFrameByItsCalibrationChannel) {
    struct Case {
        std::string row6;
        Calibration calibration;
    };
    const Case cases[] = {
        {"650 650 650 648", Calibration::Doubtful}, {"650 650 650 649", Calibration::Good},
        {"650 650 650 651", Calibration::Good},     {"650 650 650 652", Calibration::Doubtful},
        {"650 650 650 6x0", Calibration::Unknown},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row6);
        const std::vector<Frame> frames = Decode(Rows(1, 5) + Row(6, c.row6));
        ASSERT_EQ(frames.size(), 1u);
        EXPECT_EQ(CalibrationOf(frames[0]), c.calibration);
        EXPECT_EQ(IsClean(frames[0]), c.calibration == Calibration::Good);
    }
    // A frame is clean only with all six rows in it; 6D is always in a frame, as row 6 ends it.
    const std::vector<Frame> frames = Decode(Rows(1, 6) + Rows(2, 6) + Row(6));
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_TRUE(IsClean(frames[0]));
    EXPECT_FALSE(IsClean(frames[1]));
    EXPECT_FALSE(IsClean(frames[2]));
    EXPECT_EQ(CalibrationOf(frames[2]), Calibration::Good);
}

TEST(FrameStream, AnUnreadableLogGivesItsReason) {
    test::TempDir dir;
    std::vector<Frame> frames;
    EXPECT_EQ(DecodeLogFrames(dir.File("missing.txt"), frames), "No such file or directory");
    EXPECT_TRUE(frames.empty());
}

}  // namespace
}  // namespace ao07
