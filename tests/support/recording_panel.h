#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "decoder/frame.h"
#include "decoder/front_panel.h"

namespace ao07::test {

/// A stand-in for the window: keeps what each control would show and every frame completed,
/// and logs every event that matters for order ("csv off", "auto off", "stepping off",
/// "error: ...", "log ended"); the CSV header as what the output box shows once CSV output is on.
class RecordingPanel final : public FrontPanel {
public:
    std::string rawLine, orbit, time, date, outputData;
    std::map<int, std::string> rawValue;     // the raw grid
    std::map<int, std::string> channelText;  // the converted values
    std::map<int, std::string> group;        // each channel's group as last read, and how
    std::map<int, Reception> reception;      // it was received
    std::vector<Frame> frames;
    bool csvOn = false;
    bool autoOn = false;
    bool steppingPossible = false;
    std::vector<std::string> events;

    void ShowRawLine(std::string_view line) override { rawLine = line; }
    void ShowOrbit(std::string_view text) override { orbit = text; }
    void ShowTime(std::string_view text) override { time = text; }
    void ShowDate(std::string_view text) override { date = text; }
    void RecordWritten(std::string_view record, bool) override { outputData = record; }
    void ShowRawValue(int channel, std::string_view text) override { rawValue[channel] = text; }
    void ShowChannelText(int channel, std::string_view text) override {
        channelText[channel] = text;
    }
    void ChannelReceived(int channel, Reception how, std::string_view text) override {
        reception[channel] = how;
        group[channel] = text;
    }
    void FrameCompleted(const Frame& frame) override { frames.push_back(frame); }
    void CsvOutputChanged(bool on) override;
    void AutoModeChanged(bool on) override;
    void SteppingChanged(bool possible) override;
    void LineCut(std::int64_t lineNumber, bool firstInLog, std::string_view message) override;
    void LogEnded() override;
    void ShowError(std::string_view message) override;
};

}  // namespace ao07::test
