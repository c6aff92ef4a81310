#include "audio/unit_timing.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ao07::audio {

UnitTiming::UnitTiming(double basebandRateHz, const TimingParams& params)
    : m_params(params), m_rateHz(basebandRateHz) {
    const auto values =
        static_cast<int>(params.windowSeconds * basebandRateHz / params.envelopeStep);
    // Four times zero-padded, so that the strongest bin is within a quarter of the line.
    m_fftSize = 1;
    while (m_fftSize < 4 * values) {
        m_fftSize *= 2;
    }
    m_fftIn = fftwf_alloc_real(static_cast<std::size_t>(m_fftSize));
    m_fftOut = reinterpret_cast<std::complex<float>*>(
        fftwf_alloc_complex(static_cast<std::size_t>(m_fftSize / 2 + 1)));
    m_plan = fftwf_plan_dft_r2c_1d(m_fftSize, m_fftIn, reinterpret_cast<fftwf_complex*>(m_fftOut),
                                   FFTW_ESTIMATE);
}

UnitTiming::~UnitTiming() {
    fftwf_destroy_plan(m_plan);
    fftwf_free(m_fftIn);
    fftwf_free(m_fftOut);
}

void UnitTiming::Process(std::span<const std::complex<float>> samples) {
    const auto width = static_cast<std::size_t>(m_params.smoothingSamples);
    const auto keep =
        static_cast<std::size_t>(m_params.windowSeconds * m_rateHz / m_params.envelopeStep);
    for (const std::complex<float> sample : samples) {
        m_recent.push_back(sample);
        m_runningSum += sample;
        if (m_recent.size() > width) {
            m_runningSum -= m_recent.front();
            m_recent.pop_front();
        }
        ++m_samplesSeen;
        if (m_samplesSeen % m_params.envelopeStep == 0) {
            // The complex sum itself, not its power: the change across an edge is then the
            // signal's step plus noise whose size does not depend on the key, so that the
            // edges alone make the rhythm (the power's noise grows with the key down, which
            // would add a line at half the unit's rate).
            m_envelope.push_back(m_runningSum);
            if (m_envelope.size() > keep) {
                m_envelope.pop_front();
                ++m_envelopeFirst;
            }
        }
    }
    // The running sum is renewed now and then, so that rounding cannot pile up in it.
    if (m_recent.size() == width &&
        static_cast<std::size_t>(m_samplesSeen % 4096) < samples.size()) {
        m_runningSum = {};
        for (const std::complex<float> sample : m_recent) {
            m_runningSum += sample;
        }
    }
}

double UnitTiming::LinePower(const std::vector<float>& edges, double cyclesPerValue,
                             std::complex<double>* line) const {
    std::complex<double> sum{};
    const std::complex<double> step = std::polar(1.0, -2 * std::numbers::pi * cyclesPerValue);
    std::complex<double> turn = 1.0;
    for (std::size_t i = 0; i < edges.size(); ++i) {
        sum += turn * static_cast<double>(edges[i]);
        turn *= step;
        if (i % 256 == 255) {
            turn /= std::abs(turn);
        }
    }
    if (line != nullptr) {
        *line = sum;
    }
    return std::norm(sum);
}

double UnitTiming::SecondsHeard() const {
    return static_cast<double>(m_envelope.size()) * m_params.envelopeStep / m_rateHz;
}

std::optional<UnitClock> UnitTiming::Estimate() {
    const double envelopeRateHz = m_rateHz / m_params.envelopeStep;
    if (m_envelope.size() < m_params.minimumSeconds * envelopeRateHz) {
        return std::nullopt;
    }
    // The squared symmetric change of the tone peaks at every edge of the key.
    std::vector<float> edges(m_envelope.size(), 0.0f);
    double mean = 0;
    for (std::size_t i = 1; i + 1 < m_envelope.size(); ++i) {
        edges[i] = std::norm(m_envelope[i + 1] - m_envelope[i - 1]);
        mean += edges[i];
    }
    mean /= static_cast<double>(edges.size());
    for (float& edge : edges) {
        edge -= static_cast<float>(mean);
    }
    std::fill(m_fftIn, m_fftIn + m_fftSize, 0.0f);
    std::copy(edges.begin(), edges.end(), m_fftIn);
    fftwf_execute(m_plan);

    const double binHz = envelopeRateHz / m_fftSize;
    const auto low = static_cast<std::size_t>(1.0 / m_params.slowestUnitSeconds / binHz);
    const auto high = static_cast<std::size_t>(1.0 / m_params.fastestUnitSeconds / binHz) + 1;
    std::vector<double> power(high + 1, 0.0);
    for (std::size_t k = 1; k <= high; ++k) {
        power[k] = std::norm(m_fftOut[k]);
    }
    std::size_t best = low;
    for (std::size_t k = low; k <= high; ++k) {
        if (power[k] > power[best]) {
            best = k;
        }
    }
    std::vector<double> band(power.begin() + static_cast<std::ptrdiff_t>(low), power.end());
    std::nth_element(band.begin(), band.begin() + static_cast<std::ptrdiff_t>(band.size() / 2),
                     band.end());
    const double median = std::max(band[band.size() / 2], 1e-30);
    // A rhythm at a whole fraction of the strongest, strong enough, is the unit itself.
    for (int divisor = 5; divisor >= 2; --divisor) {
        const auto lower =
            static_cast<std::size_t>(std::lround(static_cast<double>(best) / divisor));
        if (lower < low) {
            continue;
        }
        std::size_t peak = lower;
        for (std::size_t k = lower > 2 ? lower - 2 : 1; k <= lower + 2; ++k) {
            if (power[k] > power[peak]) {
                peak = k;
            }
        }
        if (power[peak] >= m_params.fundamentalShare * power[best] &&
            power[peak] >= m_params.fundamentalOverMedian * median) {
            best = peak;
            break;
        }
    }

    // The line's frequency refined between bins by a golden-section search on its power.
    double a = (static_cast<double>(best) - 1) * binHz / envelopeRateHz;
    double b = (static_cast<double>(best) + 1) * binHz / envelopeRateHz;
    const double ratio = (std::sqrt(5.0) - 1) / 2;
    double c = b - ratio * (b - a);
    double d = a + ratio * (b - a);
    double powerC = LinePower(edges, c);
    double powerD = LinePower(edges, d);
    for (int i = 0; i < 24; ++i) {
        if (powerC > powerD) {
            b = d;
            d = c;
            powerD = powerC;
            c = b - ratio * (b - a);
            powerC = LinePower(edges, c);
        } else {
            a = c;
            c = d;
            powerC = powerD;
            d = a + ratio * (b - a);
            powerD = LinePower(edges, d);
        }
    }
    const double cycles = (a + b) / 2;
    std::complex<double> line;
    const double linePower = LinePower(edges, cycles, &line);

    UnitClock clock;
    clock.unitSamples = m_params.envelopeStep / cycles;
    clock.strength = linePower / median;
    // The edges sit where the line's phase says, counted in envelope values from the first
    // kept; an envelope value stands for the baseband samples summed before it, whose middle
    // lies half the smoothing back.
    const double edgeValue = -std::arg(line) / (2 * std::numbers::pi * cycles);
    const double envelopeEndSample =
        static_cast<double>(m_envelopeFirst + 1) * m_params.envelopeStep - 1;
    clock.boundarySample = envelopeEndSample + edgeValue * m_params.envelopeStep -
                           (m_params.smoothingSamples - 1) / 2.0;
    return clock;
}

}  // namespace ao07::audio
