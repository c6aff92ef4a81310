#include "audio/morse_code.h"

#include <array>
#include <utility>

namespace ao07::audio {
namespace {

constexpr std::array<std::pair<char, std::string_view>, 39> kCodes = {{
    {'A', ".-"},    {'B', "-..."},   {'C', "-.-."},  {'D', "-.."},   {'E', "."},     {'F', "..-."},
    {'G', "--."},   {'H', "...."},   {'I', ".."},    {'J', ".---"},  {'K', "-.-"},   {'L', ".-.."},
    {'M', "--"},    {'N', "-."},     {'O', "---"},   {'P', ".--."},  {'Q', "--.-"},  {'R', ".-."},
    {'S', "..."},   {'T', "-"},      {'U', "..-"},   {'V', "...-"},  {'W', ".--"},   {'X', "-..-"},
    {'Y', "-.--"},  {'Z', "--.."},   {'0', "-----"}, {'1', ".----"}, {'2', "..---"}, {'3', "...--"},
    {'4', "....-"}, {'5', "....."},  {'6', "-...."}, {'7', "--..."}, {'8', "---.."}, {'9', "----."},
    {'/', "-..-."}, {'?', "..--.."}, {'=', "-...-"},
}};

}  // namespace

std::string_view MorsePattern(char c) {
    const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    for (const auto& [character, pattern] : kCodes) {
        if (character == upper) {
            return pattern;
        }
    }
    return {};
}

int MorseUnits(char c) {
    const std::string_view pattern = MorsePattern(c);
    int units = 0;
    for (const char element : pattern) {
        units += (element == '-' ? kDashUnits : 1) + kElementGapUnits;
    }
    return pattern.empty() ? 0 : units - kElementGapUnits;
}

char CharacterOfPattern(std::string_view pattern) {
    for (const auto& [character, code] : kCodes) {
        if (code == pattern) {
            return character;
        }
    }
    return 0;
}

}  // namespace ao07::audio
