#pragma once

#include <array>
#include <cmath>
#include <complex>
#include <cstdint>
#include <deque>
#include <span>
#include <utility>
#include <vector>

#include "audio/unit_timing.h"

struct fftwf_plan_s;

namespace ao07::audio {

/// Quarter units are the steps at which characters may start: the clock's phase is known to
/// a fraction of a unit, and a quarter keeps every unit window within an eighth of the truth.
inline constexpr int kTicksPerUnit = 4;

struct LikelihoodParams {
    double amplitudeWindowSeconds = 1.5;  ///< centred; short beside a spin fade of seconds
    /// Where the tone swings the key-down level is fitted over a longer window: a fade's trough
    /// holds few key-down windows heard well (at -5 dB in impaired tuning audio, 2.0 s against
    /// 1.5 s wrote `x` for about 0.3 percentage points fewer digits).
    double swingingAmplitudeWindowSeconds = 2.0;
    double keyDownShare = 0.3;     ///< the strongest windows: nearly all key-down
    int amplitudeBlockTicks = 16;  ///< the amplitude is worked out once per block
    /// The key-down amplitude is never taken below this share of the noise in a unit: the
    /// likelihoods stay finite where the tone is lost.
    double smallestUnitSnr = 0.1;
    /// No unit window says more than this (nats) either way: where the model fails (the tone
    /// lost for a moment, the amplitude misjudged) one window must not outweigh its neighbours,
    /// and a digit's confidence stays honest.
    double largestUnitLlr = 6;
    /// How far the tone's phase wanders in a unit (radians squared) where the tracker holds the
    /// tone steady: little enough for the phase to carry through a character. Where the tone
    /// swings it does not carry, and each unit is heard on its own. With the tone placed again
    /// over each window, the phase of key-down units at -13 dB on the tuning seeds differed
    /// from one unit to ten units later by no more than the noise makes it; 0.02 gave as few
    /// `x` and more digits wrong at 35 wpm.
    double steadyPhaseVariancePerUnit = 0.04;
    /// A unit heard with the phase carried from the units before it tells more, and more
    /// surely: its limit, where the tone is steady.
    double largestCarriedUnitLlr = 10;
    /// The tone is placed again over each amplitude window, this near the tracker's (Hz): on a
    /// tone that holds still the tracker wanders by under a hertz.
    double fineSearchHz = 3;
    /// The tracker's tone over a window drifting less than this (Hz a second) is its wander
    /// about a tone that holds still; more is a drift (Doppler), which the tone placed follows.
    double wanderDriftHzPerSecond = 2;
    /// Where the tone swings, the tracker's tone strays by several hertz in a fade's trough,
    /// enough to smear a unit window's tone: a unit is heard at a bank of tones either side of
    /// the tracker's, weighed by a normal spread of the tracker's error. Against
    /// the generator's true tone, half the ticks in the troughs of impaired tuning audio were
    /// more than 6 Hz off; heard this way, best guesses at -7 dB went from 2.60 % to 2.06 % wrong.
    double swingingToneStepHz = 4;    ///< between neighbouring tones of the bank
    int swingingToneSteps = 4;        ///< tones of the bank on either side of the tracker's
    double swingingToneErrorHz = 10;  ///< the spread (standard deviation) of the tones' weights
    /// A unit heard this well (key-down signal over noise) is heard at the tracker's tone alone:
    /// there the tone is right, and the other tones' weight only costs a unit heard well (about
    /// 1.5 nats, enough to write right digits `x` at -3 dB).
    double swingingBankLargestSnr = 5;
    /// Where the tone swings, the key-down level is fitted across the amplitude window as a
    /// curve of this degree: a spin fade bends within a window, and a level held flat overstates
    /// it in a trough. Where the tone holds still a flat level is fitted, as a bend there only
    /// adds noise (more digits `x` at -16 dB).
    int swingingLevelDegree = 2;
    /// The curve's slope and bend are pulled towards a level held flat, by this over the
    /// window's key-down signal-to-noise: where the tone is weak a bend follows the noise, and
    /// frames were lost at -12 and -10 dB.
    double swingingLevelFlatPull = 1;
};

/// The baseband of one listening run as the likelihood blocks see it: turned samples from
/// `firstSample` on, and the noise variance of each tracker hop.
struct TurnedBaseband {
    std::deque<std::complex<float>> samples;
    std::int64_t firstSample = 0;
    std::deque<float> noiseVariance;  ///< one per hop of `hopSamples`
    std::deque<bool> steady;          ///< per hop: the tracker held the tone still
    std::deque<float> toneHz;         ///< per hop: the tone followed
    std::int64_t firstHop = 0;
    int hopSamples = 8;

    std::int64_t EndSample() const {
        return firstSample + static_cast<std::int64_t>(samples.size());
    }
};

/// Per-unit log-likelihood ratios, key down over key up, for a unit window starting at every
/// quarter unit of a clock: non-coherent detection of the tone summed over the window, with the
/// key-down amplitude followed slowly (fading) and the noise from the tracker.
class UnitLikelihoods {
public:
    /// Ticks count from the first quarter-unit boundary at or after `fromSample`.
    UnitLikelihoods(double basebandRateHz, const UnitClock& clock, std::int64_t fromSample,
                    const LikelihoodParams& params = {});
    ~UnitLikelihoods();
    UnitLikelihoods(const UnitLikelihoods&) = delete;
    UnitLikelihoods& operator=(const UnitLikelihoods&) = delete;

    /// Works out what the baseband now allows.
    void Extend(const TurnedBaseband& baseband);
    /// The input has ended: the last ticks get their likelihoods from what their window holds.
    void Finish(const TurnedBaseband& baseband);
    /// Ticks whose likelihood is known: [FirstTick(), ReadyTicks()).
    std::int64_t ReadyTicks() const { return m_readyTicks; }
    std::int64_t FirstTick() const { return m_firstTick; }
    /// Log-likelihood ratio of the unit window starting at `tick`, key down over key up. A unit
    /// past the end of the input (ReadyTicks() once it has ended) says nothing: here, and in the
    /// scores and signal-to-noise below, it counts 0.
    double Llr(std::int64_t tick) const;
    /// Log-likelihood ratio, key down over key up, of the key-down units of a character keyed
    /// from `tick` (each run: its first unit and its length), all taken together: the tone's
    /// phase is carried from one unit to the next, blurred as far as it wanders between them.
    /// Where it wanders much this is the sum of their Llr(); where it holds, up to the gain of
    /// hearing the whole character as one tone.
    double KeyDownScore(std::int64_t tick, std::span<const std::pair<int, int>> keyDowns) const;
    /// Log-likelihood of the unit window at `tick` under key up, over keying at random (key
    /// down as often as up): a path of characters scores every unit it spans by this, and its
    /// key-down units by Llr() besides, so that paths of different lengths compare fairly.
    double KeyUpScore(std::int64_t tick) const {
        return tick < m_readyTicks ? m_keyUpScore[static_cast<std::size_t>(tick - m_firstTick)]
                                   : 0.0;
    }
    /// The tracker held the tone still over the tick at `tick`.
    bool Steady(std::int64_t tick) const {
        return m_tickSteady[static_cast<std::size_t>(tick - m_firstTick)];
    }
    /// Key-down signal over noise of a unit window at `tick` (power ratio).
    double UnitSnr(std::int64_t tick) const;
    /// Baseband sample index where `tick` starts.
    double TickSample(std::int64_t tick) const { return m_originSample + tick * m_tickSamples; }
    double TickSamples() const { return m_tickSamples; }
    /// The tick in which baseband sample `sample` lies.
    std::int64_t TickAt(double sample) const {
        return static_cast<std::int64_t>(std::floor((sample - m_originSample) / m_tickSamples));
    }
    /// Forgets ticks before `tick`.
    void Forget(std::int64_t tick);

private:
    /// Likelihoods of the block's ticks before `end`.
    void ComputeAmplitudes(std::int64_t block, std::int64_t end);
    /// Log-likelihood ratio, key down over key up, of the unit window at `tick` whose tone
    /// swings: averaged over the tones about the tracker's.
    double SwingingLlr(std::int64_t tick, double signal, double unitNoise) const;

    /// The tone over a window of ticks, as a line: its offset from `m_referenceHz` at the
    /// window's centre and its drift.
    struct PlacedTone {
        double centreTick = 0;
        double offsetHz = 0;
        double driftHzPerTick = 0;
        bool fromWindow = false;  ///< false: no window was heard, the tracker's tone holds
    };
    /// Places the tone over the ticks [from, to) within `fineSearchHz` of the tracker's.
    PlacedTone PlaceTone(std::int64_t from, std::int64_t to);
    /// The turn of `tick`'s sum from the tracker's tone, which turned the samples, onto `tone`
    /// (none where no window placed it), taken at the tick's middle from `gained` radians at its
    /// start; `gained` moves on by what the tracker's tone gained on `tone` over the tick.
    std::complex<double> TurnOnto(const PlacedTone& tone, std::int64_t tick, double& gained) const;

    LikelihoodParams m_params;
    double m_rateHz;
    double m_referenceHz = 0;          ///< the tracker's tone at the first tick
    std::deque<float> m_tickOffsetHz;  ///< per tick: the tracker's tone less the reference
    /// Radians the tracker's tone gained on the tone placed, at the next block's first tick.
    double m_finePhase = 0;
    /// Scratch: per tick of a block, the turn from the tracker's tone to the tone placed.
    std::vector<std::complex<double>> m_fineTurns;
    int m_fftSize = 0;
    std::complex<float>* m_fftIn = nullptr;
    std::complex<float>* m_fftOut = nullptr;
    fftwf_plan_s* m_plan = nullptr;
    double m_windowTicks;
    double m_swingingWindowTicks;
    double m_tickSamples;
    double m_originSample;
    std::int64_t m_firstTick = 0;
    std::int64_t m_summedTicks = 0;  ///< ticks with their samples summed
    std::int64_t m_readyTicks = 0;
    std::deque<std::complex<float>> m_tickSums;
    std::deque<int> m_tickCounts;
    std::deque<float> m_tickNoise;
    std::deque<bool> m_tickSteady;  ///< the tracker held the tone still
    std::deque<float> m_llr;
    std::deque<float> m_keyUpScore;
    std::deque<float> m_unitSnr;
    /// Each unit window's sum, scaled so that key down over key up is ln I0(|z|) - UnitSnr()
    /// when the phase is unknown and Re(z e^-i phase) - UnitSnr() when it is known.
    std::deque<std::complex<float>> m_phaseEvidence;
    std::vector<float> m_scratch;
    std::vector<float> m_windowPower;  ///< scratch: window powers over their noise
    std::vector<float> m_windowPlace;  ///< scratch: their places across the window, about -1 to 1
    /// Per tone heard where it swings, and per tick of a unit window: the turn onto that tone.
    std::vector<std::array<std::complex<double>, kTicksPerUnit>> m_toneTurns;
    std::vector<double> m_toneWeights;  ///< per tone heard where it swings, summing to 1
};

/// ln I0(x), the modified Bessel function's logarithm (Abramowitz and Stegun 9.8.1, 9.8.2).
double LogBesselI0(double x);

}  // namespace ao07::audio
