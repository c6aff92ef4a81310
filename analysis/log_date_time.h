#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace ao07 {

/// A calendar date (proleptic Gregorian).
struct CivilDate {
    int year = 0;
    int month = 0;  ///< 1..12
    int day = 0;    ///< 1..31

    bool operator==(const CivilDate&) const = default;
};

/// The date of a log's DATE line in the forms operators type: "08-JUL-02", "2002-07-08",
/// "08/07/2002" (day first, also with "."), "8 Jul 2002" (month names in any case, short or
/// long). A two-digit year 74..99 is 1974..1999 and 00..73 is 2000..2073: the satellite was
/// launched in 1974. Blanks around the text are ignored; anything else gives nullopt.
std::optional<CivilDate> ParseLogDate(std::string_view text);

/// Seconds since midnight of a log's TIME line: "14:32", "14:32:05", "1432", each optionally
/// followed by "Z" or "UTC". nullopt for anything else or a time outside the day.
std::optional<int> ParseLogTime(std::string_view text);

/// Seconds since 1970-01-01 00:00 UTC of the given DATE and TIME texts, or nullopt when either
/// cannot be read.
std::optional<std::int64_t> LogDateTimeUtc(std::string_view date, std::string_view time);

}  // namespace ao07
