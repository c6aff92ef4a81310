#include "audio/heard_log.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace ao07::audio {
namespace {

// 2002-07-08 14:32:05 UTC.
constexpr std::int64_t kStart = 1026138725;

HeardLine Marker(double seconds) {
    return {HeardLineKind::FrameMarker, seconds, "HI HI", 0, {}};
}
HeardLine Row(double seconds, const char* text) {
    return {HeardLineKind::Row, seconds, text, text[0] - '0', {}};
}
HeardLine Other(double seconds, const char* text) {
    return {HeardLineKind::Other, seconds, text, 0, {}};
}

TEST(HeardLog, LinesOfTheLog) {
    const struct {
        const char* what;
        std::optional<std::int64_t> orbit;
        std::optional<std::int64_t> start;
        std::vector<HeardLine> heard;
        std::vector<std::string> log;
    } cases[] = {
        {"no start time: no TIME or DATE",
         std::nullopt,
         std::nullopt,
         {Marker(1), Row(2, "150 101 101 101")},
         {"HI HI", "150 101 101 101"}},
        {"orbit once at the top, TIME then DATE before the first frame",
         23514,
         kStart,
         {Marker(1), Row(2, "150 101 101 101")},
         {"ORBIT 23514", "TIME 14:32", "DATE 08-JUL-02", "HI HI", "150 101 101 101"}},
        {"a frame in the same minute gets no TIME",
         std::nullopt,
         kStart,
         {Marker(1), Marker(54), Marker(55), Marker(56), Marker(300)},
         {"TIME 14:32", "DATE 08-JUL-02", "HI HI", "HI HI", "TIME 14:33", "HI HI", "HI HI",
          "TIME 14:37", "HI HI"}},
        {"DATE again only when the day changes",
         std::nullopt,
         kStart + 34 * 3600,
         {Marker(0), Marker(2 * 3600)},
         {"TIME 00:32", "DATE 10-JUL-02", "HI HI", "TIME 02:32", "HI HI"}},
        {"TIME and DATE of a new day",
         std::nullopt,
         kStart + 9 * 3600 + 27 * 60 + 30,
         {Marker(10), Marker(40)},
         {"TIME 23:59", "DATE 08-JUL-02", "HI HI", "TIME 00:00", "DATE 09-JUL-02", "HI HI"}},
        {"a frame whose HI HI was missed is stamped at its first row",
         std::nullopt,
         kStart,
         {Row(1, "150 101 101 101"), Row(5, "205 250 299 250"), Row(70, "150 101 101 101")},
         {"TIME 14:32", "DATE 08-JUL-02", "150 101 101 101", "205 250 299 250", "TIME 14:33",
          "150 101 101 101"}},
        {"rows keep their x",
         std::nullopt,
         std::nullopt,
         {Row(1, "1x1 101 10x 1xx")},
         {"1x1 101 10x 1xx"}},
        {"other text is never a row or a header",
         std::nullopt,
         std::nullopt,
         {Other(1, "CQ CQ DE DL1ABC"), Other(2, "123 456 789 012"), Other(3, "HI HI"),
          Other(4, "ORBIT 5 time date"), Other(5, "")},
         {"# CQ CQ DE DL1ABC", "# 123 456 789 012", "# HI HI", "# O.RBIT 5 t.ime d.ate"}},
        {"a row without the row's shape is other text",
         std::nullopt,
         std::nullopt,
         {Row(1, "150 101 201 101"), Row(2, "150 101 101"), Row(3, "150 1?1 101 101")},
         {"# 150 101 201 101", "# 150 101 101", "# 150 1?1 101 101"}},
    };
    for (const auto& c : cases) {
        HeardLog log(c.orbit);
        log.SetRecordingStart(c.start);
        std::vector<std::string> lines = log.Opening();
        for (const HeardLine& heard : c.heard) {
            log.Take(heard, lines);
        }
        EXPECT_EQ(lines, c.log) << c.what;
    }
}

}  // namespace
}  // namespace ao07::audio
