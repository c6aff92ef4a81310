#pragma once

#include <string>
#include <vector>

namespace ao07::audio {

/// What the listener has found out about the signal so far. Every number is an estimate and
/// carries its unit in its name.
struct SignalEstimate {
    double timeSeconds = 0;  ///< time in the recording, from its first sample
    double toneHz = 0;       ///< the tracked tone; 0 while none is found
    double wordsPerMinute = 0;
    double snrDb = 0;         ///< key-down tone power over noise power in 3 kHz
    double levelDbfs = -200;  ///< input level of the last block
    bool clipping = false;    ///< the last block touched full scale
};

/// One character as heard, with the probability that it is the character written.
struct HeardCharacter {
    double startSeconds = 0;
    char text = ' ';        ///< '0'..'9', a letter, or 'x' for a digit not heard with confidence
    char best = ' ';        ///< the most likely character, even when `text` is 'x'
    double confidence = 0;  ///< probability (0..1) that `best` is what was sent
};

/// One three-character group of a telemetry row: its row digit and two value digits.
struct HeardGroup {
    double startSeconds = 0;
    std::string text;                ///< e.g. "305" or "3x5"
    std::vector<double> confidence;  ///< one per character of `text`
    SignalEstimate signal;           ///< the estimates when the group ended
};

/// What kind of log line a completed line is.
enum class HeardLineKind {
    FrameMarker,  ///< "HI HI"
    Row,          ///< a telemetry row "Rvv Rvv Rvv Rvv"
    Other,  ///< heard outside a frame's shape; the log keeps it where the reader passes over it
};

struct HeardLine {
    HeardLineKind kind = HeardLineKind::Other;
    double startSeconds = 0;
    std::string text;                ///< the line as the log gets it
    int row = 0;                     ///< 1..6 for a Row
    std::vector<HeardGroup> groups;  ///< the four groups of a Row
};

/// What the listener reports, in the order it happens in the recording. Each event does nothing
/// unless a front end overrides it.
class ListenEvents {
public:
    virtual ~ListenEvents() = default;
    virtual void ToneFound(const SignalEstimate& /*signal*/) {}
    virtual void ToneLost(const SignalEstimate& /*signal*/) {}
    /// The estimates changed noticeably, or a second has passed since they were last reported.
    virtual void SignalChanged(const SignalEstimate& /*signal*/) {}
    virtual void CharacterHeard(const HeardCharacter& /*character*/) {}
    virtual void GroupHeard(const HeardGroup& /*group*/) {}
    virtual void LineHeard(const HeardLine& /*line*/) {}
};

}  // namespace ao07::audio
