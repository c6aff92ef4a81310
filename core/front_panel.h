#pragma once

#include <string>
#include <string_view>

namespace ao07 {

/// What the reader and the decoder show, and the window's share of the end of a log. The main
/// window implements it with its controls; the command-line decoder and the tests with plain
/// objects. Every text is the log's own bytes (Windows-1252); the front end converts for display.
class FrontPanel {
public:
    virtual ~FrontPanel() = default;

    virtual void ShowRawLine(std::string_view line) = 0;     ///< txtRawData
    virtual void ShowOrbit(std::string_view text) = 0;       ///< lblOrbit
    virtual void ShowTime(std::string_view text) = 0;        ///< lblTime
    virtual void ShowDate(std::string_view text) = 0;        ///< lblDate
    virtual void ShowOutputData(std::string_view text) = 0;  ///< txtOutputData

    /// Element 0 of channel 1..24's label pair: its raw value.
    virtual void ShowRawValue(int channel, std::string_view text) = 0;
    /// Element 1 of channel 1..24's label pair: its converted value.
    virtual void ShowChannelText(int channel, std::string_view text) = 0;

    /// Clears the "Create .csv output file" switch; when it was on, its click reaction runs and
    /// switches CSV output off.
    virtual void UncheckCsvSwitch() = 0;
    /// The caption of the Auto/Stop button, which is the Auto mode: "Auto" or "Stop".
    virtual std::string AutoStopCaption() const = 0;
    /// Runs the Auto/Stop button's click reaction.
    virtual void ClickAutoStop() = 0;
    /// Disables the Auto/Stop and Next buttons.
    virtual void DisableStepButtons() = 0;
    /// Shows the end-of-log message and waits until the user has closed it.
    virtual void ShowEndOfFileMessage(std::string_view text) = 0;

    /// Tells the user that something failed (a file that cannot be read or written).
    virtual void ShowError(std::string_view message) = 0;
};

}  // namespace ao07
