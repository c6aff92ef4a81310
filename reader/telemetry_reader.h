#pragma once

#include <string_view>

namespace ao07 {

class FrontPanel;
class InputSlot;
class OutputSlot;
struct RunState;

/// The message shown once the whole log has been read.
inline constexpr std::string_view kEndOfFileMessage = "          End of file reached.          ";

/// The input side of a step: reads one line of the log, shows it, classifies it and takes what
/// it carries into the run state (a telemetry row's four raw values, or a header field). When
/// the log is exhausted it closes the files and brings the window back to rest instead.
class TelemetryReader {
public:
    TelemetryReader(RunState& state, InputSlot& input, OutputSlot& csv, FrontPanel& panel);

    /// Reads and classifies the next line, or runs the end-of-log sequence when none is left.
    /// The log must be open and not yet at its end.
    void ReadNextLine();

    /// Flags the slots of the current row that hold a damaged digit ("x" or "X").
    void MarkDamagedChannels();

    /// Stores the current row's four raw values in RawChannel, 0 for each damaged slot.
    void ExtractRowValues();

private:
    void RunEndOfFileSequence();
    void TakeHeaderFields();

    RunState& m_state;
    InputSlot& m_input;
    OutputSlot& m_csv;
    FrontPanel& m_panel;
};

}  // namespace ao07
