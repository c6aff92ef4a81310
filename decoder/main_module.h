#pragma once

// How a line of the operator's log travels through the program: the TelemetryReader reads the
// log one line per step, trims and classifies the line and says what it carries; the MainModule
// takes that into the RunState (a header field, or a telemetry row's four raw values in
// RawChannel), converts a row's four channels with their calibration equations, keeps the row's
// CSV fragment and, after row 6, completes the frame: its record goes to the CSV file while CSV
// output is on, and the whole frame, with the numbers behind its texts and how each channel was
// received, goes to the front end. The front end (the window, the command-line decoder) only
// shows what the MainModule tells it through the FrontPanel and forwards the user's requests.

#include <cstdint>
#include <string>

#include "core/output_file.h"
#include "decoder/frame.h"
#include "decoder/run_state.h"
#include "reader/telemetry_reader.h"

namespace ao07 {

class FrontPanel;

/// What the user is told about line `lineNumber` when it was longer than the reader keeps.
std::string LineCutMessage(std::int64_t lineNumber);

/// The program's own logic and the one owner of the run: the run state, the log and the CSV
/// file, Auto mode, and the step procedure. It takes every decision, including everything that
/// happens at the end of a log, and tells its FrontPanel what changed.
class MainModule {
public:
    explicit MainModule(FrontPanel& panel);
    MainModule(const MainModule&) = delete;
    MainModule& operator=(const MainModule&) = delete;

    const RunState& State() const { return m_state; }

    /// One step: reads the next line of the open log; for a telemetry row shows its raw values
    /// and decodes it. At the end of the log, closes both files, switches CSV output and Auto
    /// mode off, ends stepping and tells the user. Does nothing while no log is open or once its
    /// end has been reached. Throws ConversionError (never for raw values a log can carry).
    /// A followed log (LogFiles::Followed) has no end: at what has been written so far a step
    /// only sets AtEndOfFile, and steps do nothing until ReadOn.
    void AdvanceOneLine();

    /// For a followed log at the end of what has been written so far: the next steps read what
    /// has arrived since.
    void ReadOn();

    /// The open log, for a front end that follows it as it grows and sees it rewritten.
    LogFile& Log() { return m_reader.Log(); }

    /// Converts, shows and collects the four channels of row 1..6 (with the reception of the
    /// row last read); after row 6 completes the frame and writes its record while CSV output is
    /// on. Any other row number does nothing.
    void DecodeRow(std::uint8_t row);

    /// Switches Auto mode on or off.
    void SetAutoMode(bool on);

    /// Opens the named log at its first line and makes stepping possible. On failure no log is
    /// open, Auto mode is off, stepping is impossible, and the reason is returned; "" on success.
    std::string OpenLog(const std::string& path, LogFiles accepted = LogFiles::AnyReadable);

    /// Reads the log from a descriptor that is already open (standard input).
    void OpenLogFromDescriptor(int fd, const std::string& name);

    /// Closes the open log before another is opened. CSV output, if on, is switched off the
    /// way the end of a log switches it off, so no record goes to a closed file.
    void CloseCurrentLog();

    /// Switches CSV output on: creates the file afresh, writes and shows the header line.
    /// Returns "" or the reason; on failure CSV output stays off. The open log itself is never
    /// emptied to take the CSV output: that gives kOutputIsALog.
    std::string StartCsvOutput(const std::string& path);

    /// Switches CSV output off and closes the file. Returns "" or why closing failed.
    std::string StopCsvOutput();

    /// Closes the log and the CSV file, as when the program ends.
    void CloseAllFiles();

private:
    void StartLog(const std::string& name);
    void TakeRow();
    void TakeHeaderFields();
    void CompleteFrame();
    void WriteRecord();
    void RunEndOfFileSequence();
    /// Leaves CSV output off after a failed start and says so; returns `reason`.
    std::string CsvNotStarted(const std::string& reason);
    std::string WriteCsvHeader();
    void SetCsvEnabled(bool on);

    FrontPanel& m_panel;
    RunState m_state;
    TelemetryReader m_reader;
    LineReading m_reading;
    OutputFile m_csv;
    std::string m_csvName;

    // The frame being collected; its channels keep their last reading from frame to frame.
    Frame m_frame;
    OneBased<bool, kRowCount> m_rowDecoded;  ///< rows decoded since the last frame ended
    int m_framesInLog = 0;
    std::int64_t m_linesInLog = 0;
    bool m_lineCutInLog = false;
    bool m_recordWritten = false;  ///< the frame just completed went to the CSV file
    bool m_showsEachStep = true;   ///< the front end's answer, asked when a log is opened
};

}  // namespace ao07
