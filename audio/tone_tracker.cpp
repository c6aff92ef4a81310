#include "audio/tone_tracker.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "audio/liquid_dsp.h"
#include "audio/peak_between_bins.h"

namespace ao07::audio {
namespace {

// The median of exponentially distributed powers is ln 2 of their mean.
constexpr double kMedianOverMean = std::numbers::ln2;

MotionParams Steady(MotionParams motion, double share) {
    motion.wobbleHz *= share;
    motion.toneJitterHz *= share;
    motion.driftChangeHzPerSecondSquared *= share;
    return motion;
}

/// Log-likelihood of a peak `innovation` Hz from where a filter expected the tone, with
/// `variance` expected, when a share of peaks are noise anywhere within `reachHz`.
double PeakLogLikelihood(double innovation, double variance, double strayShare, double reachHz) {
    const double tone = std::exp(-innovation * innovation / (2 * variance)) /
                        std::sqrt(2 * std::numbers::pi * variance);
    return std::log((1 - strayShare) * tone + strayShare / (2 * reachHz));
}

}  // namespace

ToneTracker::ToneTracker(double basebandRateHz, double toneHz, const TrackerParams& params)
    : m_params(params),
      m_rateHz(basebandRateHz),
      m_hopSeconds(params.hopSamples / basebandRateHz),
      m_motion{ToneMotion(m_hopSeconds, params.motion),
               ToneMotion(m_hopSeconds, Steady(params.motion, params.steadyShare))},
      m_modelKeep(std::exp(-m_hopSeconds / params.modelMemorySeconds)) {
    const auto window = static_cast<std::size_t>(params.windowSamples);
    m_window.resize(window);
    for (std::size_t i = 0; i < window; ++i) {
        m_window[i] = static_cast<float>(
            0.5 - 0.5 * std::cos(2 * std::numbers::pi * (i + 0.5) / params.windowSamples));
        m_windowPower += m_window[i] * m_window[i];
    }
    const auto size = static_cast<std::size_t>(params.fftSize);
    m_fftIn = reinterpret_cast<std::complex<float>*>(fftwf_alloc_complex(size));
    m_fftOut = reinterpret_cast<std::complex<float>*>(fftwf_alloc_complex(size));
    m_plan =
        fftwf_plan_dft_1d(params.fftSize, reinterpret_cast<fftwf_complex*>(m_fftIn),
                          reinterpret_cast<fftwf_complex*>(m_fftOut), FFTW_FORWARD, FFTW_ESTIMATE);
    m_turn = nco_crcf_create(LIQUID_NCO);
    Retune(toneHz);
}

ToneTracker::~ToneTracker() {
    fftwf_destroy_plan(m_plan);
    fftwf_free(m_fftIn);
    fftwf_free(m_fftOut);
    nco_crcf_destroy(m_turn);
}

void ToneTracker::Retune(double toneHz) {
    m_smoothedHz = m_steeredHz = toneHz;
    m_recent.assign(static_cast<std::size_t>(m_params.windowSamples), {});
    m_hopsMeasured = 0;
    m_noiseBinPower = 0;
    // Silent hops fill the look-ahead, so that the output keeps the input's count of samples.
    if (m_pending.empty()) {
        for (int i = 0; i < m_params.lookAheadHops; ++i) {
            Hop silent;
            silent.samples.assign(static_cast<std::size_t>(m_params.hopSamples), {});
            silent.mixerToneHz = toneHz;
            m_pending.push_back(std::move(silent));
        }
    }
    // Where the tone was found is known to a few bins; where it goes, not at all.
    m_steadyOverSwinging = 0;
    for (int model = 0; model < kModels; ++model) {
        ToneMotion::State state = m_motion[model].Start(toneHz, m_params.searchHz / 2);
        for (Hop& hop : m_pending) {
            hop.predicted[model] = hop.filtered[model] = state;
            state = m_motion[model].Predict(state);
        }
        m_state[model] = m_pending.back().filtered[model];
    }
}

double ToneTracker::DelaySeconds() const {
    return m_params.lookAheadHops * m_hopSeconds;
}

void ToneTracker::Measure(Hop& hop) {
    for (int model = 0; model < kModels; ++model) {
        hop.predicted[model] = m_motion[model].Predict(m_state[model]);
        hop.filtered[model] = hop.predicted[model];
    }
    const ToneMotion::State& expected = hop.predicted[Following()];
    const auto size = static_cast<std::size_t>(m_params.fftSize);
    for (std::size_t i = 0; i < size; ++i) {
        m_fftIn[i] = i < m_window.size() ? m_recent[i] * m_window[i] : std::complex<float>{};
    }
    fftwf_execute(m_plan);
    const double binHz = m_rateHz / m_params.fftSize;
    auto binOf = [&](double offsetHz) {
        const auto bin = static_cast<long>(std::lround(offsetHz / binHz));
        return static_cast<std::size_t>((bin % m_params.fftSize + m_params.fftSize) %
                                        m_params.fftSize);
    };
    auto power = [&](std::size_t bin) { return static_cast<double>(std::norm(m_fftOut[bin])); };

    const double predictedOffsetHz = expected.Hz() - hop.mixerToneHz;
    std::vector<double> noise;
    for (int k = -m_params.fftSize / 2; k < m_params.fftSize / 2; ++k) {
        const double distance = std::abs(k * binHz - predictedOffsetHz);
        if (distance >= m_params.noiseFromHz && distance <= m_params.noiseToHz) {
            noise.push_back(power(binOf(k * binHz)));
        }
    }
    std::nth_element(noise.begin(), noise.begin() + static_cast<std::ptrdiff_t>(noise.size() / 2),
                     noise.end());
    const double noiseMean = noise[noise.size() / 2] / kMedianOverMean;
    // A plain mean until the averaging time is filled, then an exponential one.
    ++m_hopsMeasured;
    const double noiseStep = std::max(m_hopSeconds / m_params.noiseAveragingSeconds,
                                      1.0 / static_cast<double>(m_hopsMeasured));
    m_noiseBinPower += noiseStep * (noiseMean - m_noiseBinPower);

    const auto reach = static_cast<int>(std::ceil(m_params.searchHz / binHz));
    const auto centre = static_cast<int>(std::lround(predictedOffsetHz / binHz));
    int bestBin = centre;
    double bestPower = -1;
    for (int k = centre - reach; k <= centre + reach; ++k) {
        if (power(binOf(k * binHz)) > bestPower) {
            bestPower = power(binOf(k * binHz));
            bestBin = k;
        }
    }
    // A parabola through the peak and its neighbours places the tone between bins.
    const double left = power(binOf((bestBin - 1) * binHz));
    const double right = power(binOf((bestBin + 1) * binHz));
    const double measuredHz =
        hop.mixerToneHz + (bestBin + PeakShiftBins(left, bestPower, right)) * binHz;
    hop.peakOverNoise = bestPower / std::max(m_noiseBinPower, 1e-30);
    // The first hops see the filters filling up and a window still partly empty.
    const bool settled = m_hopsMeasured > m_params.settlingHops;
    if (settled && hop.peakOverNoise >= m_params.usablePeakOverNoise) {
        const double spread =
            m_params.peakSpreadHz * m_params.peakSpreadHz / (hop.peakOverNoise - 1);
        // A weak peak is the tone's only where the tone is expected; noise peaks fall anywhere.
        const bool clear = hop.peakOverNoise >= m_params.clearPeakOverNoise;
        std::array<double, kModels> likelihood{};
        for (int model = 0; model < kModels; ++model) {
            const ToneMotion::State& predicted = hop.predicted[model];
            const double innovation = measuredHz - predicted.Hz();
            const double variance = predicted.Variance() + spread;
            likelihood[model] =
                PeakLogLikelihood(innovation, variance, m_params.strayPeakShare, m_params.searchHz);
            if (innovation * innovation <= m_params.gateSpreads * m_params.gateSpreads * variance &&
                (clear || std::abs(innovation) <= m_params.weakPeakReachHz)) {
                ToneMotion::State& filtered = hop.filtered[model];
                filtered = m_motion[model].Update(predicted, measuredHz, spread);
                filtered.x[1] = std::clamp(filtered.x[1], -m_params.largestDriftHzPerSecond,
                                           m_params.largestDriftHzPerSecond);
            }
        }
        m_steadyOverSwinging =
            m_modelKeep * m_steadyOverSwinging + likelihood[kSteady] - likelihood[kSwinging];
        // The steady filter may have settled on noise before the keying began, or the swinging
        // one have lost a tone gone still: started again where the other has the tone, the lost
        // one can win back as soon as the tone moves its way.
        if (std::abs(m_steadyOverSwinging) > m_params.lostFilterNats) {
            const Model best = Following();
            const Model lost = best == kSteady ? kSwinging : kSteady;
            m_steadyOverSwinging = std::copysign(m_params.lostFilterNats, m_steadyOverSwinging);
            const ToneMotion::State& from = hop.filtered[best];
            hop.filtered[lost] = m_motion[lost].Start(from.Hz(), std::sqrt(from.Variance()));
            hop.filtered[lost].x[1] = from.x[1];
        }
    }
    m_state = hop.filtered;
}

ToneMotion::Vector ToneTracker::Smoothed() const {
    const auto half = static_cast<std::size_t>(m_params.lookAheadHops);
    const std::size_t middle = m_pending.size() - 1 - half;
    const Model model = Following();
    ToneMotion::Vector later = m_pending.back().filtered[model].x;
    for (std::size_t k = m_pending.size() - 1; k-- > middle;) {
        later = m_motion[model].Smooth(m_pending[k].filtered[model],
                                       m_pending[k + 1].predicted[model], later);
    }
    return later;
}

TrackedHop ToneTracker::Process(std::span<const std::complex<float>> samples, double mixerToneHz,
                                std::vector<std::complex<float>>& out) {
    m_recent.erase(m_recent.begin(),
                   m_recent.begin() + static_cast<std::ptrdiff_t>(samples.size()));
    m_recent.insert(m_recent.end(), samples.begin(), samples.end());
    Hop hop;
    hop.samples.assign(samples.begin(), samples.end());
    hop.mixerToneHz = mixerToneHz;
    Measure(hop);
    m_pending.push_back(std::move(hop));

    // The hop `half` hops back is settled with the hops heard after it, so that neither a
    // drift nor the wobble adds a lag.
    const auto half = static_cast<std::size_t>(m_params.lookAheadHops);
    const std::size_t middle = m_pending.size() - 1 - half;
    const ToneMotion::Vector smoothed = Smoothed();
    // A measurement describes the middle of its window; the hop turned is the window's newest.
    const double windowToHop = (m_params.windowSamples - m_params.hopSamples) / 2.0 / m_rateHz;
    m_smoothedHz = smoothed[0] + smoothed[2] + windowToHop * (smoothed[1] + smoothed[3]);
    m_steeredHz += m_hopSeconds / m_params.steerSeconds * (m_state[Following()].Hz() - m_steeredHz);

    const Hop& leaving = m_pending[middle];
    nco_crcf_set_frequency(
        m_turn,
        static_cast<float>(2 * std::numbers::pi * (m_smoothedHz - leaving.mixerToneHz) / m_rateHz));
    const std::size_t start = out.size();
    out.insert(out.end(), leaving.samples.begin(), leaving.samples.end());
    nco_crcf_mix_block_down(m_turn, out.data() + start, out.data() + start,
                            static_cast<unsigned int>(leaving.samples.size()));
    TrackedHop tracked;
    tracked.toneHz = m_smoothedHz;
    tracked.noiseVariance = m_noiseBinPower / m_windowPower;
    tracked.peakOverNoise = leaving.peakOverNoise;
    tracked.steady = Following() == kSteady;
    // Only the look-ahead is needed for the next hop's pass.
    if (m_pending.size() == half + 1) {
        m_pending.pop_front();
    }
    return tracked;
}

}  // namespace ao07::audio
