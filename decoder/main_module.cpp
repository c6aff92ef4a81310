#include "decoder/main_module.h"

#include <array>
#include <string_view>

#include "core/channel.h"
#include "core/number_text.h"
#include "core/text_join.h"
#include "decoder/channel_conversion.h"
#include "decoder/csv_record.h"
#include "decoder/front_panel.h"

namespace ao07 {

std::string LineCutMessage(std::int64_t lineNumber) {
    constexpr std::size_t kMiB = std::size_t{1} << 20;
    static_assert(LogFile::kMaxLineLength % kMiB == 0, "the kept part of a line is whole MiB");
    const auto mib = static_cast<std::int64_t>(LogFile::kMaxLineLength / kMiB);
    return "Line " + IntegerText(lineNumber) + " of the log is longer than " + IntegerText(mib) +
           " MiB; only its first " + (mib == 1 ? std::string() : IntegerText(mib) + " ") +
           "MiB was read.";
}

MainModule::MainModule(FrontPanel& panel) : m_panel(panel) {}

void MainModule::AdvanceOneLine() {
    if (m_state.InputFileName.empty() || m_state.AtEndOfFile) {
        return;
    }
    m_reader.ReadNextLine(m_reading);
    if (m_reading.endOfLog) {
        if (m_reader.Log().Follows() && m_reading.readError.empty()) {
            m_state.AtEndOfFile = true;  // of what has been written so far: the log stays open
            return;
        }
        RunEndOfFileSequence();
        return;
    }
    ++m_linesInLog;
    AssignText(m_state.CurrentLine, m_reading.line);
    if (m_showsEachStep) {
        m_panel.ShowRawLine(m_state.CurrentLine);
    }
    if (m_reading.lineCut) {
        m_panel.LineCut(m_linesInLog, !m_lineCutInLog, LineCutMessage(m_linesInLog));
        m_lineCutInLog = true;
    }
    m_state.CurrentRow = m_reading.row;
    if (m_reading.row != 0) {
        TakeRow();
    } else {
        TakeHeaderFields();
    }
}

void MainModule::TakeRow() {
    const int row = m_reading.row;
    const bool shows = m_showsEachStep;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const int channel = ChannelIndex(row, slot);
        m_state.RawChannel[channel] = m_reading.value[slot];
        m_frame.channels[static_cast<std::size_t>(channel - 1)].reception =
            m_reading.reception[slot];
        if (shows) {
            m_panel.ShowRawValue(channel, RawValueText(m_reading.value[slot]));
            m_panel.ChannelReceived(channel, m_reading.reception[slot],
                                    TelemetryReader::SlotGroup(m_reading.line, slot));
        }
    }
    DecodeRow(m_state.CurrentRow);
}

void MainModule::TakeHeaderFields() {
    const bool shows = m_showsEachStep;
    if (m_reading.hasOrbit) {
        m_state.OrbitNumber = m_reading.orbit;
        if (shows) {
            m_panel.ShowOrbit(IntegerText(m_state.OrbitNumber));
        }
    }
    if (m_reading.hasTime) {
        AssignText(m_state.TimeText, m_reading.time);
        if (shows) {
            m_panel.ShowTime(m_state.TimeText);
        }
    }
    if (m_reading.hasDate) {
        AssignText(m_state.DateText, m_reading.date);
        if (shows) {
            m_panel.ShowDate(m_state.DateText);
        }
    }
}

void MainModule::DecodeRow(std::uint8_t row) {
    if (row < 1 || row > kRowCount) {
        return;
    }
    std::array<std::string_view, kSlotCount> texts;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const int channel = ChannelIndex(row, slot);
        ChannelReading& reading = m_frame.channels[static_cast<std::size_t>(channel - 1)];
        texts[static_cast<std::size_t>(slot - 1)] =
            ConvertReading(channel, m_state.RawChannel[channel], reading);
    }
    JoinInto(m_state.RowCsv[row], texts, ',');
    m_rowDecoded[row] = true;
    if (row == kRowCount) {
        // The record reaches the file before anything is shown, so nothing on disk waits for
        // the display.
        CompleteFrame();
    }
    const bool shows = m_showsEachStep;
    for (int slot = 1; slot <= kSlotCount && shows; ++slot) {
        const int channel = ChannelIndex(row, slot);
        m_panel.ShowChannelText(channel, m_frame.Channel(channel).text);
    }
    if (row == kRowCount) {
        if (m_recordWritten && shows) {
            m_panel.RecordWritten(m_frame.record, true);
        }
        m_panel.FrameCompleted(m_frame);
    }
}

void MainModule::CompleteFrame() {
    for (int row = 1; row <= kRowCount; ++row) {
        if (!m_rowDecoded[row]) {
            for (int slot = 1; slot <= kSlotCount; ++slot) {
                m_frame.channels[static_cast<std::size_t>(ChannelIndex(row, slot) - 1)].reception =
                    Reception::Missing;
            }
        }
        m_rowDecoded[row] = false;
    }
    m_frame.number = ++m_framesInLog;
    m_frame.lineNumber = m_linesInLog;
    AssignText(m_frame.date, m_state.DateText);
    AssignText(m_frame.time, m_state.TimeText);
    m_frame.orbit = m_state.OrbitNumber;
    AssembleRecord(m_state, m_frame.record);
    m_recordWritten = false;
    if (m_state.CsvEnabled) {
        WriteRecord();
    }
}

void MainModule::WriteRecord() {
    const std::string error = m_csv.WriteLine(m_frame.record);
    if (!error.empty()) {
        m_panel.RecordWritten(m_frame.record, false);
        m_panel.ShowError("The record could not be written to \"" + m_csvName + "\": " + error +
                          ". CSV output is switched off; the records written before are kept.");
        m_csv.Close();
        SetCsvEnabled(false);
        return;
    }
    m_recordWritten = true;
}

void MainModule::RunEndOfFileSequence() {
    const std::string logName = m_state.InputFileName;
    const std::string readError = m_reading.readError;
    m_reader.Log().Close();
    std::string closeError;
    if (m_state.CsvEnabled) {
        closeError = m_csv.Close();
    }
    m_state.AtEndOfFile = true;
    m_state.InputFileName.clear();
    SetCsvEnabled(false);
    SetAutoMode(false);
    m_panel.SteppingChanged(false);
    // Auto mode is stopped by now, so no tick can start a step behind these messages.
    if (!readError.empty()) {
        m_panel.ShowError("The log \"" + logName + "\" could not be read to its end: " + readError +
                          ".");
    }
    if (!closeError.empty()) {
        m_panel.ShowError("The CSV file could not be closed cleanly: " + closeError + ".");
    }
    m_panel.LogEnded();
}

void MainModule::ReadOn() {
    if (!m_state.InputFileName.empty() && m_reader.Log().Follows()) {
        m_state.AtEndOfFile = false;
    }
}

void MainModule::SetAutoMode(bool on) {
    if (m_state.AutoMode != on) {
        m_state.AutoMode = on;
        m_panel.AutoModeChanged(on);
    }
}

void MainModule::SetCsvEnabled(bool on) {
    if (m_state.CsvEnabled != on) {
        m_state.CsvEnabled = on;
        m_panel.CsvOutputChanged(on);
    }
}

void MainModule::CloseCurrentLog() {
    if (m_state.InputFileName.empty()) {
        return;
    }
    m_reader.Log().Close();
    m_state.InputFileName.clear();
    if (m_state.CsvEnabled) {
        const std::string error = StopCsvOutput();
        if (!error.empty()) {
            m_panel.ShowError("The CSV file \"" + m_csvName +
                              "\" could not be closed cleanly: " + error + ".");
        }
    }
}

std::string MainModule::OpenLog(const std::string& path, LogFiles accepted) {
    const std::string error = m_reader.Log().Open(path, accepted);
    if (!error.empty()) {
        m_state.InputFileName.clear();
        SetAutoMode(false);
        m_panel.SteppingChanged(false);
        return error;
    }
    StartLog(path);
    return {};
}

void MainModule::OpenLogFromDescriptor(int fd, const std::string& name) {
    m_reader.Log().Attach(fd);
    StartLog(name);
}

void MainModule::StartLog(const std::string& name) {
    m_state.InputFileName = name;
    m_state.AtEndOfFile = false;
    // Channels and header fields live on from log to log; the counting of frames and lines,
    // and the rows of the frame being collected, start afresh.
    m_rowDecoded = {};
    m_framesInLog = 0;
    m_linesInLog = 0;
    m_lineCutInLog = false;
    m_showsEachStep = m_panel.ShowsEachStep();
    m_panel.LogOpened(name);
    m_panel.SteppingChanged(true);
}

std::string MainModule::StartCsvOutput(const std::string& path) {
    m_csvName = path;
    std::vector<FileIdentity> log;
    if (const std::optional<FileIdentity> open = m_reader.Log().Identity()) {
        log.push_back(*open);
    }
    if (const std::string error = m_csv.Open(path, log); !error.empty()) {
        return CsvNotStarted(error);
    }
    return WriteCsvHeader();
}

std::string MainModule::CsvNotStarted(const std::string& reason) {
    m_csv.Close();
    m_state.CsvEnabled = false;
    m_panel.CsvOutputChanged(false);
    return reason;
}

std::string MainModule::WriteCsvHeader() {
    if (const std::string error = m_csv.WriteLine(CsvHeader()); !error.empty()) {
        return CsvNotStarted(error);
    }
    SetCsvEnabled(true);
    return {};
}

std::string MainModule::StopCsvOutput() {
    const std::string error = m_csv.Close();
    SetCsvEnabled(false);
    return error;
}

void MainModule::CloseAllFiles() {
    m_reader.Log().Close();
    m_csv.Close();
}

}  // namespace ao07
