#pragma once

#include <string_view>

namespace ao07::audio {

// The timing of machine-sent Morse, in units (a dot): a dash is three, the gap inside a
// character one, between characters three and between words seven.
inline constexpr int kDashUnits = 3;
inline constexpr int kElementGapUnits = 1;
inline constexpr int kCharacterGapUnits = 3;
inline constexpr int kWordGapUnits = 7;

/// The dots and dashes of a letter, digit or '/', '?', '=' (either case); "" for anything else.
std::string_view MorsePattern(char c);

/// Units from the first key-down of `c` to the end of its last element; 0 when it has no code.
int MorseUnits(char c);

/// The character whose code is `pattern` (upper case), or 0 when none has it.
char CharacterOfPattern(std::string_view pattern);

}  // namespace ao07::audio
