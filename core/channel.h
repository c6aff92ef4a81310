#pragma once

#include <string>

namespace ao07 {

// A telemetry frame has six rows of four slots (A to D): 24 channels, 1A to 6D.
inline constexpr int kRowCount = 6;
inline constexpr int kSlotCount = 4;
inline constexpr int kChannelCount = kRowCount * kSlotCount;

/// Index 1..24 of the channel in row 1..6, slot 1..4 (A..D): 1A is 1, 2A is 5, 6D is 24.
constexpr int ChannelIndex(int row, int slot) {
    return kSlotCount * (row - 1) + slot;
}

/// Row 1..6 of channel index 1..24.
constexpr int RowOf(int channel) {
    return (channel - 1) / kSlotCount + 1;
}

/// Slot 1..4 (A..D) of channel index 1..24.
constexpr int SlotOf(int channel) {
    return (channel - 1) % kSlotCount + 1;
}

/// The channel's name as operators write it: "1A" .. "6D".
std::string ChannelName(int channel);

}  // namespace ao07
