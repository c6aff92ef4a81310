// ao07-decode --gaps and --check on small logs: which channels a frame really carries.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "cli/decode_process.h"
#include "support/temp_dir.h"

namespace ao07::test {
namespace {

/// kRecord with 6D's field `sixD` and the fields of the channels in `empty` (1..24) left empty.
std::string RecordWithGaps(const std::set<int>& empty, const std::string& sixD) {
    const std::string record = kRecord.substr(0, kRecord.size() - 2);
    std::string result;
    int field = 0;  // 0..2 date, time, orbit; 3.. the channels
    for (std::size_t start = 0; start <= record.size(); ++field) {
        std::size_t end = record.find(',', start);
        end = end == std::string::npos ? record.size() : end;
        result += field == 0 ? "" : ",";
        if (!empty.contains(field - 2)) {
            result += field == 26 ? sixD : record.substr(start, end - start);
        }
        start = end + 1;
    }
    return result + "\r\n";
}

TEST(FrameReports, GapsLeaveOutWhatTheFrameDidNotCarryAndCheckSaysWhy) {
    // A good frame first, then a frame of these rows (line 11 is its HI HI).
    struct Case {
        const char* rows;
        std::set<int> gaps;  ///< channels whose --gaps field is empty
        const char* sixD;    ///< 6D's text when copied
        const char* check;   ///< the --check line of the second frame, "" for a clean frame
    };
    const Case cases[] = {
        {"150 1x0 150 150\r\n250 250 250 250\r\n3X0 350 350 350\r\n450 4?0 4#5 450\r\n"
         "550 550 550 550\r\n650 650 650 650\r\n",
         {2, 9, 14, 15},
         "0.500",
         "frame 2 (line 17): not copied 1B 3A 4B 4C"},
        // A blank and a letter inside a group; 6D at 48.
        {"150 150 150 150\r\n2 5 250 2A0 250\r\n350 350 350 350\r\n450 450 450 450\r\n"
         "550 550 550 550\r\n650 650 650 648\r\n",
         {5, 7},
         "0.480",
         "frame 2 (line 17): doubtful calibration, 6D raw 48; not copied 2A 2C"},
        {"150 150 150 150\r\n250 250 250 250\r\n350 350 350 350\r\n450 450 450 450\r\n"
         "550 550 550 550\r\n650 650 650 649\r\n",
         {},
         "0.490",
         ""},
        {"150 150 150 150\r\n250 250 250 250\r\n350 350 350 350\r\n450 450 450 450\r\n"
         "550 550 550 550\r\n650 650 650 651\r\n",
         {},
         "0.510",
         ""},
        {"150 150 150 150\r\n250 250 250 250\r\n350 350 350 350\r\n450 450 450 450\r\n"
         "550 550 550 550\r\n650 650 650 652\r\n",
         {},
         "0.520",
         "frame 2 (line 17): doubtful calibration, 6D raw 52"},
        // A repeated row 3, row 5 missing, 6D not copied.
        {"150 150 150 150\r\n250 250 250 250\r\n350 350 350 350\r\n350 350 350 350\r\n"
         "450 450 450 450\r\n650 650 650 6x0\r\n",
         {17, 18, 19, 20, 24},
         "",
         "frame 2 (line 17): unknown calibration; not copied 6D; missing row 5"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        dir.Write("log.txt", kFrame + "HI HI\r\n" + c.rows);
        const Outcome gaps = Decode(dir, "--gaps log.txt");
        EXPECT_EQ(gaps.status, 0) << gaps.err;
        EXPECT_EQ(gaps.out.substr(gaps.out.find("\r\n") + 2),
                  kRecord + RecordWithGaps(c.gaps, c.sixD))
            << c.rows;
        // Without --gaps the header is the same and so are the first frame's bytes.
        const Outcome plain = Decode(dir, "log.txt");
        EXPECT_EQ(plain.out.substr(0, plain.out.find("\r\n")),
                  gaps.out.substr(0, gaps.out.find("\r\n")));

        const Outcome check = Decode(dir, "--check log.txt");
        EXPECT_EQ(check.status, 0) << check.err;
        const std::string firstLine = check.out.substr(0, check.out.find('\n'));
        EXPECT_EQ(std::string(c.check).empty() ? "" : firstLine, c.check) << c.rows;
    }
}

TEST(FrameReports, CheckCountsEveryKindOfFault) {
    TempDir dir;
    struct Case {
        std::string log;
        const char* summary;
    };
    const Case cases[] = {
        {"",
         "0 frames: 0 clean, 0 doubtful, 0 calibration unknown, 0 channels not copied, "
         "0 rows missing\n"},
        {"HI HI\r\nHI HI\r\n",
         "0 frames: 0 clean, 0 doubtful, 0 calibration unknown, "
         "0 channels not copied, 0 rows missing\n"},
        // A row 6 before any other row: one frame, five rows missing.
        {"650 650 650 650\r\n",
         "1 frame: 0 clean, 0 doubtful, 0 calibration unknown, "
         "0 channels not copied, 5 rows missing\n"},
        {kFrame + "650 650 6x0 690\r\n" + kFrame,
         "3 frames: 2 clean, 1 doubtful, 0 calibration unknown, 1 channel not copied, "
         "5 rows missing\n"},
        {"ORBIT 1\r\n150 150 150 150\r\n650 650 650 6#0\r\n650 650 650 6?0\r\n",
         "2 frames: 0 clean, 0 doubtful, 2 calibration unknown, 2 channels not copied, "
         "9 rows missing\n"},
    };
    for (const Case& c : cases) {
        dir.Write("log.txt", c.log);
        const Outcome check = Decode(dir, "--check log.txt");
        EXPECT_EQ(check.status, 0) << check.err;
        const auto summary = check.out.rfind('\n', check.out.size() - 2);
        EXPECT_EQ(check.out.substr(summary == std::string::npos ? 0 : summary + 1), c.summary)
            << c.log;
    }
    // An I/O error is still a failure.
    const Outcome unreadable = Decode(dir, "--check .");
    EXPECT_EQ(unreadable.status, 1);
    EXPECT_EQ(unreadable.err, "ao07-decode: The log \".\" could not be opened: Is a directory.\n");
}

}  // namespace
}  // namespace ao07::test
