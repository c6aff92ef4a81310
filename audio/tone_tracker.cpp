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
    : m_params(params), m_rateHz(basebandRateHz) {
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
    m_driftHzPerSecond = 0;
    m_recent.assign(static_cast<std::size_t>(m_params.windowSamples), {});
    m_hopsMeasured = 0;
    m_noiseBinPower = 0;
    // Silent hops fill the look-ahead, so that the output keeps the input's count of samples.
    if (m_pending.empty()) {
        for (int i = 0; i < m_params.smoothingHops; ++i) {
            Hop silent;
            silent.samples.assign(static_cast<std::size_t>(m_params.hopSamples), {});
            silent.mixerToneHz = silent.measuredHz = toneHz;
            m_pending.push_back(std::move(silent));
        }
    } else {
        for (Hop& hop : m_pending) {
            hop.weight = 0;
        }
    }
}

double ToneTracker::DelaySeconds() const {
    return m_params.smoothingHops * m_params.hopSamples / m_rateHz;
}

void ToneTracker::Measure(Hop& hop) {
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

    const double hopSeconds = m_params.hopSamples / m_rateHz;
    const double predictedOffsetHz =
        m_smoothedHz + m_driftHzPerSecond * m_params.smoothingHops * hopSeconds - hop.mixerToneHz;

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
    const double noiseStep = std::max(hopSeconds / m_params.noiseAveragingSeconds,
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
    hop.measuredHz = hop.mixerToneHz + (bestBin + shift) * binHz;
    hop.peakOverNoise = bestPower / std::max(m_noiseBinPower, 1e-30);
    // The first hops see the filters filling up and a window still partly empty.
    const bool settled = m_hopsMeasured > m_params.settlingHops;
    hop.weight = settled ? std::max(hop.peakOverNoise - m_params.peakThreshold, 0.0) : 0.0;
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

    // The hop `half` hops back is smoothed over those before and after it, so that a drift
    // adds no lag; the prediction from before stands in where the tone is not heard.
    const auto half = static_cast<std::size_t>(m_params.smoothingHops);
    const std::size_t middle = m_pending.size() - 1 - half;
    const double hopSeconds = m_params.hopSamples / m_rateHz;
    const double predicted = m_smoothedHz + m_driftHzPerSecond * hopSeconds;
    double weighted = m_params.holdWeight * predicted;
    double total = m_params.holdWeight;
    for (const Hop& near : m_pending) {
        weighted += near.weight * near.measuredHz;
        total += near.weight;
    }
    const double smoothed = weighted / total;
    // The drift is learnt only while the tone is clearly heard: in noise it would wander.
    if (total - m_params.holdWeight >= m_params.learnDriftWeight) {
        const double rateStep = hopSeconds / m_params.rateAveragingSeconds;
        m_driftHzPerSecond +=
            rateStep * ((smoothed - m_smoothedHz) / hopSeconds - m_driftHzPerSecond);
        m_driftHzPerSecond = std::clamp(m_driftHzPerSecond, -m_params.largestDriftHzPerSecond,
                                        m_params.largestDriftHzPerSecond);
    }
    m_smoothedHz = smoothed;
    const double target =
        m_smoothedHz + m_driftHzPerSecond * static_cast<double>(half) * hopSeconds;
    m_steeredHz += hopSeconds / m_params.steerSeconds * (target - m_steeredHz);

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
    if (m_pending.size() == 2 * half + 1) {
        m_pending.pop_front();
    }
    return tracked;
}

}  // namespace ao07::audio
