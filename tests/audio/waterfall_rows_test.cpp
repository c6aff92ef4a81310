#include "audio/waterfall_rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace ao07::audio {
namespace {

// A tone shows in the row as a peak at its frequency, at its level in dB of full scale, and
// rows come at the settings' pace whatever the rate.
TEST(SpectrumRows, ToneShowsAtItsFrequencyAndLevel) {
    struct Case {
        double rateHz;
        double toneHz;
        double amplitude;
    };
    const Case cases[] = {
        {8000, 800, 1.0},
        {8000, 1500, 0.1},
        {48000, 250, 0.5},
        {11025, 1990, 0.01},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.toneHz);
        SpectrumSettings settings;
        settings.sampleRateHz = c.rateHz;
        std::vector<std::vector<float>> rows;
        SpectrumRows spectrum(settings, [&rows](std::span<const float> row) {
            rows.emplace_back(row.begin(), row.end());
        });
        std::vector<float> second(static_cast<std::size_t>(c.rateHz));
        for (std::size_t i = 0; i < second.size(); ++i) {
            second[i] =
                static_cast<float>(c.amplitude * std::sin(2 * std::numbers::pi * c.toneHz *
                                                          static_cast<double>(i) / c.rateHz));
        }
        spectrum.Push(second);

        ASSERT_EQ(rows.size(), 20u);  // a row every 50 ms
        EXPECT_LE(spectrum.FirstBinHz(), settings.lowHz);
        EXPECT_GE(spectrum.FirstBinHz() + spectrum.BinHz() * (spectrum.BinCount() - 1),
                  settings.highHz);
        EXPECT_LE(spectrum.BinHz(), settings.binHz);
        const std::vector<float>& last = rows.back();
        ASSERT_EQ(last.size(), spectrum.BinCount());
        const auto peak = std::max_element(last.begin(), last.end()) - last.begin();
        const double peakHz = spectrum.FirstBinHz() + spectrum.BinHz() * static_cast<double>(peak);
        EXPECT_NEAR(peakHz, c.toneHz, spectrum.BinHz());
        // Between bins a Hann window loses at most 1.5 dB.
        EXPECT_NEAR(last[static_cast<std::size_t>(peak)], 20 * std::log10(c.amplitude), 1.5);
        EXPECT_LT(last.front(), -60);
    }
}

}  // namespace
}  // namespace ao07::audio
