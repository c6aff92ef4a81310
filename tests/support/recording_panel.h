#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/front_panel.h"

namespace ao07::test {

/// A stand-in for the window: keeps what each control would show, and logs every call that
/// matters for order ("uncheck", "click-auto-stop", "disable", "error: ...", "message: ...").
class RecordingPanel final : public FrontPanel {
public:
    std::string rawLine, orbit, time, date, outputData;
    std::map<int, std::string> rawValue;     // element 0 of each label pair
    std::map<int, std::string> channelText;  // element 1 of each label pair
    std::string caption = "Auto";
    bool csvChecked = false;
    bool buttonsEnabled = true;
    std::vector<std::string> events;
    /// Runs when a checked CSV switch is cleared: the window's click reaction.
    std::function<void()> onCsvUnchecked;

    void ShowRawLine(std::string_view line) override { rawLine = line; }
    void ShowOrbit(std::string_view text) override { orbit = text; }
    void ShowTime(std::string_view text) override { time = text; }
    void ShowDate(std::string_view text) override { date = text; }
    void ShowOutputData(std::string_view text) override { outputData = text; }
    void ShowRawValue(int channel, std::string_view text) override { rawValue[channel] = text; }
    void ShowChannelText(int channel, std::string_view text) override {
        channelText[channel] = text;
    }
    void UncheckCsvSwitch() override;
    std::string AutoStopCaption() const override { return caption; }
    void ClickAutoStop() override;
    void DisableStepButtons() override;
    void ShowEndOfFileMessage(std::string_view text) override;
    void ShowError(std::string_view message) override;
};

}  // namespace ao07::test
