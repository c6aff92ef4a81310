#include "reader/telemetry_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>

#include "core/number_text.h"

namespace ao07 {
namespace {

// A telemetry row is four groups of three characters with a separator between them.
constexpr std::size_t kRowLength = TelemetryReader::kRowLength;
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

// What a character can be, as bits of one table: every character of every line is looked at for
// one or more of these. A damage mark (x or X) makes the slot read 0; a not-copied mark (x, X, ?
// or #) is what operators write for a missed digit; O, T and D in either case may start a header
// keyword.
constexpr std::uint8_t kDigit = 1;
constexpr std::uint8_t kDamageMark = 2;
constexpr std::uint8_t kNotCopiedMark = 4;
constexpr std::uint8_t kKeywordStart = 8;

constexpr std::array<std::uint8_t, 256> kCharacterKinds = [] {
    std::array<std::uint8_t, 256> kinds{};
    for (char c = '0'; c <= '9'; ++c) {
        kinds[static_cast<unsigned char>(c)] = kDigit;
    }
    for (const char c : {'x', 'X'}) {
        kinds[static_cast<unsigned char>(c)] = kDamageMark | kNotCopiedMark;
    }
    for (const char c : {'?', '#'}) {
        kinds[static_cast<unsigned char>(c)] = kNotCopiedMark;
    }
    for (const char c : {'O', 'o', 'T', 't', 'D', 'd'}) {
        kinds[static_cast<unsigned char>(c)] = kKeywordStart;
    }
    return kinds;
}();

std::uint8_t KindOf(char c) {
    return kCharacterKinds[static_cast<unsigned char>(c)];
}

/// The kinds of slot 1..4's three characters together.
std::uint8_t GroupKinds(std::string_view row, int slot) {
    const std::size_t start = SlotStart(slot);
    return KindOf(row[start]) | KindOf(row[start + 1]) | KindOf(row[start + 2]);
}

/// Whether `text` holds `keyword` (upper-case letters) at `start`, its letters in any case.
bool KeywordAt(std::string_view text, std::size_t start, std::string_view keyword) {
    if (text.size() - start < keyword.size()) {
        return false;
    }
    for (std::size_t i = 0; i < keyword.size(); ++i) {
        // Clearing bit 5 turns a lower-case letter into its capital and leaves a capital as it
        // is; no other byte becomes a capital letter by it.
        if ((text[start + i] & ~0x20) != keyword[i]) {
            return false;
        }
    }
    return true;
}

/// The header keywords a line holds, letters in any case.
struct HeaderKeywords {
    bool orbit = false;
    bool time = false;
    bool date = false;
};

/// Finds the three keywords in one pass over the line: each starts with its own letter.
HeaderKeywords FindHeaderKeywords(std::string_view line) {
    HeaderKeywords found;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if ((KindOf(line[i]) & kKeywordStart) == 0) {
            continue;
        }
        const int letter = line[i] & ~0x20;
        if (letter == 'O') {
            found.orbit = found.orbit || KeywordAt(line, i, "ORBIT");
        } else if (letter == 'T') {
            found.time = found.time || KeywordAt(line, i, "TIME");
        } else if (letter == 'D') {
            found.date = found.date || KeywordAt(line, i, "DATE");
        }
    }
    return found;
}

/// The line without its first `count` characters; a line too short for that gives "".
std::string_view ValueAfter(std::string_view line, std::size_t count) {
    return line.substr(std::min(count, line.size()));
}

/// A slot's raw value read from two characters of a row, the way every slot is read.
std::int16_t ValueOfText(std::string_view text) {
    // Two characters always give -9 to 99, so the 16-bit store never fails.
    return RoundToInt16(LeadingNumber(text)).value_or(0);
}

/// ValueOfText of every pair of bytes, worked out once: every slot of every row is read, and a
/// lookup costs a small part of reading the number.
using PairValueTable = std::array<std::int16_t, 256 * 256>;

// Made once, out of line, so that the lookups that use the table stay small.
[[gnu::noinline]] std::unique_ptr<PairValueTable> MakePairValues() {
    auto made = std::make_unique<PairValueTable>();
    for (std::size_t pair = 0; pair < made->size(); ++pair) {
        const char text[2] = {static_cast<char>(pair >> 8), static_cast<char>(pair & 0xFF)};
        (*made)[pair] = ValueOfText(std::string_view(text, 2));
    }
    return made;
}

const PairValueTable& PairValues() {
    static const std::unique_ptr<PairValueTable> table = MakePairValues();
    return *table;
}

std::int16_t ValueOfPair(const PairValueTable& values, char first, char second) {
    return values[static_cast<std::size_t>(static_cast<unsigned char>(first)) << 8 |
                  static_cast<unsigned char>(second)];
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
    std::string_view untrimmed;
    reading.lineCut = m_log.ReadLine(untrimmed);
    reading.line = TrimBlanks(untrimmed);

    const std::string_view line = reading.line;
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
    const HeaderKeywords keywords = FindHeaderKeywords(line);
    if (keywords.orbit) {
        const double number = LeadingNumber(ValueAfter(line, kOrbitValueStart));
        // An orbit number too large for the field is as unusable as no number at all.
        reading.orbit = RoundToInt32(number).value_or(0);
        reading.hasOrbit = true;
    }
    if (keywords.time) {
        reading.time = ValueAfter(line, kTimeValueStart);
        reading.hasTime = true;
    }
    if (keywords.date) {
        reading.date = ValueAfter(line, kDateValueStart);
        reading.hasDate = true;
    }
}

void TelemetryReader::MarkDamagedChannels(std::string_view row,
                                          OneBased<bool, kSlotCount>& damaged) {
    // A slot's group is its row digit and two value digits; the separators mark nothing.
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        // Without a branch: one slot in five or so is damaged, at random.
        damaged[slot] = damaged[slot] || (GroupKinds(row, slot) & kDamageMark) != 0;
    }
}

void TelemetryReader::ExtractRowValues(std::string_view row,
                                       const OneBased<bool, kSlotCount>& damaged,
                                       OneBased<std::int16_t, kSlotCount>& values) {
    const PairValueTable& pairValues = PairValues();
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const std::size_t start = SlotStart(slot) + 1;
        const std::int16_t value = ValueOfPair(pairValues, row[start], row[start + 1]);
        // Chosen without a branch: which slots are damaged is random.
        values[slot] = damaged[slot] ? std::int16_t{0} : value;
    }
}

Reception TelemetryReader::SlotReception(std::string_view row, int slot) {
    const std::size_t start = SlotStart(slot);
    // Two digits are a reading only when the row digit beside them carries no mark either.
    const bool copied = (KindOf(row[start]) & kNotCopiedMark) == 0 &&
                        (KindOf(row[start + 1]) & KindOf(row[start + 2]) & kDigit) != 0;
    return copied ? Reception::Copied : Reception::NotCopied;
}

std::string_view TelemetryReader::SlotGroup(std::string_view row, int slot) {
    return row.substr(SlotStart(slot), 3);
}

}  // namespace ao07
