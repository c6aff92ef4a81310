#include "audio/frame_grammar.h"

#include <array>
#include <map>
#include <string>

#include "audio/morse_code.h"

namespace ao07::audio {

const KeyedShape& ShapeOf(char symbol) {
    static const std::map<char, KeyedShape> shapes = [] {
        std::map<char, KeyedShape> made;
        for (const char c : std::string("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ/?=")) {
            KeyedShape shape;
            shape.symbol = c;
            int unit = 0;
            for (const char element : MorsePattern(c)) {
                const int length = element == '-' ? kDashUnits : 1;
                shape.keyDowns.emplace_back(unit, length);
                unit += length + kElementGapUnits;
            }
            shape.units = MorseUnits(c);
            made[c] = shape;
        }
        return made;
    }();
    return shapes.at(symbol);
}

const FrameStartPattern& FrameStart() {
    static const FrameStartPattern pattern = [] {
        FrameStartPattern made;
        int unit = 0;
        auto key = [&](char c) {
            const KeyedShape& shape = ShapeOf(c);
            made.keyDown.resize(static_cast<std::size_t>(unit + shape.units), false);
            for (const auto& [first, length] : shape.keyDowns) {
                for (int u = 0; u < length; ++u) {
                    made.keyDown[static_cast<std::size_t>(unit + first + u)] = true;
                }
            }
            unit += shape.units;
        };
        auto keyHi = [&] {
            key('H');
            unit += kCharacterGapUnits;
            key('I');
            unit += kWordGapUnits;
        };
        keyHi();
        made.secondWordUnit = unit;
        keyHi();
        made.firstGroupUnit = unit;
        key('1');
        return made;
    }();
    return pattern;
}

const std::vector<char>& SymbolsAt(int characterInFrame) {
    static const std::array<std::vector<char>, kFrameRows + 1> symbols = [] {
        std::array<std::vector<char>, kFrameRows + 1> made;
        made[0] = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'};
        for (int row = 1; row <= kFrameRows; ++row) {
            made[static_cast<std::size_t>(row)] = {static_cast<char>('0' + row)};
        }
        return made;
    }();
    const int group = characterInFrame / kCharactersPerGroup;
    const bool rowDigit = characterInFrame % kCharactersPerGroup == 0;
    return symbols[rowDigit ? static_cast<std::size_t>(group / kGroupsPerRow + 1) : 0];
}

}  // namespace ao07::audio
