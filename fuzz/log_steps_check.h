#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ao07::fuzz {

/// The log's lines as an operator's editor shows them: CR LF, a lone CR and a lone LF each end
/// a line; a terminator at the very end starts no further line.
std::vector<std::string_view> SplitLogLines(std::string_view log);

/// How many of `lines` are telemetry rows of row 6 once trimmed: each makes one record.
std::size_t CountRowSixLines(const std::vector<std::string_view>& lines);

/// Feeds `data` as an operator's log through the whole step procedure, as the window drives
/// it with CSV output on, and checks what must hold for any log whatever its bytes:
///   - the steps end: one step per line and one more for the end of the log;
///   - the end-of-log message is shown exactly once, last, and no error is reported;
///   - every converted value reads as digits, a period and three decimals;
///   - the CSV output is the header and then one record per row 6, each written as it was
///     shown, each line whole and ended by CR LF;
///   - each row 6 completes one frame that carries its record, and a copied value is 0 to 99.
/// The first byte chooses how the log arrives: in pieces of 1 to 256 bytes (larger for long
/// logs), so that line ends fall on every possible boundary between two reads. Returns "" or what
/// went wrong.
std::string CheckLogSteps(const std::uint8_t* data, std::size_t size);

}  // namespace ao07::fuzz
