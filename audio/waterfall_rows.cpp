#include "audio/waterfall_rows.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace ao07::audio {
namespace {

// Below this a bin reads this: silence would otherwise give minus infinity.
constexpr float kFloorDb = -160.0f;

std::size_t TransformLength(const SpectrumSettings& settings) {
    std::size_t length = 64;
    while (settings.sampleRateHz / static_cast<double>(length) > settings.binHz) {
        length *= 2;
    }
    return length;
}

}  // namespace

struct SpectrumRows::Impl {
    explicit Impl(const SpectrumSettings& settings, RowSink rowSink)
        : sink(std::move(rowSink)), length(TransformLength(settings)) {
        binHz = settings.sampleRateHz / static_cast<double>(length);
        firstBin = static_cast<std::size_t>(std::floor(settings.lowHz / binHz));
        const auto lastBin =
            std::min(static_cast<std::size_t>(std::ceil(settings.highHz / binHz)), length / 2);
        binCount = lastBin >= firstBin ? lastBin - firstBin + 1 : 0;
        hop = std::max<std::size_t>(
            1, static_cast<std::size_t>(std::lround(settings.rowSeconds * settings.sampleRateHz)));

        // A Hann window: its side lobes fall fast enough that a strong tone does not smear
        // over the whole band.
        window.resize(length);
        double windowSum = 0;
        for (std::size_t i = 0; i < length; ++i) {
            window[i] = static_cast<float>(
                0.5 - 0.5 * std::cos(2 * std::numbers::pi * static_cast<double>(i) /
                                     static_cast<double>(length)));
            windowSum += window[i];
        }
        // A sine of amplitude A gives |X| = A * sum(w) / 2 in its bin.
        scale = static_cast<float>(2.0 / windowSum);

        history.assign(length, 0.0f);
        input = fftwf_alloc_real(length);
        output = fftwf_alloc_complex(length / 2 + 1);
        plan = fftwf_plan_dft_r2c_1d(static_cast<int>(length), input, output, FFTW_ESTIMATE);
        row.resize(binCount);
    }

    ~Impl() {
        fftwf_destroy_plan(plan);
        fftwf_free(input);
        fftwf_free(output);
    }

    void EmitRow() {
        // The newest `length` samples, oldest first, as they lie in the ring from `next` on.
        for (std::size_t i = 0; i < length; ++i) {
            input[i] = history[(next + i) % length] * window[i];
        }
        fftwf_execute(plan);
        for (std::size_t bin = 0; bin < binCount; ++bin) {
            const fftwf_complex& value = output[firstBin + bin];
            const float magnitude = std::hypot(value[0], value[1]) * scale;
            row[bin] = magnitude > 0 ? std::max(kFloorDb, 20.0f * std::log10(magnitude)) : kFloorDb;
        }
        sink(row);
    }

    RowSink sink;
    std::size_t length;
    double binHz = 0;
    std::size_t firstBin = 0;
    std::size_t binCount = 0;
    std::size_t hop = 1;
    float scale = 1;
    std::vector<float> window;
    std::vector<float> history;  ///< the last `length` samples, a ring
    std::size_t next = 0;        ///< where the next sample goes in the ring
    std::size_t sinceRow = 0;    ///< samples taken since the last row
    std::vector<float> row;
    float* input = nullptr;
    fftwf_complex* output = nullptr;
    fftwf_plan plan = nullptr;
};

SpectrumRows::SpectrumRows(const SpectrumSettings& settings, RowSink sink)
    : m_impl(std::make_unique<Impl>(settings, std::move(sink))) {}

SpectrumRows::~SpectrumRows() = default;

void SpectrumRows::Push(std::span<const float> samples) {
    Impl& d = *m_impl;
    for (const float sample : samples) {
        d.history[d.next] = sample;
        d.next = (d.next + 1) % d.length;
        if (++d.sinceRow == d.hop) {
            d.sinceRow = 0;
            d.EmitRow();
        }
    }
}

std::size_t SpectrumRows::BinCount() const {
    return m_impl->binCount;
}

double SpectrumRows::FirstBinHz() const {
    return static_cast<double>(m_impl->firstBin) * m_impl->binHz;
}

double SpectrumRows::BinHz() const {
    return m_impl->binHz;
}

}  // namespace ao07::audio
