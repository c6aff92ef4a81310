// The DATE and TIME forms operators type, read into a calendar date and seconds.
#include <gtest/gtest.h>

#include <optional>
#include <string_view>

#include "analysis/log_date_time.h"

namespace ao07 {
namespace {

struct DateCase {
    std::string_view text;
    std::optional<CivilDate> expected;
};

TEST(ParseLogDate, ReadsTheFormsOperatorsType) {
    const DateCase cases[] = {
        {"08-JUL-02", CivilDate{2002, 7, 8}},
        {"08-jul-2002", CivilDate{2002, 7, 8}},
        {"  8-Jul-74 ", CivilDate{1974, 7, 8}},
        {"31-DEC-73", CivilDate{2073, 12, 31}},
        {"01-JAN-99", CivilDate{1999, 1, 1}},
        {"01-JAN-00", CivilDate{2000, 1, 1}},
        {"2002-07-08", CivilDate{2002, 7, 8}},
        {"2002-7-8", CivilDate{2002, 7, 8}},
        {"08/07/2002", CivilDate{2002, 7, 8}},
        {"8/7/02", CivilDate{2002, 7, 8}},
        {"08.07.2002", CivilDate{2002, 7, 8}},
        {"8 Jul 2002", CivilDate{2002, 7, 8}},
        {"8 JULY 2002", CivilDate{2002, 7, 8}},
        {"29 Feb 2000", CivilDate{2000, 2, 29}},
        {"29 Feb 1900", std::nullopt},
        {"29-FEB-01", std::nullopt},
        {"31/04/2002", std::nullopt},
        {"08-13-02", std::nullopt},
        {"00/07/2002", std::nullopt},
        {"08/13/2002", std::nullopt},
        {"08-JLY-02", std::nullopt},
        {"08-JU-02", std::nullopt},
        {"08-JUL-002", std::nullopt},
        {"08-JUL/02", std::nullopt},
        {"2002/07/08", std::nullopt},
        {"08-JUL-02 extra", std::nullopt},
        {"08 JUL", std::nullopt},
        {"", std::nullopt},
        {"xx-xxx-xx", std::nullopt},
    };
    for (const DateCase& c : cases) {
        EXPECT_EQ(ParseLogDate(c.text), c.expected) << '"' << c.text << '"';
    }
}

struct TimeCase {
    std::string_view text;
    std::optional<int> expected;
};

TEST(ParseLogTime, ReadsTheFormsOperatorsType) {
    const TimeCase cases[] = {
        {"14:32", 14 * 3600 + 32 * 60},  {"14:32:05", 14 * 3600 + 32 * 60 + 5},
        {"1432", 14 * 3600 + 32 * 60},   {"0000", 0},
        {"9:05", 9 * 3600 + 5 * 60},     {" 23:59:59 ", 86399},
        {"14:32Z", 14 * 3600 + 32 * 60}, {"14:32 UTC", 14 * 3600 + 32 * 60},
        {"24:00", std::nullopt},         {"14:60", std::nullopt},
        {"14:32:60", std::nullopt},      {"14:3", std::nullopt},
        {"143", std::nullopt},           {"14321", std::nullopt},
        {"14.32", std::nullopt},         {"14:32:", std::nullopt},
        {"UTC", std::nullopt},           {"", std::nullopt},
    };
    for (const TimeCase& c : cases) {
        EXPECT_EQ(ParseLogTime(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(LogDateTimeUtc, CountsSecondsFromTheEpochAndNeedsBoth) {
    EXPECT_EQ(LogDateTimeUtc("01-JAN-70", "0000"), 3155760000);  // 70 is 2070, not 1970
    EXPECT_EQ(LogDateTimeUtc("1970-01-01", "00:00:01"), 1);
    EXPECT_EQ(LogDateTimeUtc("08-JUL-02", "14:32"), 1026138720);
    EXPECT_EQ(LogDateTimeUtc("15 Nov 1974", "12:00"), 153748800);
    EXPECT_EQ(LogDateTimeUtc("08-JUL-02", "later"), std::nullopt);
    EXPECT_EQ(LogDateTimeUtc("", "14:32"), std::nullopt);
}

}  // namespace
}  // namespace ao07
