#pragma once

#include <cstdint>
#include <string_view>

namespace ao07 {

struct Frame;
enum class Reception : std::uint8_t;

/// What a front end learns from the MainModule, which owns the run and takes every decision:
/// the texts to show, the changes of the run's switches, the frames it completes and the
/// messages for the user. Every text is the log's own bytes (Windows-1252); the front end
/// converts for display. Each event does nothing unless a front end overrides it.
class FrontPanel {
public:
    virtual ~FrontPanel() = default;

    /// Whether the front end shows the line, the header fields, the channels and the record as
    /// each line is read. One that takes only whole frames answers false, and the step then
    /// spares making what would be shown: ShowRawLine, ShowOrbit, ShowTime, ShowDate,
    /// ShowRawValue, ChannelReceived, ShowChannelText and RecordWritten(true) do not come;
    /// every other event comes all the same.
    virtual bool ShowsEachStep() const { return true; }

    /// The line just read, trimmed.
    virtual void ShowRawLine(std::string_view /*line*/) {}
    virtual void ShowOrbit(std::string_view /*text*/) {}
    virtual void ShowTime(std::string_view /*text*/) {}
    virtual void ShowDate(std::string_view /*text*/) {}
    /// Channel 1..24's raw value.
    virtual void ShowRawValue(int /*channel*/, std::string_view /*text*/) {}
    /// Channel 1..24's converted value.
    virtual void ShowChannelText(int /*channel*/, std::string_view /*text*/) {}
    /// Channel 1..24's group was read in a telemetry row (Copied or NotCopied), after its raw
    /// value was shown and before its row is converted: `group` is its three characters as the
    /// log has them.
    virtual void ChannelReceived(int /*channel*/, Reception /*reception*/,
                                 std::string_view /*group*/) {}

    /// A frame has ended with its row 6, whether CSV output is on or off. It comes after the
    /// row's ChannelReceived and ShowChannelText events.
    virtual void FrameCompleted(const Frame& /*frame*/) {}

    /// CSV output went on (its header has been written) or off; also off when starting it
    /// failed, so that a switch the user turned on can follow.
    virtual void CsvOutputChanged(bool /*on*/) {}
    /// The record of a frame went to the CSV file (`written`), or could not be written: CSV
    /// output then goes off and ShowError says why.
    virtual void RecordWritten(std::string_view /*record*/, bool /*written*/) {}
    /// Auto mode went on or off.
    virtual void AutoModeChanged(bool /*on*/) {}
    /// Stepping became possible (a log was opened) or impossible (its end, or a failed open).
    virtual void SteppingChanged(bool /*possible*/) {}

    /// Line `lineNumber` of the log was longer than the reader keeps; `firstInLog` is true the
    /// first time this happens in the open log. `message` says so in words for the user.
    virtual void LineCut(std::int64_t /*lineNumber*/, bool /*firstInLog*/,
                         std::string_view /*message*/) {}

    /// A log was opened under `name` and is read from its first line.
    virtual void LogOpened(std::string_view /*name*/) {}
    /// The open log has been read to its end and closed: Auto mode, stepping and CSV output are
    /// off by now. The next step may come once this returns.
    virtual void LogEnded() {}
    /// Tells the user that something failed (a file that cannot be read or written).
    virtual void ShowError(std::string_view /*message*/) {}
};

}  // namespace ao07
