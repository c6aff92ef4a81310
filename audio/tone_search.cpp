#include "audio/tone_search.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "audio/input_resampler.h"

namespace ao07::audio {

ToneSearch::ToneSearch(const ToneSearchParams& params)
    : m_params(params),
      m_window(static_cast<std::size_t>(params.fftSize)),
      m_average(static_cast<std::size_t>(params.fftSize / 2 + 1), 0.0f) {
    for (int i = 0; i < params.fftSize; ++i) {
        m_window[static_cast<std::size_t>(i)] =
            static_cast<float>(0.5 - 0.5 * std::cos(2 * std::numbers::pi * i / params.fftSize));
    }
    m_in = fftwf_alloc_real(static_cast<std::size_t>(params.fftSize));
    auto* out = fftwf_alloc_complex(static_cast<std::size_t>(params.fftSize / 2 + 1));
    m_out = out;
    m_plan = fftwf_plan_dft_r2c_1d(params.fftSize, m_in, out, FFTW_ESTIMATE);
}

ToneSearch::~ToneSearch() {
    fftwf_destroy_plan(m_plan);
    fftwf_free(m_in);
    fftwf_free(m_out);
}

void ToneSearch::Process(std::span<const float> samples) {
    m_pending.insert(m_pending.end(), samples.begin(), samples.end());
    const auto size = static_cast<std::size_t>(m_params.fftSize);
    const auto hop = static_cast<std::size_t>(m_params.hopSize);
    std::size_t start = 0;
    while (m_pending.size() - start >= size) {
        for (std::size_t i = 0; i < size; ++i) {
            m_in[i] = m_pending[start + i] * m_window[i];
        }
        Transform();
        start += hop;
    }
    m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(start));
}

void ToneSearch::Transform() {
    fftwf_execute(m_plan);
    const double hopSeconds = m_params.hopSize / kWorkRateHz;
    m_secondsAveraged = std::min(m_secondsAveraged + hopSeconds, m_params.averagingSeconds);
    // Until the averaging time is filled, every spectrum so far weighs the same.
    const auto weight = static_cast<float>(hopSeconds / m_secondsAveraged);
    const auto* out = static_cast<const fftwf_complex*>(m_out);
    for (std::size_t k = 0; k < m_average.size(); ++k) {
        const float power = out[k][0] * out[k][0] + out[k][1] * out[k][1];
        m_average[k] += weight * (power - m_average[k]);
    }
}

std::vector<ToneCandidate> ToneSearch::Candidates(int count) const {
    const double binHz = kWorkRateHz / m_params.fftSize;
    const auto low = static_cast<std::size_t>(m_params.lowestHz / binHz);
    const auto high = static_cast<std::size_t>(m_params.highestHz / binHz);
    const auto half = static_cast<std::size_t>(m_params.peakHalfWidthBins);
    std::vector<float> band(m_average.begin() + static_cast<std::ptrdiff_t>(low),
                            m_average.begin() + static_cast<std::ptrdiff_t>(high));
    std::nth_element(band.begin(), band.begin() + static_cast<std::ptrdiff_t>(band.size() / 2),
                     band.end());
    const double floorPower = std::max(1e-30, static_cast<double>(band[band.size() / 2]));

    // Power summed over a few bins, so that a tone smeared by drift still stands out.
    std::vector<double> summed(m_average.size(), 0.0);
    for (std::size_t k = low; k < high; ++k) {
        for (std::size_t j = k - half; j <= k + half; ++j) {
            summed[k] += m_average[j];
        }
    }
    std::vector<ToneCandidate> found;
    std::vector<double> taken;
    for (int n = 0; n < count; ++n) {
        std::size_t best = 0;
        double bestPower = 0;
        for (std::size_t k = low; k < high; ++k) {
            const double hz = static_cast<double>(k) * binHz;
            const bool nearTaken = std::any_of(taken.begin(), taken.end(), [&](double t) {
                return std::abs(t - hz) < m_params.minimumSeparationHz;
            });
            if (!nearTaken && summed[k] > bestPower) {
                bestPower = summed[k];
                best = k;
            }
        }
        if (best == 0) {
            break;
        }
        // The power-weighted centre of the peak's bins places a smeared tone in its middle.
        double weighted = 0;
        double total = 0;
        for (std::size_t j = best - half; j <= best + half; ++j) {
            weighted += static_cast<double>(j) * m_average[j];
            total += m_average[j];
        }
        const double hz = weighted / total * binHz;
        taken.push_back(hz);
        found.push_back({hz, bestPower / ((2.0 * half + 1) * floorPower)});
    }
    return found;
}

}  // namespace ao07::audio
