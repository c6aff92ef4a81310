#include "analysis/log_date_time.h"

#include <array>
#include <vector>

namespace ao07 {
namespace {

constexpr std::array<std::string_view, 12> kMonthNames = {
    "january", "february", "march",     "april",   "may",      "june",
    "july",    "august",   "september", "october", "november", "december"};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

/// The number of a run of 1..4 digits; -1 for anything else. Done by hand so that no locale
/// takes part.
int DigitsValue(std::string_view digits) {
    if (digits.empty() || digits.size() > 4) {
        return -1;
    }
    int value = 0;
    for (const char c : digits) {
        if (!IsDigit(c)) {
            return -1;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

/// 1..12 for a month name or its first three letters, in any case; 0 otherwise.
int MonthOfName(std::string_view name) {
    if (name.size() < 3) {
        return 0;
    }
    for (std::size_t month = 0; month < kMonthNames.size(); ++month) {
        const std::string_view full = kMonthNames[month];
        if (name.size() != 3 && name.size() != full.size()) {
            continue;
        }
        bool same = true;
        for (std::size_t i = 0; i < name.size() && same; ++i) {
            same = Lower(name[i]) == full[i];
        }
        if (same) {
            return static_cast<int>(month) + 1;
        }
    }
    return 0;
}

/// A year of two or four digits; two-digit years are placed around the launch in 1974.
int YearOf(std::string_view digits) {
    const int value = DigitsValue(digits);
    if (value < 0) {
        return -1;
    }
    if (digits.size() == 2) {
        return value >= 74 ? 1900 + value : 2000 + value;
    }
    return digits.size() == 4 ? value : -1;
}

bool IsLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

std::optional<CivilDate> Checked(int year, int month, int day) {
    constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || month < 1 || month > 12 || day < 1) {
        return std::nullopt;
    }
    const int days = kDays[static_cast<std::size_t>(month - 1)] + (month == 2 && IsLeap(year));
    if (day > days) {
        return std::nullopt;
    }
    return CivilDate{year, month, day};
}

/// The text cut into runs of digits, runs of letters and single separators.
std::vector<std::string_view> Tokens(std::string_view text) {
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t end = i + 1;
        if (IsDigit(text[i])) {
            while (end < text.size() && IsDigit(text[end])) {
                ++end;
            }
        } else if (IsLetter(text[i])) {
            while (end < text.size() && IsLetter(text[end])) {
                ++end;
            }
        } else if (text[i] == ' ') {
            while (end < text.size() && text[end] == ' ') {
                ++end;
            }
        }
        tokens.push_back(text.substr(i, end - i));
        i = end;
    }
    return tokens;
}

/// Days from 1970-01-01 to the date (Howard Hinnant's days_from_civil).
std::int64_t DaysFromCivil(const CivilDate& date) {
    const std::int64_t y = date.year - (date.month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t monthFromMarch = (date.month + 9) % 12;
    const std::int64_t dayOfYear = (153 * monthFromMarch + 2) / 5 + date.day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

}  // namespace

std::optional<CivilDate> ParseLogDate(std::string_view text) {
    const std::vector<std::string_view> t = Tokens(Trimmed(text));
    if (t.size() != 5) {
        return std::nullopt;
    }
    const char separator = t[1].front();
    if (t[3].front() != separator) {
        return std::nullopt;
    }
    if (separator == '-' && IsLetter(t[2].front())) {  // 08-JUL-02
        return Checked(YearOf(t[4]), MonthOfName(t[2]), t[0].size() <= 2 ? DigitsValue(t[0]) : -1);
    }
    if (separator == ' ' && IsLetter(t[2].front())) {  // 8 Jul 2002
        return Checked(YearOf(t[4]), MonthOfName(t[2]), t[0].size() <= 2 ? DigitsValue(t[0]) : -1);
    }
    const bool shortParts = t[2].size() <= 2 && DigitsValue(t[2]) >= 0;
    if (separator == '-' && t[0].size() == 4 && t[4].size() <= 2 && shortParts) {  // 2002-07-08
        return Checked(DigitsValue(t[0]), DigitsValue(t[2]), DigitsValue(t[4]));
    }
    if ((separator == '/' || separator == '.') && t[0].size() <= 2 && shortParts) {  // 08/07/2002
        return Checked(YearOf(t[4]), DigitsValue(t[2]), DigitsValue(t[0]));
    }
    return std::nullopt;
}

std::optional<int> ParseLogTime(std::string_view text) {
    text = Trimmed(text);
    for (const std::string_view zone : {std::string_view("UTC"), std::string_view("Z")}) {
        if (text.size() > zone.size() && text.substr(text.size() - zone.size()) == zone) {
            text = Trimmed(text.substr(0, text.size() - zone.size()));
            break;
        }
    }
    const std::vector<std::string_view> t = Tokens(text);
    int hour = -1;
    int minute = -1;
    int second = 0;
    if (t.size() == 1 && t[0].size() == 4) {  // 1432
        hour = DigitsValue(t[0].substr(0, 2));
        minute = DigitsValue(t[0].substr(2));
    } else if ((t.size() == 3 || t.size() == 5) && t[1] == ":" && t[0].size() <= 2 &&
               t[2].size() == 2) {  // 14:32, 14:32:05
        hour = DigitsValue(t[0]);
        minute = DigitsValue(t[2]);
        if (t.size() == 5) {
            second = t[3] == ":" && t[4].size() == 2 ? DigitsValue(t[4]) : -1;
        }
    }
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
        return std::nullopt;
    }
    return hour * 3600 + minute * 60 + second;
}

std::optional<std::int64_t> LogDateTimeUtc(std::string_view date, std::string_view time) {
    const std::optional<CivilDate> day = ParseLogDate(date);
    const std::optional<int> seconds = ParseLogTime(time);
    if (!day || !seconds) {
        return std::nullopt;
    }
    return DaysFromCivil(*day) * 86400 + *seconds;
}

}  // namespace ao07
