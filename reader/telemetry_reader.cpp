#include "reader/telemetry_reader.h"

#include <algorithm>

#include "core/number_text.h"

namespace ao07 {
namespace {

// A telemetry row is four groups of three characters with a separator between them.
constexpr std::size_t kRowLength = 15;
constexpr std::string_view kFrameMarker = "HI HI";

// The value of a header line stands after its keyword and one separator, counted from the
// start of the line, wherever the keyword itself was found.
constexpr std::size_t kOrbitValueStart = 6;  // "ORBIT "
constexpr std::size_t kTimeValueStart = 5;   // "TIME "
constexpr std::size_t kDateValueStart = 5;   // "DATE "

/// Position (from 0) of slot 1..4's row digit; its two value characters follow it.
constexpr std::size_t SlotStart(int slot) {
    return static_cast<std::size_t>(4 * (slot - 1));
}

/// Whether `text` holds `keyword` (upper-case letters) with the letters of `text` in any case.
bool ContainsKeyword(std::string_view text, std::string_view keyword) {
    const auto upper = [](char c) {
        return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    };
    return std::search(text.begin(), text.end(), keyword.begin(), keyword.end(),
                       [&](char a, char b) { return upper(a) == b; }) != text.end();
}

/// The line without its first `count` characters; a line too short for that gives "".
std::string_view ValueAfter(std::string_view line, std::size_t count) {
    return line.substr(std::min(count, line.size()));
}

bool IsDamageMark(char c) {
    return c == 'x' || c == 'X';
}

/// Operators write x for a digit they missed, and in practice also ? or #.
bool IsNotCopiedMark(char c) {
    return IsDamageMark(c) || c == '?' || c == '#';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

/// Trims the line in place, sparing a copy of it.
void TrimInPlace(std::string& line) {
    const std::string_view trimmed = TrimBlanks(line);
    if (trimmed.empty()) {
        line.clear();
    } else if (trimmed.size() != line.size()) {
        const auto first = static_cast<std::size_t>(trimmed.data() - line.data());
        line.erase(first + trimmed.size());
        line.erase(0, first);
    }
}

}  // namespace

void TelemetryReader::ReadNextLine(LineReading& reading) {
    reading.hasOrbit = reading.hasTime = reading.hasDate = false;
    reading.time = reading.date = {};
    reading.row = 0;
    // The end is noticed one step after the last line was shown: test before every read.
    if (m_log.AtEnd()) {
        reading.endOfLog = true;
        reading.readError = m_log.ReadError();
        reading.lineCut = false;
        return;
    }
    reading.endOfLog = false;
    reading.lineCut = m_log.ReadLine(reading.line);
    TrimInPlace(reading.line);

    const std::string& line = reading.line;
    if (line.size() == kRowLength) {
        for (bool& damaged : reading.damagedSlot) {
            damaged = false;
        }
        if (line[0] >= '1' && line[0] <= '0' + kRowCount) {
            reading.row = static_cast<std::uint8_t>(line[0] - '0');
            MarkDamagedChannels(line, reading.damagedSlot);
            ExtractRowValues(line, reading.damagedSlot, reading.value);
            for (int slot = 1; slot <= kSlotCount; ++slot) {
                reading.reception[slot] = SlotReception(line, slot);
            }
            return;
        }
    }
    if (line.empty() || line == kFrameMarker) {
        return;
    }
    TakeHeaderFields(reading);
}

void TelemetryReader::TakeHeaderFields(LineReading& reading) {
    const std::string_view line = reading.line;
    // One line may carry several keywords; each sets its own field.
    if (ContainsKeyword(line, "ORBIT")) {
        const double number = LeadingNumber(ValueAfter(line, kOrbitValueStart));
        // An orbit number too large for the field is as unusable as no number at all.
        reading.orbit = RoundToInt32(number).value_or(0);
        reading.hasOrbit = true;
    }
    if (ContainsKeyword(line, "TIME")) {
        reading.time = ValueAfter(line, kTimeValueStart);
        reading.hasTime = true;
    }
    if (ContainsKeyword(line, "DATE")) {
        reading.date = ValueAfter(line, kDateValueStart);
        reading.hasDate = true;
    }
}

void TelemetryReader::MarkDamagedChannels(std::string_view row,
                                          OneBased<bool, kSlotCount>& damaged) {
    // Slot s covers positions 4s-3 to 4s-1 (row digit and two value digits); every fourth
    // position is a separator and marks nothing.
    const std::size_t length = std::min(row.size(), kRowLength);
    for (std::size_t pos = 1; pos <= length; ++pos) {
        if (pos % 4 != 0 && IsDamageMark(row[pos - 1])) {
            damaged[static_cast<int>((pos - 1) / 4) + 1] = true;
        }
    }
}

void TelemetryReader::ExtractRowValues(std::string_view row,
                                       const OneBased<bool, kSlotCount>& damaged,
                                       OneBased<std::int16_t, kSlotCount>& values) {
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        std::int16_t value = 0;
        if (!damaged[slot]) {
            const std::size_t start = std::min(SlotStart(slot) + 1, row.size());
            // Two characters always give -9 to 99, so the 16-bit store never fails.
            value = RoundToInt16(LeadingNumber(row.substr(start, 2))).value_or(0);
        }
        values[slot] = value;
    }
}

Reception TelemetryReader::SlotReception(std::string_view row, int slot) {
    const std::size_t start = SlotStart(slot);
    if (row.size() < start + 3) {
        return Reception::NotCopied;
    }
    // Two digits are a reading only when the row digit beside them carries no mark either.
    const bool copied =
        !IsNotCopiedMark(row[start]) && IsDigit(row[start + 1]) && IsDigit(row[start + 2]);
    return copied ? Reception::Copied : Reception::NotCopied;
}

std::string_view TelemetryReader::SlotGroup(std::string_view row, int slot) {
    return row.substr(std::min(SlotStart(slot), row.size()), 3);
}

}  // namespace ao07
