#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "audio/frame_grammar.h"
#include "audio/unit_likelihood.h"

namespace ao07::audio {

/// A power that grows along a line of signal-to-noise: `atFromDb` up to `fromDb`, then
/// `perDb` more for each dB, held from `toDb` on.
struct ConfidencePowerLine {
    double atFromDb = 1;
    double perDb = 0;
    double fromDb = 0;
    double toDb = 0;

    [[nodiscard]] double At(double snrDb) const;
};

struct FrameDecoderParams {
    /// Log-likelihood ratio of "HI HI" and the first row digit against keying at random that a
    /// frame start must pass. A perfect copy scores 57 ln 2 = 39.5; ten minutes of noise alone,
    /// on the tuning seeds, reached 9.3 at most.
    double frameStartThreshold = 15;
    /// The same where a frame is expected, just after the last one ended. Noise alone, on the
    /// tuning seeds, passed 9.3 once in ten minutes: in a window of seconds, seldom.
    double expectedFrameStartThreshold = 8;
    /// A start that is not expected and falls short of `frameStartThreshold` but passes this is
    /// taken too, on trial: in the trough of a spin fade a real "HI HI" scored 10 to 13 on the
    /// tuning seeds. Such a frame is given only once its first two rows both bear it out, each
    /// by `weakRowDigitEvidence`, and it gives up sooner on rows that sound a group off
    /// (`weakShiftedFrameGain`).
    double weakFrameStartThreshold = 10;
    /// The first row's four row digits, where the decoded path puts them, must score this much
    /// (nats, against random keying) for the frame to be given at all.
    double rowDigitEvidence = 16;
    /// The same for each of the first two rows of a frame whose start was weak. With 16, weak
    /// starts matched on noise doubled the digits written wrong at -17 dB; the fade's frames
    /// are heard well once out of the trough, and pass 24 as easily.
    double weakRowDigitEvidence = 24;
    /// A row is given only when its row digits, where the decoded path puts them, beat the
    /// likeliest other digits at their places by this much (nats, over the row).
    double rowDigitMargin = 0;
    /// A later row is given only when its row digits, where the decoded path puts them, are
    /// this much likelier than random keying (nats, over the row): where they are not heard at
    /// all, the channel has lost the beacon or the path its place, and the digits there are not
    /// the ones keyed.
    double laterRowEvidence = 0;
    /// A frame stops giving rows once its rows' row digits, summed over the frame so far, sound
    /// this much (nats) more like those of the same rows a group or more off. On 96 plain tuning
    /// passes of three frames at -16 and -15 dB, frames placed right reached 8.3 at most; the two
    /// matched off, with 44 wrong digits, reached 12.2 and 24 at -16 dB.
    double shiftedFrameGain = 10;
    /// The same for a frame whose start was weak: without it, a weak start matched a group
    /// late gave a whole frame of rows a group off at -16 dB.
    double weakShiftedFrameGain = 3;
    /// A frame's first row whose row digits sound this much (nats) more like those of the row a
    /// group or more off is held back until the second row bears the frame out. The first row
    /// of a frame matched two groups late gained 3.4 at -16 dB and 4.3 at -15 dB; on the tuning
    /// seeds, holding such rows back cost no digit.
    double doubtfulFirstRowGain = 3;
    /// Units after a frame's end within which the next frame's "HI HI" is expected.
    int nextFrameWithinUnits = 40;
    /// Chance that a group starts a quarter unit early (and as much, late): the unit clock is
    /// read to about a thousandth, and a frame is over a thousand units long.
    double groupSlipChance = 0.15;
    /// Quarter units either side of where "HI HI" puts the first group.
    int firstGroupSlack = 2;
    /// Where the tone swings and fades, how sure a digit is depends less on its own likelihoods
    /// than on how well its row is heard: in a row heard well every character's place is sure,
    /// in a row heard in fades a digit's likelihoods may be those of sound from elsewhere. Its
    /// log-odds against each other digit are scaled along this line of the row's value digits'
    /// mean key-down signal-to-noise (dB). Such a row's mean goes up by about 0.9 dB a dB of
    /// input, with little spread, so a line in it is nearly a line in the input's level. Heard at
    /// several tones and with the level bending with the fade, digits of rows heard well are surer
    /// than their likelihoods say. On 384 impaired tuning passes (18,432 value digits a level) this
    /// line wrote `x` for 1.75 % of the digits at -5 dB (3.5 % with the likelihoods and line before
    /// it), with at most 0.125 % written wrong at any level from -12 to -4 dB; a steeper one writes
    /// more wrong at -7 and -6 dB, where pairs of neighbouring digits are mistaken together ("86"
    /// for "95").
    ConfidencePowerLine swingingConfidencePower{0.5, 0.35, 8, 14};
    /// Where the tone holds still, a digit heard well is surer than its likelihoods say (on the
    /// tuning seeds at -13 dB, all 145 digits given 0.9 to 0.99 were right), and one heard weakly
    /// about as sure: its log-odds are scaled along this line of its key-down units' mean
    /// signal-to-noise (dB); it is held beyond 12 dB, past what digits reach there. It was the
    /// line of least log loss (1 + 0.05 per dB) over 90,000 digits of plain, qrm and 35 wpm
    /// tuning audio from -18 to -10 dB while a character's phase followed the tracker's tone;
    /// with the phase held, digits heard well are surer still, and this steeper line wrote `x`
    /// for 1.09 % of the digits of 144 plain tuning passes at -13 dB instead of 1.21 %, with as
    /// many written wrong from -16 to -14 dB within a digit or two.
    ConfidencePowerLine steadyConfidencePower{0.9, 0.09, 3, 12};
    /// A steady digit's power is scaled by this in a row whose value digits' mean key-down
    /// signal-to-noise is under `weakRowSnrDb`: such a row may be placed a group off, its digits'
    /// sound that of others. On the tuning seeds, the digits of such rows fitted best (least log
    /// loss) a power of 0.85 to 0.88, where their own signal-to-noise gave about 1 to 1.1; with
    /// 0.8 the digits written wrong at -17 dB fell from 25 to 16 of 16,128 (plain and qrm); on
    /// other tuning seeds from 0.20 % to 0.17 % (plain) and 0.14 % to 0.13 % (qrm), with no change
    /// from -15 dB up.
    double weakRowPowerShare = 0.8;
    double weakRowSnrDb = 4.5;
    /// Start ticks less likely than this share of the likeliest are dropped.
    double pruneShare = 1e-13;
};

/// One character of a frame as decoded.
struct DecodedCharacter {
    char best = 0;
    double confidence = 0;  ///< posterior probability of `best`
    std::int64_t startTick = 0;
    double unitSnr = 0;  ///< mean signal-to-noise of its key-down unit windows; 0 when not heard
    /// Set by the channel, which knows the clock of the ticks and the tone followed.
    double startSeconds = 0;
    double snrDb = 0;  ///< `unitSnr` spread over 3 kHz
    double toneHz = 0;
};

/// A row of a frame as decoded.
struct DecodedRow {
    int row = 0;
    std::array<DecodedCharacter, kCharactersPerRow> characters{};
    int groupsHeard = kGroupsPerRow;  ///< fewer when the input ended inside the row
};

/// Something the decoder found: a frame's start ("HI HI" heard at a tick) or a row.
struct DecodedPart {
    bool frameStart = false;
    std::int64_t frameStartTick = 0;
    double frameStartSeconds = 0;  ///< set by the channel, which knows the clock of the ticks
    DecodedRow row;
};
using DecodedFrameParts = std::vector<DecodedPart>;

/// Finds frames and decodes their characters from unit likelihoods: a frame starts where
/// "HI HI 1" is far likelier than random keying; then a forward-backward pass over the frame's
/// grammar (24 groups of a known row digit and two digits, the gaps between them, a quarter-unit
/// slip allowed at each group) gives every value digit its posterior probability.
class FrameDecoder {
public:
    explicit FrameDecoder(const FrameDecoderParams& params = {});

    /// Looks for the next frame from `tick` on.
    void SearchFrom(std::int64_t tick);
    /// A frame start before `tick` is expected: a weaker one is taken.
    void ExpectFrameBefore(std::int64_t tick) { m_expectedBeforeTick = tick; }
    std::int64_t ExpectedBeforeTick() const { return m_expectedBeforeTick; }
    /// Goes as far as the likelihoods allow and appends what completed to `parts`.
    void Advance(const UnitLikelihoods& likelihoods, DecodedFrameParts& parts);
    /// The input has ended: the rows begun are given with what was heard of them.
    void Finish(const UnitLikelihoods& likelihoods, DecodedFrameParts& parts);

    bool InFrame() const { return m_inFrame; }
    /// The frame in progress has given its start and rows.
    bool FrameGiven() const { return m_inFrame && m_confirmed; }
    /// The earliest tick still needed.
    std::int64_t OldestTickNeeded() const;
    /// Where the search for a frame has got to.
    std::int64_t SearchTick() const { return m_searchTick; }

private:
    /// Probabilities of a character starting at each tick, scaled to a maximum of 1.
    struct Lattice {
        std::int64_t first = 0;
        std::vector<double> chance;
        double At(std::int64_t tick) const {
            return tick >= first && tick < first + static_cast<std::int64_t>(chance.size())
                       ? chance[static_cast<std::size_t>(tick - first)]
                       : 0.0;
        }
        std::int64_t End() const { return first + static_cast<std::int64_t>(chance.size()); }
    };

    /// Looks for a frame start; true when one was found.
    bool Search(const UnitLikelihoods& likelihoods);
    double StartScore(const UnitLikelihoods& likelihoods, std::int64_t tick) const;
    /// Where the frame found at `tick` starts: a word earlier where its "HI HI" is the second
    /// "HI" and the first group.
    std::int64_t WordEarlierIfLate(const UnitLikelihoods& likelihoods, std::int64_t tick) const;
    void StartFrame(std::int64_t tick);
    bool CanStep(const UnitLikelihoods& likelihoods) const;
    void Step(const UnitLikelihoods& likelihoods);
    /// The frame's last group ends in silence that no later character bounds: every end of it
    /// is heard as key up up to the latest, so that a longer last digit does not win merely by
    /// claiming more of that silence than a shorter one.
    static Lattice SilenceToCommonEnd(const UnitLikelihoods& likelihoods, const Lattice& ends);
    void EmitRow(const UnitLikelihoods& likelihoods, int row, int groupsHeard,
                 DecodedFrameParts& parts);
    void EndFrame();
    /// Whether a row's row digits, where the decoded path puts them, are `evidenceNeeded` nats
    /// likelier than random keying and beat the other digits there.
    bool RowDigitsStandOut(const UnitLikelihoods& likelihoods, const DecodedRow& row,
                           double evidenceNeeded) const;
    /// Gives the row just decoded (the last of `parts`), or drops it. Until the frame is
    /// confirmed, a row must confirm it, and the frame's start is then put before its first
    /// row; a first row that does not bear out a clear "HI HI" is held back, and the second
    /// row may confirm the frame instead. False when the frame was dropped and the search
    /// starts again just after its start.
    bool GiveRow(const UnitLikelihoods& likelihoods, DecodedFrameParts& parts);
    /// Takes the row just emitted out of `parts` until a later row bears the frame out. True,
    /// for `GiveRow` to pass on.
    bool HoldFirstRow(DecodedFrameParts& parts);
    /// Drops the row just emitted and the frame with it; the search starts again just after the
    /// frame's start. False, for `GiveRow` to pass on.
    bool GiveUpFrame(DecodedFrameParts& parts);

    FrameDecoderParams m_params;
    bool m_inFrame = false;
    bool m_inputEnded = false;  ///< no more likelihoods will come
    std::int64_t m_searchTick = 0;
    std::int64_t m_candidateTick = -1;
    std::int64_t m_expectedBeforeTick = 0;
    double m_candidateScore = 0;
    std::int64_t m_frameTick = 0;
    std::int64_t m_foundTick = 0;  ///< where "HI HI" was found; a word later than m_frameTick
                                   ///< where listening began inside it
    double m_frameStartScore = 0;
    bool m_weakStart = false;  ///< found below `frameStartThreshold` where none was expected
    bool m_confirmed = false;
    double m_shiftedGain = 0;  ///< `ShiftedRowGain` summed over the frame's rows so far
    std::optional<DecodedPart> m_heldFirstRow;
    std::vector<Lattice> m_alpha;       ///< m_alpha[c]: where character c starts
    std::vector<double> m_scoreOffset;  ///< the score subtracted before exponentiating, per step
    int m_rowsEmitted = 0;
    std::vector<double> m_scores;  ///< scratch: scores of one step
};

}  // namespace ao07::audio
