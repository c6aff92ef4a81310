#pragma once

#include <complex>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

struct fftwf_plan_s;

namespace ao07::audio {

struct TimingParams {
    int envelopeStep = 4;               ///< baseband samples per envelope value: 125 Hz
    int smoothingSamples = 10;          ///< 20 ms of baseband summed: half a dot at 40 wpm
    double windowSeconds = 40;          ///< the unit clock is read from this much keying
    double minimumSeconds = 8;          ///< a few groups: enough edges to find their rhythm
    double slowestUnitSeconds = 0.16;   ///< 7.5 wpm
    double fastestUnitSeconds = 0.028;  ///< 43 wpm
    /// A lower rhythm at least this strong is the unit, the stronger one a multiple of it.
    double fundamentalShare = 0.5;
    /// ...and stands this far over the band's median: noise alone seldom does.
    double fundamentalOverMedian = 20;
};

/// The unit clock of machine keying: the length of a dot and where a unit boundary falls.
struct UnitClock {
    double unitSamples = 0;     ///< baseband samples of one unit
    double boundarySample = 0;  ///< a baseband sample index (from the first) at a unit boundary
    double strength = 0;        ///< the rhythm's power over the median of the searched band
};

/// Finds the unit clock from the rhythm of the key's edges: the power spectrum (FFTW) of the
/// squared change of the tone's envelope has its lowest strong line at one over the unit,
/// and the line's phase tells where the edges fall.
class UnitTiming {
public:
    UnitTiming(double basebandRateHz, const TimingParams& params = {});
    ~UnitTiming();
    UnitTiming(const UnitTiming&) = delete;
    UnitTiming& operator=(const UnitTiming&) = delete;

    /// Takes the next baseband samples with the tone at 0 Hz.
    void Process(std::span<const std::complex<float>> samples);
    /// The clock of the keying heard in the window so far; none before the minimum time.
    std::optional<UnitClock> Estimate();
    /// Seconds of baseband the window holds: what a clock read now is read from.
    double SecondsHeard() const;

private:
    double LinePower(const std::vector<float>& edges, double cyclesPerValue,
                     std::complex<double>* line = nullptr) const;

    TimingParams m_params;
    double m_rateHz;
    std::deque<std::complex<float>> m_recent;
    std::complex<float> m_runningSum{};
    std::int64_t m_samplesSeen = 0;
    std::deque<std::complex<float>> m_envelope;  ///< sums of the recent baseband
    std::int64_t m_envelopeFirst = 0;            ///< index of m_envelope.front() among all values
    int m_fftSize = 0;
    float* m_fftIn = nullptr;
    std::complex<float>* m_fftOut = nullptr;
    fftwf_plan_s* m_plan = nullptr;
};

}  // namespace ao07::audio
