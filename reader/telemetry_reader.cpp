#include "reader/telemetry_reader.h"

#include <algorithm>
#include <string>

#include "core/channel.h"
#include "core/front_panel.h"
#include "core/input_slot.h"
#include "core/number_text.h"
#include "core/output_slot.h"
#include "core/run_state.h"

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

/// The text with the letters a-z in upper case, so that one search finds a keyword in any case.
std::string UpperCaseLetters(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

/// The line without its first `count` characters; a line too short for that gives "".
std::string_view ValueAfter(std::string_view line, std::size_t count) {
    return line.substr(std::min(count, line.size()));
}

bool IsTwoDigits(std::string_view text) {
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    return text.size() == 2 && digit(text[0]) && digit(text[1]);
}

int TwoDigitValue(std::string_view digits) {
    return (digits[0] - '0') * 10 + (digits[1] - '0');
}

bool IsDamageMark(char c) {
    return c == 'x' || c == 'X';
}

}  // namespace

TelemetryReader::TelemetryReader(RunState& state, InputSlot& input, OutputSlot& csv,
                                 FrontPanel& panel)
    : m_state(state), m_input(input), m_csv(csv), m_panel(panel) {}

void TelemetryReader::ReadNextLine() {
    // The end is noticed one step after the last line was shown: test before every read.
    if (m_input.AtEnd()) {
        RunEndOfFileSequence();
        return;
    }
    // The line is read straight into CurrentLine and trimmed there, sparing a copy per line.
    std::string& line = m_state.CurrentLine;
    m_input.ReadLine(line);
    const std::string_view trimmed = TrimBlanks(line);
    if (trimmed.empty()) {
        line.clear();
    } else if (trimmed.size() != line.size()) {
        const auto first = static_cast<std::size_t>(trimmed.data() - line.data());
        line.erase(first + trimmed.size());
        line.erase(0, first);
    }
    m_panel.ShowRawLine(m_state.CurrentLine);

    const std::string& current = m_state.CurrentLine;
    if (current.size() == kRowLength) {
        for (bool& damaged : m_state.DamagedSlot) {
            damaged = false;
        }
        if (current[0] >= '1' && current[0] <= '0' + kRowCount) {
            m_state.CurrentRow = static_cast<std::uint8_t>(current[0] - '0');
            MarkDamagedChannels();
            ExtractRowValues();
            return;
        }
    }
    m_state.CurrentRow = 0;
    if (current.empty() || current == kFrameMarker) {
        return;
    }
    TakeHeaderFields();
}

void TelemetryReader::TakeHeaderFields() {
    const std::string_view line = m_state.CurrentLine;
    // One line may carry several keywords; each sets its own field.
    const std::string upper = UpperCaseLetters(line);
    const auto contains = [&](std::string_view keyword) {
        return upper.find(keyword) != std::string::npos;
    };
    if (contains("ORBIT")) {
        const double number = LeadingNumber(ValueAfter(line, kOrbitValueStart));
        // An orbit number too large for the field is as unusable as no number at all.
        m_state.OrbitNumber = RoundToInt32(number).value_or(0);
        m_panel.ShowOrbit(IntegerText(m_state.OrbitNumber));
    }
    if (contains("TIME")) {
        m_state.TimeText = ValueAfter(line, kTimeValueStart);
        m_panel.ShowTime(m_state.TimeText);
    }
    if (contains("DATE")) {
        m_state.DateText = ValueAfter(line, kDateValueStart);
        m_panel.ShowDate(m_state.DateText);
    }
}

void TelemetryReader::MarkDamagedChannels() {
    // Slot s covers positions 4s-3 to 4s-1 (row digit and two value digits); every fourth
    // position is a separator and marks nothing.
    const std::string_view line = m_state.CurrentLine;
    const std::size_t length = std::min(line.size(), kRowLength);
    for (std::size_t pos = 1; pos <= length; ++pos) {
        if (pos % 4 != 0 && IsDamageMark(line[pos - 1])) {
            m_state.DamagedSlot[static_cast<int>((pos - 1) / 4) + 1] = true;
        }
    }
}

void TelemetryReader::ExtractRowValues() {
    const std::string_view line = m_state.CurrentLine;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        std::int16_t value = 0;
        if (!m_state.DamagedSlot[slot]) {
            // The two value characters follow the slot's row digit.
            const auto valueStart = static_cast<std::size_t>(4 * (slot - 1) + 1);
            const std::string_view digits = line.substr(std::min(valueStart, line.size()), 2);
            // Two plain digits, as nearly every slot holds, are the value itself; other
            // characters are read as a number is. Two characters always give -9 to 99.
            value = IsTwoDigits(digits) ? static_cast<std::int16_t>(TwoDigitValue(digits))
                                        : RoundToInt16(LeadingNumber(digits)).value_or(0);
        }
        m_state.RawChannel[ChannelIndex(m_state.CurrentRow, slot)] = value;
    }
}

void TelemetryReader::RunEndOfFileSequence() {
    const std::string logName = m_state.InputFileName;
    const std::string readError = m_input.ReadError();
    m_input.Close();
    std::string closeError;
    if (m_state.CsvEnabled) {
        closeError = m_csv.Close();
    }
    m_state.AtEndOfFile = true;
    m_state.InputFileName.clear();
    m_panel.UncheckCsvSwitch();
    if (m_panel.AutoStopCaption() == "Stop") {
        m_panel.ClickAutoStop();
    }
    m_panel.DisableStepButtons();
    // Auto mode is stopped by now, so no tick can start a step behind these messages.
    if (!readError.empty()) {
        m_panel.ShowError("The log \"" + logName + "\" could not be read to its end: " + readError +
                          ".");
    }
    if (!closeError.empty()) {
        m_panel.ShowError("The CSV file could not be closed cleanly: " + closeError + ".");
    }
    m_panel.ShowEndOfFileMessage(kEndOfFileMessage);
}

}  // namespace ao07
