#include "reader/telemetry_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace ao07 {
namespace {

/// A reader on a log written to a temporary file.
class ReaderTest : public ::testing::Test {
protected:
    /// Reads a log of one line and returns what the reader found in it.
    const LineReading& ReadOne(const std::string& line) {
        EXPECT_EQ(reader.Log().Open(dir.Write("log.txt", line + "\r\n")), "");
        reader.ReadNextLine(reading);
        return reading;
    }

    test::TempDir dir;
    TelemetryReader reader;
    LineReading reading;
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
        EXPECT_EQ(ReadOne(c.line).row, c.row) << '"' << c.line << '"';
    }
}

TEST_F(ReaderTest, TrimsEveryLineOfBlanksOnly) {
    EXPECT_EQ(ReadOne("  \tHI HI  ").line, "\tHI HI");
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
        SCOPED_TRACE(c.line);
        ReadOne(c.line);
        EXPECT_EQ(reading.row, 0);
        EXPECT_EQ(reading.hasOrbit, c.orbit != nullptr);
        EXPECT_EQ(reading.hasTime, c.time != nullptr);
        EXPECT_EQ(reading.hasDate, c.date != nullptr);
        if (c.orbit) {
            EXPECT_EQ(std::to_string(reading.orbit), c.orbit);
        }
        EXPECT_EQ(reading.time, c.time ? c.time : "");
        EXPECT_EQ(reading.date, c.date ? c.date : "");
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
        const std::vector<bool> damaged(reading.damagedSlot.begin(), reading.damagedSlot.end());
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
        const std::vector<int> values(reading.value.begin(), reading.value.end());
        EXPECT_EQ(values, c.values) << c.line;
    }
}

TEST_F(ReaderTest, SaysEachSlotWasCopiedOnlyWhenItsTwoDigitsAreThereUnmarked) {
    struct Case {
        const char* line;
        const char* copied;  // one letter per slot: c copied, n not copied
    };
    const Case cases[] = {
        {"312 345 367 389", "cccc"},
        {"3x2 x45 36x 3X9", "nnnn"},  // a mark in any of the three positions
        {"3?2 #45 36? 3#9", "nnnn"},
        {"x12 3 5 3a7 3-9", "nnnn"},  // the row digit marked; a blank, a letter, a sign
        {"312x345#367?389", "cccc"},  // a separator belongs to no slot
        {"3.5 305 3 0 3.0", "ncnn"},
    };
    for (const auto& c : cases) {
        ReadOne(c.line);
        std::string copied;
        for (const Reception reception : reading.reception) {
            copied += reception == Reception::Copied ? 'c' : 'n';
        }
        EXPECT_EQ(copied, c.copied) << c.line;
    }
}

TEST_F(ReaderTest, ReportsTheEndOneReadAfterTheLastLine) {
    ReadOne("ORBIT 1");
    EXPECT_FALSE(reading.endOfLog);
    reader.ReadNextLine(reading);
    EXPECT_TRUE(reading.endOfLog);
    EXPECT_EQ(reading.readError, "");
}

}  // namespace
}  // namespace ao07
