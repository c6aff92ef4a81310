#include "audio/recording_start.h"

#include <array>
#include <chrono>
#include <ctime>

namespace ao07::audio {
namespace {

/// A date and a time of day as written, before they are checked.
struct Stamp {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

/// Which part of a Stamp a run of digits in a pattern gives.
enum class Part { Year, Month, Day, Hour, Minute, Second };

/// One way a recorder writes its time stamp: 'Y', 'M', 'D', 'h', 'm', 's' stand for one digit
/// of that part, every other character for itself.
struct StampForm {
    std::string_view pattern;
    bool localTime = false;  ///< the recorder wrote the computer's local time, not UTC
};

constexpr std::array<StampForm, 4> kFileNameForms = {{
    {"YYYYMMDD_hhmmssZ", false},     // SDR#, HDSDR
    {"YYYYMMDD_hhmmss", false},      // gqrx
    {"YYYY-MM-DDThh_mm_ss", false},  // SDRangel
    {"hh-mm-ss_DD-MM-YYYY", true},   // SDR++
}};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int* FieldOf(Stamp& stamp, char letter) {
    switch (letter) {
        case 'Y':
            return &stamp.year;
        case 'M':
            return &stamp.month;
        case 'D':
            return &stamp.day;
        case 'h':
            return &stamp.hour;
        case 'm':
            return &stamp.minute;
        case 's':
            return &stamp.second;
        default:
            return nullptr;
    }
}

/// Reads `text` against `pattern` from its start; nullopt when a character does not fit.
std::optional<Stamp> Match(std::string_view text, std::string_view pattern) {
    if (text.size() < pattern.size()) {
        return std::nullopt;
    }
    Stamp stamp;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        int* field = FieldOf(stamp, pattern[i]);
        if (field == nullptr) {
            if (text[i] != pattern[i]) {
                return std::nullopt;
            }
        } else if (IsDigit(text[i])) {
            *field = *field * 10 + (text[i] - '0');
        } else {
            return std::nullopt;
        }
    }
    return stamp;
}

/// Seconds since 1970 of `stamp` read as UTC; nullopt for a date or time that does not exist.
std::optional<std::int64_t> UtcSeconds(const Stamp& stamp) {
    using namespace std::chrono;
    const year_month_day date{year{stamp.year}, month{static_cast<unsigned>(stamp.month)},
                              day{static_cast<unsigned>(stamp.day)}};
    if (!date.ok() || stamp.hour > 23 || stamp.minute > 59 || stamp.second > 59) {
        return std::nullopt;
    }
    const auto days = sys_days{date}.time_since_epoch().count();
    return std::int64_t{days} * 86400 + stamp.hour * 3600 + stamp.minute * 60 + stamp.second;
}

/// As UtcSeconds for a stamp in the computer's local time, by the C library's time zone rules.
std::optional<std::int64_t> LocalSeconds(const Stamp& stamp) {
    if (!UtcSeconds(stamp)) {
        return std::nullopt;
    }
    std::tm local{};
    local.tm_year = stamp.year - 1900;
    local.tm_mon = stamp.month - 1;
    local.tm_mday = stamp.day;
    local.tm_hour = stamp.hour;
    local.tm_min = stamp.minute;
    local.tm_sec = stamp.second;
    local.tm_isdst = -1;  // the time zone's rules say whether summer time was in force
    const std::time_t seconds = std::mktime(&local);
    if (seconds == static_cast<std::time_t>(-1)) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(seconds);
}

}  // namespace

std::optional<std::int64_t> ParseStartTime(std::string_view text) {
    for (const std::string_view pattern :
         {"YYYY-MM-DD hh:mm:ss", "YYYY-MM-DDThh:mm:ss", "YYYY-MM-DD hh:mm", "YYYY-MM-DDThh:mm"}) {
        if (text.size() == pattern.size()) {
            if (const std::optional<Stamp> stamp = Match(text, pattern)) {
                return UtcSeconds(*stamp);
            }
        }
    }
    return std::nullopt;
}

std::optional<std::int64_t> StartFromFileName(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    for (std::size_t start = 0; start < name.size(); ++start) {
        // A stamp stands on its own: not in the middle of a longer run of digits.
        if (start > 0 && IsDigit(name[start - 1])) {
            continue;
        }
        for (const StampForm& form : kFileNameForms) {
            const std::optional<Stamp> stamp = Match(name.substr(start), form.pattern);
            const std::size_t end = start + form.pattern.size();
            if (!stamp || (end < name.size() && IsDigit(name[end]))) {
                continue;
            }
            if (const auto seconds = form.localTime ? LocalSeconds(*stamp) : UtcSeconds(*stamp)) {
                return seconds;
            }
        }
    }
    return std::nullopt;
}

}  // namespace ao07::audio
