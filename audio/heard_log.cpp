#include "audio/heard_log.h"

#include <array>
#include <chrono>
#include <cmath>
#include <string_view>

namespace ao07::audio {
namespace {

constexpr std::array<std::string_view, 12> kMonths = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                      "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

// What the log reader takes for a row: 15 characters, four groups of three between single
// blanks, each group led by the row digit 1..6.
constexpr std::size_t kRowLength = 15;
constexpr int kRowCount = 6;

// The reader finds ORBIT, TIME and DATE anywhere in a line, in any case.
constexpr std::array<std::string_view, 3> kHeaderKeywords = {"ORBIT", "TIME", "DATE"};

// What opens a line that holds something heard outside a frame's shape: a line that starts
// with it is never a row.
constexpr std::string_view kOtherMark = "# ";

std::string TwoDigits(std::int64_t value) {
    return {static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

bool IsRowShape(const std::string& text, int row) {
    if (text.size() != kRowLength || row < 1 || row > kRowCount) {
        return false;
    }
    for (std::size_t i = 0; i < kRowLength; ++i) {
        const char c = text[i];
        const std::size_t place = i % 4;
        const bool fits = place == 3   ? c == ' '
                          : place == 0 ? c == static_cast<char>('0' + row)
                                       : (c >= '0' && c <= '9') || c == 'x';
        if (!fits) {
            return false;
        }
    }
    return true;
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

/// Whether a header keyword starts at `at` in `text`, in any case.
bool KeywordAt(const std::string& text, std::size_t at) {
    for (const std::string_view keyword : kHeaderKeywords) {
        if (text.size() - at < keyword.size()) {
            continue;
        }
        bool same = true;
        for (std::size_t i = 0; i < keyword.size() && same; ++i) {
            same = Upper(text[at + i]) == keyword[i];
        }
        if (same) {
            return true;
        }
    }
    return false;
}

/// `heard` in a line the reader passes over: marked as other text, printable ASCII only, and
/// with a dot after the first letter of any header keyword, so that no heard word ever sets
/// the orbit, time or date of the frames that follow.
std::string OtherLine(const std::string& heard) {
    std::string line(kOtherMark);
    for (std::size_t i = 0; i < heard.size(); ++i) {
        const char c = heard[i];
        line += c >= ' ' && c <= '~' ? c : '?';
        if (KeywordAt(heard, i)) {
            line += '.';
        }
    }
    return line;
}

}  // namespace

HeardLog::HeardLog(std::optional<std::int64_t> orbit) : m_orbit(orbit) {}

std::vector<std::string> HeardLog::Opening() const {
    if (!m_orbit) {
        return {};
    }
    return {"ORBIT " + std::to_string(*m_orbit)};
}

void HeardLog::SetRecordingStart(std::optional<std::int64_t> utcSeconds) {
    m_recordingStart = utcSeconds;
    m_inFrame = false;
    m_lastRow = 0;
}

void HeardLog::Take(const HeardLine& heard, std::vector<std::string>& lines) {
    switch (heard.kind) {
        case HeardLineKind::FrameMarker:
            StampFrame(heard.startSeconds, lines);
            lines.emplace_back("HI HI");
            m_inFrame = true;
            m_lastRow = 0;
            return;
        case HeardLineKind::Row:
            if (IsRowShape(heard.text, heard.row)) {
                // A row that does not follow a lower row of the same frame starts a frame whose
                // HI HI was not heard.
                if (!m_inFrame || heard.row <= m_lastRow) {
                    StampFrame(heard.startSeconds, lines);
                    m_inFrame = true;
                }
                m_lastRow = heard.row;
                lines.push_back(heard.text);
                return;
            }
            break;  // not a row's shape: it must never be read as one
        case HeardLineKind::Other:
            break;
    }
    if (!heard.text.empty()) {
        lines.push_back(OtherLine(heard.text));
    }
}

void HeardLog::StampFrame(double startSeconds, std::vector<std::string>& lines) {
    if (!m_recordingStart) {
        return;
    }
    const std::int64_t seconds =
        *m_recordingStart + static_cast<std::int64_t>(std::floor(startSeconds));
    // Floor division: a time before 1970 still falls in its own minute and day.
    const std::int64_t minute = seconds / 60 - (seconds % 60 < 0 ? 1 : 0);
    if (minute == m_lastMinute) {
        return;
    }
    m_lastMinute = minute;
    const std::int64_t day = minute / 1440 - (minute % 1440 < 0 ? 1 : 0);
    const std::int64_t minuteOfDay = minute - day * 1440;
    lines.push_back("TIME " + TwoDigits(minuteOfDay / 60) + ":" + TwoDigits(minuteOfDay % 60));
    if (day == m_lastDay) {
        return;
    }
    m_lastDay = day;
    using namespace std::chrono;
    const year_month_day date{sys_days{days{day}}};
    lines.push_back("DATE " + TwoDigits(static_cast<unsigned>(date.day())) + "-" +
                    std::string(kMonths[static_cast<unsigned>(date.month()) - 1]) + "-" +
                    TwoDigits(static_cast<int>(date.year()) % 100));
}

}  // namespace ao07::audio
