#include "audio/tone_tracker.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "audio/liquid_dsp.h"

namespace ao07::audio {
namespace {

// The median of exponentially distributed powers is ln 2 of their mean.
constexpr double kMedianOverMean = std::numbers::ln2;

}  // namespace

ToneTracker::ToneTracker(double basebandRateHz, double toneHz, const TrackerParams& params)
    : m_params(params),
      m_rateHz(basebandRateHz),
      m_hopSeconds(params.hopSamples / basebandRateHz),
      m_motion(m_hopSeconds, params.motion) {
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
    ToneMotion::State state = m_motion.Start(toneHz, m_params.searchHz / 2);
    for (Hop& hop : m_pending) {
        hop.predicted = hop.filtered = state;
        hop.used = false;
        state = m_motion.Predict(state);
    }
    m_state = m_pending.back().filtered;
}

double ToneTracker::DelaySeconds() const {
    return m_params.lookAheadHops * m_hopSeconds;
}

void ToneTracker::Measure(Hop& hop) {
    hop.predicted = m_motion.Predict(m_state);
    hop.filtered = hop.predicted;
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

    const double predictedOffsetHz = hop.predicted.Hz() - hop.mixerToneHz;
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
    const double curvature = left - 2 * bestPower + right;
    const double shift =
        curvature < 0 ? std::clamp(0.5 * (left - right) / curvature, -0.5, 0.5) : 0.0;
    const double measuredHz = hop.mixerToneHz + (bestBin + shift) * binHz;
    hop.peakOverNoise = bestPower / std::max(m_noiseBinPower, 1e-30);
    // The first hops see the filters filling up and a window still partly empty.
    const bool settled = m_hopsMeasured > m_params.settlingHops;
    if (settled && hop.peakOverNoise >= m_params.usablePeakOverNoise) {
        const double spread =
            m_params.peakSpreadHz * m_params.peakSpreadHz / (hop.peakOverNoise - 1);
        const double innovation = measuredHz - hop.predicted.Hz();
        const double expected = hop.predicted.Variance() + spread;
        // A weak peak is the tone's only where the tone is expected; noise peaks fall anywhere.
        const bool clear = hop.peakOverNoise >= m_params.clearPeakOverNoise;
        if (innovation * innovation <= m_params.gateSpreads * m_params.gateSpreads * expected &&
            (clear || std::abs(innovation) <= m_params.weakPeakReachHz)) {
            hop.filtered = m_motion.Update(hop.predicted, measuredHz, spread);
            hop.filtered.x[1] = std::clamp(hop.filtered.x[1], -m_params.largestDriftHzPerSecond,
                                           m_params.largestDriftHzPerSecond);
            hop.used = true;
        }
    }
    m_state = hop.filtered;
}

ToneMotion::Vector ToneTracker::Smoothed() const {
    const auto half = static_cast<std::size_t>(m_params.lookAheadHops);
    const std::size_t middle = m_pending.size() - 1 - half;
    ToneMotion::Vector later = m_pending.back().filtered.x;
    for (std::size_t k = m_pending.size() - 1; k-- > middle;) {
        later = m_motion.Smooth(m_pending[k].filtered, m_pending[k + 1].predicted, later);
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
    m_steeredHz += m_hopSeconds / m_params.steerSeconds * (m_state.Hz() - m_steeredHz);

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
    // Only the look-ahead is needed for the next hop's pass.
    if (m_pending.size() == half + 1) {
        m_pending.pop_front();
    }
    return tracked;
}

}  // namespace ao07::audio
