#pragma once

// How a line of the operator's log travels through the program: the log file is read one line
// per step by the TelemetryReader (file slot 1), which trims and classifies the line and takes
// what it carries into the RunState: a header field, or a telemetry row's four raw values in
// RawChannel. For a telemetry row, MainModule::DecodeRow converts the four channels with their
// calibration equations, shows raw and converted values through the FrontPanel (the window, or
// the command-line decoder) and keeps the row's CSV fragment; after row 6 it writes the frame's
// record to "ao-07.csv" (file slot 2) while CSV output is on.

#include <cstdint>
#include <string>

#include "core/input_slot.h"
#include "core/output_slot.h"
#include "core/run_state.h"
#include "decoder/channel_text_cache.h"
#include "reader/telemetry_reader.h"

namespace ao07 {

class FrontPanel;

/// Why CSV output cannot go to the file that is being read as the log.
inline constexpr const char* kCsvIsTheLog = "It is the log being read";

/// The program's own logic: the run state, the two file slots and the step procedure. The
/// window and the command-line decoder are front ends on this one object.
class MainModule {
public:
    explicit MainModule(FrontPanel& panel);
    MainModule(const MainModule&) = delete;
    MainModule& operator=(const MainModule&) = delete;

    RunState& State() { return m_state; }
    const RunState& State() const { return m_state; }
    TelemetryReader& Reader() { return m_reader; }

    /// One step: reads the next line of the open log; for a telemetry row shows its raw values
    /// and decodes it. Does nothing while no log is open or once its end has been reached.
    /// Throws ConversionError (never for raw values a log can carry).
    void AdvanceOneLine();

    /// Converts, shows and collects the four channels of row 1..6, and after row 6 writes the
    /// frame's record while CSV output is on. Any other row number does nothing.
    void DecodeRow(std::uint8_t row);

    /// Closes the open log before another is opened. CSV output, if on, is switched off the
    /// way the end of a log switches it off, so no record goes to a closed file.
    void CloseCurrentLog();

    /// Opens the named log at its first line. On failure the program is left with no log open
    /// and the reason is returned; "" on success.
    std::string OpenLog(const std::string& path, LogFiles accepted = LogFiles::AnyReadable);

    /// Reads the log from a descriptor that is already open (standard input).
    void OpenLogFromDescriptor(int fd, const std::string& name);

    /// Switches CSV output on: creates the file afresh, shows and writes the header line.
    /// Returns "" or the reason; on failure CSV output stays off. The open log itself is never
    /// emptied to take the CSV output: that gives kCsvIsTheLog.
    std::string StartCsvOutput(const std::string& path);

    /// As StartCsvOutput, to a descriptor that is already open (standard output).
    std::string StartCsvOutputToDescriptor(int fd, const std::string& name);

    /// Switches CSV output off and closes the file. Returns "" or why closing failed.
    std::string StopCsvOutput();

    /// Closes both file slots, as when the program ends.
    void CloseAllFiles();

private:
    std::string RefuseCsvOverLog();
    std::string WriteCsvHeader();
    void WriteRecord();

    RunState m_state;
    InputSlot m_input;
    OutputSlot m_csv;
    ChannelTextCache m_channelTexts;
    std::string m_csvName;
    FrontPanel& m_panel;
    TelemetryReader m_reader;
};

}  // namespace ao07
