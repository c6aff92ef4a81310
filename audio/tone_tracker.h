#pragma once

#include <array>
#include <complex>
#include <deque>
#include <optional>
#include <span>
#include <vector>

#include "audio/tone_motion.h"

struct fftwf_plan_s;
struct nco_crcf_s;

namespace ao07::audio {

struct TrackerParams {
    int windowSamples = 32;    ///< 64 ms at 500 Hz: about one dot at 20 wpm
    int fftSize = 64;          ///< zero-padded to 7.8 Hz bins for a finer peak
    int hopSamples = 8;        ///< 16 ms: the wobble moves the tone under 2 Hz in a hop
    double searchHz = 45;      ///< the tone moves less than this from where it is expected
    double noiseFromHz = 50;   ///< bins this far from the tone hold noise only...
    double noiseToHz = 130;    ///< ...up to here, inside the mixer's flat band
    int lookAheadHops = 8;     ///< the tone of a hop is settled with this many later hops heard
    double peakThreshold = 6;  ///< a dozen noise bins pass this once in 30 hops
    /// A peak weaker than this over the noise says too little of where the tone is.
    double usablePeakOverNoise = 5;
    /// A peak this strong is the tone wherever the gate allows; a weaker one only this near.
    double clearPeakOverNoise = 8;
    double weakPeakReachHz = 20;
    /// Spread of one measured peak (Hz) where it stands as far over the noise as the noise
    /// itself: it narrows with the square root of the peak's strength.
    double peakSpreadHz = 14;
    /// A peak further than this many of its expected spreads from the tone is noise.
    double gateSpreads = 3.5;
    MotionParams motion;
    /// A tone that holds still (a stable transmitter) is followed by a second filter that
    /// allows this share of the beacon's swing, jitter and change of drift: its tone stays put
    /// between key-downs, so that the carrier's phase carries from one element to the next.
    double steadyShare = 0.1;
    /// The filter whose predictions have matched the peaks better over about this long
    /// follows the tone.
    double modelMemorySeconds = 5;
    /// A filter whose predictions have matched this much worse (log-likelihood) has lost the
    /// tone, and starts again from the other.
    double lostFilterNats = 20;
    /// Share of usable peaks that are noise, whichever filter is right.
    double strayPeakShare = 0.05;
    double largestDriftHzPerSecond = 30;  ///< Doppler on 2 m stays within 20 Hz/s
    double noiseAveragingSeconds = 2;
    int settlingHops = 12;      ///< the mixer's filter and the window fill in this many
    double steerSeconds = 0.3;  ///< the mixer follows the tone this slowly
};

/// What the tracker knows about one hop once it leaves its look-ahead.
struct TrackedHop {
    double toneHz = 0;         ///< the smoothed tone
    double noiseVariance = 0;  ///< of one baseband sample, complex
    double peakOverNoise = 0;  ///< the tone's bin power over a noise bin's, this hop
    bool steady = false;       ///< the tone holds still, as far as the tracker can tell
};

/// Follows the tone on short spectra of the baseband (FFTW): the strongest bin near where the
/// tone is expected is a measurement, trusted by how far it stands above the noise; a Kalman
/// filter on the tone's drift and wobble (ToneMotion) carries the tone through key-up and fades,
/// and a smoothing pass over the look-ahead settles each hop; then the baseband is turned by that
/// tone (liquid-dsp's oscillator) to sit at 0 Hz.
class ToneTracker {
public:
    ToneTracker(double basebandRateHz, double toneHz, const TrackerParams& params = {});
    ~ToneTracker();
    ToneTracker(const ToneTracker&) = delete;
    ToneTracker& operator=(const ToneTracker&) = delete;

    int HopSamples() const { return m_params.hopSamples; }
    /// Takes one hop of baseband samples mixed down at `mixerToneHz`. The hop that leaves the
    /// look-ahead has its turned samples appended to `out`, and is returned.
    TrackedHop Process(std::span<const std::complex<float>> hop, double mixerToneHz,
                       std::vector<std::complex<float>>& out);
    /// Where the mixer should be now.
    double SteeredToneHz() const { return m_steeredHz; }
    /// The drift of the tone's centre, by the filter that follows it.
    double DriftHzPerSecond() const { return m_state[Following()].x[1]; }
    /// Seconds by which the output lags the input.
    double DelaySeconds() const;
    /// Starts over at `toneHz`, forgetting the tone followed so far.
    void Retune(double toneHz);

private:
    /// The two ways the tone may move: the beacon's swing, or holding still.
    enum Model { kSwinging, kSteady, kModels };
    struct Hop {
        std::vector<std::complex<float>> samples;
        double mixerToneHz = 0;
        double peakOverNoise = 0;
        std::array<ToneMotion::State, kModels> predicted;  ///< before this hop's measurement
        std::array<ToneMotion::State, kModels> filtered;   ///< after it
    };
    /// Measures the peak nearest the prediction and updates the filters with it.
    void Measure(Hop& hop);
    /// The tone's state at the middle of the look-ahead from all the hops held (a fixed-lag
    /// Rauch-Tung-Striebel pass), by the filter that follows the tone.
    ToneMotion::Vector Smoothed() const;
    Model Following() const { return m_steadyOverSwinging > 0 ? kSteady : kSwinging; }

    TrackerParams m_params;
    double m_rateHz;
    double m_hopSeconds;
    std::array<ToneMotion, kModels> m_motion;
    double m_modelKeep;  ///< share of that log-likelihood kept from one hop to the next
    /// Log-likelihood of the peaks lately, steady filter over swinging one.
    double m_steadyOverSwinging = 0;
    std::vector<float> m_window;
    double m_windowPower = 0;
    std::vector<std::complex<float>> m_recent;
    std::deque<Hop> m_pending;
    std::complex<float>* m_fftIn = nullptr;
    std::complex<float>* m_fftOut = nullptr;
    fftwf_plan_s* m_plan = nullptr;
    nco_crcf_s* m_turn = nullptr;
    std::array<ToneMotion::State, kModels> m_state;
    double m_smoothedHz = 0;
    double m_steeredHz = 0;
    double m_noiseBinPower = 0;
    std::int64_t m_hopsMeasured = 0;
};

}  // namespace ao07::audio
