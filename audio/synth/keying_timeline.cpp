#include "audio/synth/keying_timeline.h"

#include "audio/morse_code.h"

namespace ao07::audio::synth {

KeyingTimeline::KeyingTimeline(double wordsPerMinute) : m_unitSeconds(1.2 / wordsPerMinute) {}

void KeyingTimeline::AddWord(const std::string& word, int extraGapUnits) {
    bool keyedAny = false;
    for (const char character : word) {
        const std::string_view pattern = MorsePattern(character);
        if (pattern.empty()) {
            continue;
        }
        if (keyedAny) {
            m_cursorUnits += kCharacterGapUnits - kElementGapUnits;
        }
        for (const char element : pattern) {
            const double units = element == '-' ? kDashUnits : 1;
            m_keyDowns.push_back(
                {m_cursorUnits * m_unitSeconds, (m_cursorUnits + units) * m_unitSeconds});
            m_cursorUnits += units + kElementGapUnits;
        }
        keyedAny = true;
    }
    if (keyedAny) {
        m_cursorUnits += kWordGapUnits - kElementGapUnits + extraGapUnits;
    }
}

}  // namespace ao07::audio::synth
