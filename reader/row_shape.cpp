#include "reader/row_shape.h"

#include <algorithm>
#include <array>

#include "core/number_text.h"
#include "reader/telemetry_reader.h"

namespace ao07 {
namespace {

constexpr std::size_t kRowLength = TelemetryReader::kRowLength;
constexpr int kGroupCount = 4;
constexpr std::size_t kGroupStride = 4;  // three characters and the blank after them

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsNotCopiedMark(char c) {
    return c == 'x' || c == 'X' || c == '?' || c == '#';
}

bool LooksMeantAsRow(std::string_view line) {
    const bool onlyRowCharacters = std::all_of(line.begin(), line.end(), [](char c) {
        return IsDigit(c) || IsNotCopiedMark(c) || c == ' ' || c == '\t';
    });
    return onlyRowCharacters && std::any_of(line.begin(), line.end(), IsDigit);
}

std::string Quoted(char c) {
    return c == '\t' ? std::string("a tab") : std::string("\"") + c + '"';
}

}  // namespace

std::string RowShapeProblem(std::string_view line) {
    line = TrimBlanks(line);
    if (!LooksMeantAsRow(line)) {
        return {};
    }
    if (line.size() != kRowLength) {
        return "A row has 15 characters; this line has " + std::to_string(line.size()) + ".";
    }
    for (std::size_t pos = 0; pos < kRowLength; ++pos) {
        const bool separator = pos % kGroupStride == kGroupStride - 1;
        if (separator != (line[pos] == ' ')) {
            return "A row is four groups of three characters with one blank between them; "
                   "character " +
                   std::to_string(pos + 1) + " breaks that.";
        }
    }
    const char rowDigit = line[0];
    if (rowDigit < '1' || rowDigit > '6') {
        return "The row digit is 1 to 6, not " + Quoted(rowDigit) + ".";
    }
    for (int group = 1; group < kGroupCount; ++group) {
        const char lead = line[group * kGroupStride];
        // A lead not copied is written as a mark, which the reader takes as it is.
        if (lead != rowDigit && !IsNotCopiedMark(lead)) {
            return "Group " + std::to_string(group + 1) + " starts with " + Quoted(lead) +
                   ", not the row digit " + Quoted(rowDigit) + ".";
        }
    }
    return {};
}

}  // namespace ao07
