#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace ao07::audio {

/// Seconds since 1970-01-01 00:00 UTC of a start time given as "YYYY-MM-DD HH:MM:SS" (also
/// with a T between date and time, or without the seconds); nullopt for anything else.
std::optional<std::int64_t> ParseStartTime(std::string_view text);

/// The UTC time of a recording's first sample from the time stamp that SDR programs put in the
/// names of their recordings (only the file's own name, not its folders, is looked at):
///   gqrx_20261207_143205_145972000.wav            YYYYMMDD_HHMMSS, UTC
///   SDRSharp_20261207_143205Z_145972000Hz_AF.wav  YYYYMMDD_HHMMSSZ, UTC (also HDSDR's names)
///   test_2026-12-07T14_32_05_123.wav              YYYY-MM-DDTHH_MM_SS[_mmm], UTC (SDRangel)
///   audio_145972000Hz_14-32-05_07-12-2026.wav     HH-MM-SS_DD-MM-YYYY, the computer's local
///                                                 time (SDR++), turned into UTC by its TZ
/// nullopt when the name holds none of these or a date or time that does not exist.
std::optional<std::int64_t> StartFromFileName(std::string_view path);

}  // namespace ao07::audio
