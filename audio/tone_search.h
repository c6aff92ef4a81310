#pragma once

#include <span>
#include <vector>

struct fftwf_plan_s;

namespace ao07::audio {

struct ToneSearchParams {
    int fftSize = 2048;  ///< 3.9 Hz bins at 8 kHz: a tone stands far above noise
    int hopSize = 1024;
    double lowestHz = 300;  ///< where the beacon's tone may lie
    double highestHz = 1500;
    double averagingSeconds = 3;      ///< long enough to lift a weak tone out of the noise
    int peakHalfWidthBins = 3;        ///< a drifting tone smears over a few bins in that time
    double minimumSeparationHz = 60;  ///< two candidates closer than this are one tone
};

/// A peak of the averaged spectrum that may be the beacon's tone.
struct ToneCandidate {
    double toneHz = 0;
    double peakOverFloor = 0;  ///< power near the peak over the median power of the band
};

/// Averaged power spectra of the working-rate samples (FFTW), and their strongest peaks.
class ToneSearch {
public:
    explicit ToneSearch(const ToneSearchParams& params = {});
    ~ToneSearch();
    ToneSearch(const ToneSearch&) = delete;
    ToneSearch& operator=(const ToneSearch&) = delete;

    void Process(std::span<const float> samples);
    /// The strongest peaks, strongest first, at most `count`.
    std::vector<ToneCandidate> Candidates(int count) const;
    /// Seconds of samples averaged so far, up to the averaging time.
    double SecondsAveraged() const { return m_secondsAveraged; }
    /// The averaged power of each bin, 0 Hz to half the working rate.
    const std::vector<float>& Spectrum() const { return m_average; }

private:
    void Transform();

    ToneSearchParams m_params;
    std::vector<float> m_window;
    std::vector<float> m_pending;
    float* m_in = nullptr;
    void* m_out = nullptr;
    fftwf_plan_s* m_plan = nullptr;
    std::vector<float> m_average;
    double m_secondsAveraged = 0;
};

}  // namespace ao07::audio
