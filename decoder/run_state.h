#pragma once

#include <cstdint>
#include <string>

#include "core/channel.h"
#include "core/one_based.h"

namespace ao07 {

/// Everything the program remembers while it runs. Nothing here is cleared between frames or
/// between logs: a channel keeps its value until a row of the same number replaces it, a header
/// field until the next header line of its kind. All texts are the log's own bytes
/// (Windows-1252), never converted.
struct RunState {
    // The run: which log is open and whether it has been read to its end.
    std::string InputFileName;  ///< "" while no log is open
    bool AtEndOfFile = false;
    bool CsvEnabled = false;  ///< CSV output is on and its file is open
    bool AutoMode = false;    ///< a line is read at every tick of the Auto timer

    // The line just read.
    std::string CurrentLine;      ///< trimmed of leading and trailing blanks
    std::uint8_t CurrentRow = 0;  ///< 1..6 for a telemetry row, 0 for any other line

    // Raw telemetry, indexed by channel 1..24; a damaged slot is stored as 0.
    OneBased<std::int16_t, kChannelCount> RawChannel;

    // Header fields of the last ORBIT, TIME and DATE lines.
    std::int32_t OrbitNumber = 0;
    std::string TimeText;
    std::string DateText;

    // The CSV fragment of each row number: its four channel texts joined by ",".
    OneBased<std::string, kRowCount> RowCsv;
};

}  // namespace ao07
