#pragma once

#include <string>
#include <vector>

namespace ao07::audio::synth {

/// One key-down, from its start to its end, in seconds.
struct KeyDown {
    double startSeconds = 0;
    double endSeconds = 0;
};

/// Machine keying with an exact unit clock: key-downs are appended word by word.
class KeyingTimeline {
public:
    explicit KeyingTimeline(double wordsPerMinute);

    /// Seconds of one unit (a dot): 1.2 s over the words per minute.
    double UnitSeconds() const { return m_unitSeconds; }
    /// Where the next word would start, in seconds.
    double EndSeconds() const { return m_cursorUnits * m_unitSeconds; }

    /// Keys one word (characters without Morse code are skipped) and a word gap after it,
    /// lengthened by `extraGapUnits`.
    void AddWord(const std::string& word, int extraGapUnits = 0);
    /// Moves the start of the next word on by whole units.
    void Skip(double units) { m_cursorUnits += units; }

    const std::vector<KeyDown>& KeyDowns() const { return m_keyDowns; }

private:
    double m_unitSeconds;
    double m_cursorUnits = 0;
    std::vector<KeyDown> m_keyDowns;
};

}  // namespace ao07::audio::synth
