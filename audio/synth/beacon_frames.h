#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "audio/synth/random_source.h"

namespace ao07::audio::synth {

inline constexpr int kRowsPerFrame = 6;
inline constexpr int kGroupsPerRow = 4;

/// One frame as the beacon sends it: six rows "Rvv Rvv Rvv Rvv", every character a digit.
struct BeaconFrame {
    std::array<std::string, kRowsPerFrame> rows;
};

/// `count` frames of random value digits.
std::vector<BeaconFrame> RandomFrames(int count, RandomSource& random);

/// The frames of a log's text: "HI HI" starts a frame, a row line (15 characters, row digit 1-6)
/// sets that row. A row the log lacks, and a value character that is not a digit (an `x`), is
/// sent as a random digit.
std::vector<BeaconFrame> FramesOfLog(std::string_view logText, RandomSource& random);

/// The text the beacon keys for the frames: "HI HI" and the 24 groups of each frame, words
/// separated by one space.
std::vector<std::string> FrameWords(const BeaconFrame& frame);

}  // namespace ao07::audio::synth
