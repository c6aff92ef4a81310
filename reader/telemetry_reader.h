#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/channel.h"
#include "core/log_file.h"
#include "core/one_based.h"
#include "reader/reception.h"

namespace ao07 {

/// What one read of the log found: the end of the log, or a line and what it carries.
struct LineReading {
    bool endOfLog = false;  ///< no line was left; the rest of the reading is unchanged
    std::string readError;  ///< at the end of the log: why reading failed, or ""

    /// The line, trimmed of leading and trailing blanks. It points into the log's read buffer
    /// and is valid until the next read.
    std::string_view line;
    bool lineCut = false;  ///< the line was longer than LogFile::kMaxLineLength and was cut

    std::uint8_t row = 0;                       ///< 1..6 for a telemetry row, else 0
    OneBased<bool, kSlotCount> damagedSlot;     ///< for a row: slots holding an "x"
    OneBased<std::int16_t, kSlotCount> value;   ///< for a row: each slot's raw value
    OneBased<Reception, kSlotCount> reception;  ///< for a row: Copied or NotCopied

    // For a header line: which fields it sets. The texts point into `line`.
    bool hasOrbit = false;
    bool hasTime = false;
    bool hasDate = false;
    std::int32_t orbit = 0;
    std::string_view time;
    std::string_view date;
};

/// The input side of a step: reads the operator's log one line at a time, trims and classifies
/// each line, and says what it found. It shows nothing and changes nothing but its own log.
class TelemetryReader {
public:
    /// The log being read.
    LogFile& Log() { return m_log; }
    const LogFile& Log() const { return m_log; }

    /// Reads and classifies the next line into `reading`, or reports the end of the log when no
    /// line is left. The log must be open.
    void ReadNextLine(LineReading& reading);

    /// The length of a telemetry row: four groups of three characters and three separators.
    /// Every `row` given to the functions below has it.
    static constexpr std::size_t kRowLength = 15;

    /// Flags the slots of a telemetry row that hold a damaged digit ("x" or "X") in any of their
    /// three positions; a separator marks nothing.
    static void MarkDamagedChannels(std::string_view row, OneBased<bool, kSlotCount>& damaged);

    /// The four raw values of a telemetry row, 0 for each damaged slot.
    static void ExtractRowValues(std::string_view row, const OneBased<bool, kSlotCount>& damaged,
                                 OneBased<std::int16_t, kSlotCount>& values);

    /// Whether slot 1..4 of a telemetry row was copied: both value characters are digits and
    /// none of its three positions holds a mark for a digit not copied (x, X, ? or #).
    static Reception SlotReception(std::string_view row, int slot);

    /// Slot 1..4's group of a telemetry row as the log has it: its row digit and two value
    /// characters.
    static std::string_view SlotGroup(std::string_view row, int slot);

private:
    static void TakeHeaderFields(LineReading& reading);

    LogFile m_log;
};

}  // namespace ao07
