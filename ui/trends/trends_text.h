#pragma once

#include <QString>

#include <cstdint>
#include <string>

namespace ao07 {
enum class Reception : std::uint8_t;
}  // namespace ao07

namespace ao07::ui {

/// "1A" .. "6D".
QString TrendChannelName(int channel);
/// The channel's caption without its colon: "Battery Voltage".
QString TrendChannelCaption(int channel);
/// The unit the channel's value is in: "mA", "V", "°C", ...
QString TrendChannelUnit(int channel);
/// A channel's value as the trends show and export it: DecodedText of the value.
QString TrendValueText(double value);
/// "copied", "not copied" or "missing".
QString ReceptionText(Reception reception);
/// The file name of a log's path.
QString LogDisplayName(const std::string& path);

}  // namespace ao07::ui
