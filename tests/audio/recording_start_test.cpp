#include "audio/recording_start.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace ao07::audio {
namespace {

// 2026-12-07 14:32:05 UTC.
constexpr std::int64_t kStamp = 1796653925;

/// Sets the C library's time zone for one test and puts the old one back.
class TimeZone {
public:
    explicit TimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            m_old = old;
        }
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~TimeZone() {
        if (m_old) {
            ::setenv("TZ", m_old->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }

private:
    std::optional<std::string> m_old;
};

TEST(RecordingStart, FromFileNamesOfSdrRecorders) {
    // Central European Time, one hour ahead of UTC in December: SDR++ writes local time.
    const TimeZone zone("CET-1CEST,M3.5.0,M10.5.0/3");
    const struct {
        const char* name;
        std::optional<std::int64_t> utc;
    } cases[] = {
        {"gqrx_20261207_143205_145972000.wav", kStamp},
        {"/home/op/rec/gqrx_20261207_143205_145972000.wav", kStamp},
        {"SDRSharp_20261207_143205Z_145972000Hz_AF.wav", kStamp},
        {"HDSDR_20261207_143205Z_145972kHz_AF.wav", kStamp},
        {"test_2026-12-07T14_32_05_123.wav", kStamp},
        {"audio_145972000Hz_15-32-05_07-12-2026.wav", kStamp},
        {"pass_20261207_1432.wav", std::nullopt},              // no seconds: not a recorder's stamp
        {"gqrx_20261307_143205_145972000.wav", std::nullopt},  // month 13
        {"gqrx_20260230_143205_145972000.wav", std::nullopt},  // 30 February
        {"gqrx_20261207_243205_145972000.wav", std::nullopt},  // hour 24
        {"x120261207_143205.wav", std::nullopt},               // inside a longer run of digits
        {"20261207_143205/pass.wav", std::nullopt},            // a folder's stamp is not the file's
        {"pass.wav", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StartFromFileName(c.name), c.utc) << c.name;
    }
}

TEST(RecordingStart, StartOption) {
    const struct {
        const char* text;
        std::optional<std::int64_t> utc;
    } cases[] = {
        {"2026-12-07 14:32:05", kStamp},
        {"2026-12-07T14:32:05", kStamp},
        {"2026-12-07 14:32", kStamp - 5},
        {"1974-11-15 17:11:00", 153767460},
        {"2026-12-07 14:32:60", std::nullopt},
        {"2026-12-07", std::nullopt},
        {"07-12-2026 14:32:05", std::nullopt},
        {" 2026-12-07 14:32:05", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseStartTime(c.text), c.utc) << c.text;
    }
}

}  // namespace
}  // namespace ao07::audio
