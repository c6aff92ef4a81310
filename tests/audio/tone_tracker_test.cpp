#include "audio/tone_tracker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <vector>

namespace ao07::audio {
namespace {

// The noise the tracker reports is the noise of the baseband: the likelihoods of every unit
// window are scaled by it, and the tracker follows only peaks that stand far enough over it.
TEST(ToneTracker, MeasuresTheNoiseOfTheBaseband) {
    struct Case {
        double noiseVariance;  // of a complex baseband sample
        double toneAmplitude;  // a steady tone at the tracked frequency
        double toneOffsetHz;   // where it sits in the baseband
    };
    const Case cases[] = {
        {1.0, 0.0, 0.0},
        {1e-6, 0.0, 0.0},
        {1.0, 3.0, 0.0},
        {0.01, 0.3, 12.0},
    };
    constexpr double kRateHz = 500;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.noiseVariance);
        ToneTracker tracker(kRateHz, 800 + c.toneOffsetHz);
        std::mt19937 random(7);
        std::normal_distribution<double> gauss(0, std::sqrt(c.noiseVariance / 2));
        std::vector<std::complex<float>> hop(static_cast<std::size_t>(tracker.HopSamples()));
        std::vector<std::complex<float>> out;
        double reported = 0;
        int averaged = 0;
        std::int64_t n = 0;
        for (int h = 0; h < 3000; ++h) {
            for (std::complex<float>& sample : hop) {
                const double phase = 2 * std::numbers::pi * c.toneOffsetHz * n++ / kRateHz;
                sample = std::complex<float>(
                    static_cast<float>(gauss(random) + c.toneAmplitude * std::cos(phase)),
                    static_cast<float>(gauss(random) + c.toneAmplitude * std::sin(phase)));
            }
            out.clear();
            const TrackedHop tracked = tracker.Process(hop, 800, out);
            if (h >= 500) {
                reported += tracked.noiseVariance;
                ++averaged;
            }
        }
        EXPECT_NEAR(reported / averaged / c.noiseVariance, 1.0, 0.06);
    }
}

}  // namespace
}  // namespace ao07::audio
