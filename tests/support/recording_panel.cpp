#include "support/recording_panel.h"

namespace ao07::test {

void RecordingPanel::UncheckCsvSwitch() {
    events.push_back("uncheck");
    if (csvChecked) {
        csvChecked = false;
        if (onCsvUnchecked) {
            onCsvUnchecked();
        }
    }
}

void RecordingPanel::ClickAutoStop() {
    events.push_back("click-auto-stop");
    caption = caption == "Auto" ? "Stop" : "Auto";
}

void RecordingPanel::DisableStepButtons() {
    events.push_back("disable");
    buttonsEnabled = false;
}

void RecordingPanel::ShowEndOfFileMessage(std::string_view text) {
    events.push_back("message: " + std::string(text));
}

void RecordingPanel::ShowError(std::string_view message) {
    events.push_back("error: " + std::string(message));
}

}  // namespace ao07::test
