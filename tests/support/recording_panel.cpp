#include "support/recording_panel.h"

#include "decoder/csv_record.h"

namespace ao07::test {

void RecordingPanel::CsvOutputChanged(bool on) {
    events.push_back(on ? "csv on" : "csv off");
    csvOn = on;
    if (on) {
        outputData = CsvHeader();
    }
}

void RecordingPanel::AutoModeChanged(bool on) {
    events.push_back(on ? "auto on" : "auto off");
    autoOn = on;
}

void RecordingPanel::SteppingChanged(bool possible) {
    events.push_back(possible ? "stepping on" : "stepping off");
    steppingPossible = possible;
}

void RecordingPanel::LineCut(std::int64_t, bool firstInLog, std::string_view message) {
    events.push_back((firstInLog ? "first cut: " : "cut: ") + std::string(message));
}

void RecordingPanel::LogEnded() {
    events.push_back("log ended");
}

void RecordingPanel::ShowError(std::string_view message) {
    events.push_back("error: " + std::string(message));
}

}  // namespace ao07::test
