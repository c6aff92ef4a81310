#pragma once

#include <utility>
#include <vector>

namespace ao07::audio {

inline constexpr int kFrameRows = 6;
inline constexpr int kGroupsPerRow = 4;
inline constexpr int kGroupsPerFrame = kFrameRows * kGroupsPerRow;
inline constexpr int kCharactersPerGroup = 3;
inline constexpr int kCharactersPerFrame = kGroupsPerFrame * kCharactersPerGroup;
inline constexpr int kCharactersPerRow = kGroupsPerRow * kCharactersPerGroup;

/// A character as the key sends it: its key-down runs on the unit grid.
struct KeyedShape {
    char symbol = 0;
    int units = 0;                              ///< first key-down to the end of the last
    std::vector<std::pair<int, int>> keyDowns;  ///< (first unit, units) of each element
};

/// The keyed shape of a character with a Morse code.
const KeyedShape& ShapeOf(char symbol);

/// The beacon's frame start as keyed: "HI HI", a word gap and the first row's digit, unit by
/// unit (true: key down).
struct FrameStartPattern {
    std::vector<bool> keyDown;
    int secondWordUnit = 0;  ///< where the second "HI" starts, from the first unit
    int firstGroupUnit = 0;  ///< where the first group starts, from the first unit
};
const FrameStartPattern& FrameStart();

/// The symbols a character of a frame can be: the row digit at the start of a group (set by
/// its place), any digit elsewhere.
const std::vector<char>& SymbolsAt(int characterInFrame);

}  // namespace ao07::audio
