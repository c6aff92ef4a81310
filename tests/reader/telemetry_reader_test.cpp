#include "reader/telemetry_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/input_slot.h"
#include "core/number_text.h"
#include "core/output_slot.h"
#include "core/run_state.h"
#include "support/recording_panel.h"
#include "support/temp_dir.h"

namespace ao07 {
namespace {

/// A reader on a log written to a temporary file, with the window replaced by a recorder.
class ReaderTest : public ::testing::Test {
protected:
    void Open(const std::string& bytes) {
        state.InputFileName = dir.Write("log.txt", bytes);
        ASSERT_EQ(input.Open(state.InputFileName), "");
        state.AtEndOfFile = false;
    }
    /// Reads a log of one line and returns the state it leaves.
    const RunState& ReadOne(const std::string& line) {
        Open(line + "\r\n");
        reader.ReadNextLine();
        return state;
    }

    test::TempDir dir;
    RunState state;
    InputSlot input;
    OutputSlot csv;
    test::RecordingPanel panel;
    TelemetryReader reader{state, input, csv, panel};
};

TEST_F(ReaderTest, ClassifiesEachLineByItself) {
    struct Case {
        const char* line;
        int row;
    };
    const Case cases[] = {
        {"150 150 150 150", 1},
        {"650 650 650 650", 6},
        {"   350 350 350 350   ", 3},  // trimmed to 15 characters
        {"750 750 750 750", 0},        // 7 is no row digit
        {"050 050 050 050", 0},
        {"150 150 150 15", 0},    // 14 characters
        {"150 150 150 1500", 0},  // 16 characters
        {"\t150 150 150 15", 0},  // a tab is not trimmed: 16 characters
        {"1ab cde fgh ijk", 1},   // whatever the other characters
        {"HI HI", 0},
        {"", 0},
    };
    for (const auto& c : cases) {
        state.CurrentRow = 99;
        ReadOne(c.line);
        EXPECT_EQ(state.CurrentRow, c.row) << '"' << c.line << '"';
    }
}

TEST_F(ReaderTest, ShowsEveryLineTrimmedOfBlanksOnly) {
    ReadOne("  \tHI HI  ");
    EXPECT_EQ(state.CurrentLine, "\tHI HI");
    EXPECT_EQ(panel.rawLine, "\tHI HI");
}

TEST_F(ReaderTest, TakesHeaderValuesByPosition) {
    struct Case {
        const char* line;
        const char* orbit;  // nullptr: not set by this line
        const char* time;
        const char* date;
    };
    const Case cases[] = {
        {"ORBIT 987", "987", nullptr, nullptr},
        {"ORBIT 123.5", "124", nullptr, nullptr},
        {"ORBIT 122.5", "122", nullptr, nullptr},
        {"ORBIT 12 34", "1234", nullptr, nullptr},
        {"ORBIT N/A", "0", nullptr, nullptr},
        {"ORBIT -17", "-17", nullptr, nullptr},
        {"AO-07 ORBIT 5", "0", nullptr, nullptr},  // value text "ORBIT 5"
        {"orbit 77", "77", nullptr, nullptr},
        {"ORBIT 99999999999", "0", nullptr, nullptr},  // too large for the field
        {"ORBIT", "0", nullptr, nullptr},              // nothing after the keyword
        {"TIME 14:32", nullptr, "14:32", nullptr},
        {"TIME  14:32", nullptr, " 14:32", nullptr},  // a second blank stays
        {"Time 14:32", nullptr, "14:32", nullptr},
        {"TIME", nullptr, "", nullptr},
        {"DATE 07-08-02", nullptr, nullptr, "07-08-02"},
        {"TIME 14:32 DATE 07-08-02", nullptr, "14:32 DATE 07-08-02", "14:32 DATE 07-08-02"},
        {"UPDATE 1", nullptr, nullptr, "E 1"},  // UPDATE holds the keyword DATE
        {"hi hi", nullptr, nullptr, nullptr},
        {"73 de the operator", nullptr, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        state.OrbitNumber = -1;
        state.TimeText = state.DateText = "unchanged";
        panel.orbit = panel.time = panel.date = "unchanged";
        ReadOne(c.line);
        SCOPED_TRACE(c.line);
        EXPECT_EQ(state.CurrentRow, 0);
        EXPECT_EQ(panel.orbit, c.orbit ? c.orbit : "unchanged");
        EXPECT_EQ(panel.time, c.time ? c.time : "unchanged");
        EXPECT_EQ(panel.date, c.date ? c.date : "unchanged");
        EXPECT_EQ(state.TimeText, panel.time);
        EXPECT_EQ(state.DateText, panel.date);
        if (c.orbit) {
            EXPECT_EQ(std::to_string(state.OrbitNumber), c.orbit);
        }
    }
}

TEST_F(ReaderTest, FlagsEverySlotThatHoldsAnX) {
    struct Case {
        const char* line;
        std::vector<bool> damaged;
    };
    const Case cases[] = {
        {"312 345 367 389", {false, false, false, false}},
        {"312 3x5 367 389", {false, true, false, false}},
        {"312 3X5 367 389", {false, true, false, false}},  // upper case as well
        {"3xx 345 367 389", {true, false, false, false}},  // several x mark once
        {"3x2 3x5 3x7 3x9", {true, true, true, true}},
        {"312 x45 367 389", {false, true, false, false}},   // the slot's row digit counts
        {"312x345 367 389", {false, false, false, false}},  // a separator marks nothing
        {"312x3x5 367 389", {false, true, false, false}},
        {"312 345x367x38x", {false, false, false, true}},
    };
    for (const auto& c : cases) {
        ReadOne(c.line);
        const std::vector<bool> damaged(state.DamagedSlot.begin(), state.DamagedSlot.end());
        EXPECT_EQ(damaged, c.damaged) << c.line;
    }
}

TEST_F(ReaderTest, StoresTheTwoCharacterValuesOfARow) {
    struct Case {
        const char* line;
        std::vector<int> values;
    };
    const Case cases[] = {
        {"205 2-5 2.5 21.", {5, -5, 0, 1}},
        {"2ab 2.9 27  2 7", {0, 1, 7, 7}},
        {"299 2x9 200 2X0", {99, 0, 0, 0}},
        {"255 555 555 555", {55, 55, 55, 55}},  // other groups' row digits are not compared
    };
    for (const auto& c : cases) {
        ReadOne(c.line);
        const std::vector<int> values = {state.RawChannel[5], state.RawChannel[6],
                                         state.RawChannel[7], state.RawChannel[8]};
        EXPECT_EQ(values, c.values) << c.line;
    }
}

// Every pair of bytes in the value of slot B, damage marks included: the stored value is the
// one the number rules give for those two characters (0 for a damaged slot).
TEST_F(ReaderTest, StoresTheNumberReadingOfEveryTwoCharacterValue) {
    int failures = 0;
    for (int first = 0; first < 256; ++first) {
        for (int second = 0; second < 256; ++second) {
            const std::string value = {static_cast<char>(first), static_cast<char>(second)};
            state.CurrentLine = "150 1" + value + " 150 150";
            state.CurrentRow = 1;
            for (bool& damaged : state.DamagedSlot) {
                damaged = false;
            }
            reader.MarkDamagedChannels();
            reader.ExtractRowValues();
            const bool damaged = value.find_first_of("xX") != std::string::npos;
            const std::int16_t expected =
                damaged ? 0 : RoundToInt16(LeadingNumber(value)).value_or(0);
            if (state.RawChannel[2] != expected && ++failures <= 10) {
                ADD_FAILURE() << "bytes " << first << ", " << second << " stored as "
                              << state.RawChannel[2] << " instead of " << expected;
            }
        }
    }
    EXPECT_EQ(failures, 0);
}

TEST_F(ReaderTest, ARowWritesOnlyItsOwnFourChannels) {
    for (auto& value : state.RawChannel) {
        value = -1;
    }
    ReadOne("612 634 656 678");
    for (int channel = 1; channel <= 24; ++channel) {
        const int expected = channel >= 21 ? 12 + 22 * (channel - 21) : -1;
        EXPECT_EQ(state.RawChannel[channel], expected) << "channel " << channel;
    }
}

TEST_F(ReaderTest, EndOfFileSequenceRunsInOrderOneStepAfterTheLastLine) {
    Open("ORBIT 1\r\n");
    state.CsvEnabled = true;
    panel.csvChecked = true;
    panel.caption = "Stop";
    panel.onCsvUnchecked = [&] {
        panel.events.push_back("csv-off");
        state.CsvEnabled = false;
    };
    reader.ReadNextLine();
    EXPECT_TRUE(panel.events.empty());
    EXPECT_FALSE(state.AtEndOfFile);

    reader.ReadNextLine();
    const std::vector<std::string> expected = {"uncheck", "csv-off", "click-auto-stop", "disable",
                                               "message:           End of file reached.          "};
    EXPECT_EQ(panel.events, expected);
    EXPECT_TRUE(state.AtEndOfFile);
    EXPECT_EQ(state.InputFileName, "");
    EXPECT_FALSE(state.CsvEnabled);
    EXPECT_EQ(panel.caption, "Auto");
    EXPECT_FALSE(input.IsOpen());
    EXPECT_EQ(panel.rawLine, "ORBIT 1");  // the last line stays on show
    EXPECT_EQ(state.OrbitNumber, 1);
}

TEST_F(ReaderTest, AnEmptyLogEndsAtTheFirstStepAndLeavesTheShownLine) {
    panel.rawLine = "from before";
    Open("");
    reader.ReadNextLine();
    EXPECT_TRUE(state.AtEndOfFile);
    EXPECT_EQ(panel.rawLine, "from before");
    // Auto mode was off: the Auto/Stop reaction is not run.
    const std::vector<std::string> expected = {"uncheck", "disable",
                                               "message:           End of file reached.          "};
    EXPECT_EQ(panel.events, expected);
}

}  // namespace
}  // namespace ao07
