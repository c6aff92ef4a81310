#include "decoder/main_module.h"

#include <sys/stat.h>

#include "core/channel.h"
#include "core/front_panel.h"
#include "decoder/csv_record.h"

namespace ao07 {

MainModule::MainModule(FrontPanel& panel)
    : m_panel(panel), m_reader(m_state, m_input, m_csv, panel) {}

void MainModule::AdvanceOneLine() {
    if (m_state.InputFileName.empty() || m_state.AtEndOfFile) {
        return;
    }
    m_reader.ReadNextLine();
    const int row = m_state.CurrentRow;
    if (row < 1 || row > kRowCount) {
        return;
    }
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const int channel = ChannelIndex(row, slot);
        m_panel.ShowRawValue(channel, m_channelTexts.RawText(m_state.RawChannel[channel]));
    }
    DecodeRow(m_state.CurrentRow);
}

void MainModule::DecodeRow(std::uint8_t row) {
    if (row < 1 || row > kRowCount) {
        return;
    }
    std::string& fragment = m_state.RowCsv[row];
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const int channel = ChannelIndex(row, slot);
        // A conversion error leaves this channel and the later ones as they were; the
        // channels before it keep their new text, on screen and in the fragment.
        const std::string& text = m_channelTexts.Text(channel, m_state.RawChannel[channel]);
        m_panel.ShowChannelText(channel, text);
        if (slot == 1) {
            fragment.assign(text);
        } else {
            fragment += text;
        }
        if (slot < kSlotCount) {
            fragment += ',';
        }
    }
    if (row == kRowCount && m_state.CsvEnabled) {
        WriteRecord();
    }
}

void MainModule::WriteRecord() {
    const std::string record = AssembleRecord(m_state);
    m_panel.ShowOutputData(record);
    const std::string error = m_csv.WriteLine(record);
    if (!error.empty()) {
        m_panel.ShowError("The record could not be written to \"" + m_csvName + "\": " + error +
                          ". CSV output is switched off; the records written before are kept.");
        m_panel.UncheckCsvSwitch();
    }
}

void MainModule::CloseCurrentLog() {
    if (m_state.InputFileName.empty()) {
        return;
    }
    m_input.Close();
    if (m_state.CsvEnabled) {
        m_panel.UncheckCsvSwitch();
    }
}

std::string MainModule::OpenLog(const std::string& path, LogFiles accepted) {
    m_state.InputFileName = path;
    const std::string error = m_input.Open(path, accepted);
    if (!error.empty()) {
        m_state.InputFileName.clear();
        return error;
    }
    m_state.AtEndOfFile = false;
    return {};
}

void MainModule::OpenLogFromDescriptor(int fd, const std::string& name) {
    m_state.InputFileName = name;
    m_input.Attach(fd);
    m_state.AtEndOfFile = false;
}

std::string MainModule::StartCsvOutput(const std::string& path) {
    m_csvName = path;
    // Creating the file empties it: never the operator's log that is being read.
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0 && m_input.Reads(existing)) {
        return RefuseCsvOverLog();
    }
    const std::string error = m_csv.Create(path);
    if (!error.empty()) {
        m_state.CsvEnabled = false;
        return error;
    }
    return WriteCsvHeader();
}

std::string MainModule::StartCsvOutputToDescriptor(int fd, const std::string& name) {
    m_csvName = name;
    struct stat target {};
    if (::fstat(fd, &target) == 0 && S_ISREG(target.st_mode) && m_input.Reads(target)) {
        return RefuseCsvOverLog();
    }
    m_csv.Attach(fd);
    return WriteCsvHeader();
}

std::string MainModule::RefuseCsvOverLog() {
    m_csv.Close();
    m_state.CsvEnabled = false;
    return kCsvIsTheLog;
}

std::string MainModule::WriteCsvHeader() {
    m_state.CsvEnabled = true;
    m_panel.ShowOutputData(CsvHeader());
    const std::string error = m_csv.WriteLine(CsvHeader());
    if (!error.empty()) {
        m_state.CsvEnabled = false;
        m_csv.Close();
    }
    return error;
}

std::string MainModule::StopCsvOutput() {
    m_state.CsvEnabled = false;
    return m_csv.Close();
}

void MainModule::CloseAllFiles() {
    m_input.Close();
    m_csv.Close();
}

}  // namespace ao07
