#pragma once

#include <string>
#include <string_view>

namespace ao07 {

/// Why a line that looks meant as a telemetry row lacks the shape the reader takes as one
/// (15 characters, four groups of three with one blank between them, row digit 1 to 6, that
/// digit leading every group), or "" when it has that shape or does not look like a row at all.
/// A line looks meant as a row when it holds a digit and nothing but digits, blanks and the
/// marks of a digit not copied (x, X, ? and #). Leading and trailing blanks are trimmed first,
/// as the reader trims them.
std::string RowShapeProblem(std::string_view line);

}  // namespace ao07
