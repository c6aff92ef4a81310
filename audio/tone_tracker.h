#pragma once

#include <complex>
#include <deque>
#include <optional>
#include <span>
#include <vector>

struct fftwf_plan_s;
struct nco_crcf_s;

namespace ao07::audio {

struct TrackerParams {
    int windowSamples = 32;               ///< 64 ms at 500 Hz: about one dot at 20 wpm
    int fftSize = 64;                     ///< zero-padded to 7.8 Hz bins for a finer peak
    int hopSamples = 8;                   ///< 16 ms: the wobble moves the tone under 2 Hz in a hop
    double searchHz = 45;                 ///< the tone moves less than this between measurements
    double noiseFromHz = 50;              ///< bins this far from the tone hold noise only...
    double noiseToHz = 130;               ///< ...up to here, inside the mixer's flat band
    int smoothingHops = 8;                ///< each side: +-128 ms, centred, so a drift adds no lag
    double holdWeight = 4;                ///< the prediction weighs as one clear measurement
    double peakThreshold = 6;             ///< a dozen noise bins pass this once in 30 hops
    double learnDriftWeight = 24;         ///< weights over the look-ahead: the tone heard clearly
    double largestDriftHzPerSecond = 30;  ///< Doppler on 2 m stays within 20 Hz/s
    double noiseAveragingSeconds = 2;
    int settlingHops = 12;  ///< the mixer's filter and the window fill in this many
    double rateAveragingSeconds = 1;
    double steerSeconds = 0.3;  ///< the mixer follows the tone this slowly
};

/// What the tracker knows about one hop once it leaves its look-ahead.
struct TrackedHop {
    double toneHz = 0;         ///< the smoothed tone
    double noiseVariance = 0;  ///< of one baseband sample, complex
    double peakOverNoise = 0;  ///< the tone's bin power over a noise bin's, this hop
};

/// Follows the tone on short spectra of the baseband (FFTW): the strongest bin near the
/// predicted tone, weighted by how far it stands above the noise, smoothed over a centred
/// window; then turns the baseband by the smoothed tone (liquid-dsp's oscillator) so that
/// the tone sits at 0 Hz.
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
    /// Seconds by which the output lags the input.
    double DelaySeconds() const;
    /// Starts over at `toneHz`, forgetting the tone followed so far.
    void Retune(double toneHz);

private:
    struct Hop {
        std::vector<std::complex<float>> samples;
        double mixerToneHz = 0;
        double measuredHz = 0;
        double weight = 0;
        double peakOverNoise = 0;
    };
    void Measure(Hop& hop);

    TrackerParams m_params;
    double m_rateHz;
    std::vector<float> m_window;
    double m_windowPower = 0;
    std::vector<std::complex<float>> m_recent;
    std::deque<Hop> m_pending;
    std::complex<float>* m_fftIn = nullptr;
    std::complex<float>* m_fftOut = nullptr;
    fftwf_plan_s* m_plan = nullptr;
    nco_crcf_s* m_turn = nullptr;
    double m_smoothedHz = 0;
    double m_driftHzPerSecond = 0;
    double m_steeredHz = 0;
    double m_noiseBinPower = 0;
    std::int64_t m_hopsMeasured = 0;
};

}  // namespace ao07::audio
