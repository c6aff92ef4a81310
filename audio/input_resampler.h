#pragma once

#include <span>
#include <vector>

struct msresamp_rrrf_s;

namespace ao07::audio {

/// The working rate of the engine: the tone lies in 300-1500 Hz, so 8 kHz holds it with room.
inline constexpr double kWorkRateHz = 8000;

struct ResamplerParams {
    /// Images and aliases this far down stay under the quietest noise of a 16-bit recording.
    double stopBandDb = 60;
};

/// Brings samples of any rate to the working rate (liquid-dsp's multi-stage resampler); at the
/// working rate itself it passes them through untouched.
class InputResampler {
public:
    InputResampler(double inputRateHz, const ResamplerParams& params = {});
    ~InputResampler();
    InputResampler(const InputResampler&) = delete;
    InputResampler& operator=(const InputResampler&) = delete;

    /// Appends the resampled `samples` to `out`.
    void Process(std::span<const float> samples, std::vector<float>& out);
    /// Seconds by which the output lags the input.
    double DelaySeconds() const;

private:
    msresamp_rrrf_s* m_resampler = nullptr;  ///< none at the working rate
    double m_ratio = 1;
    std::vector<float> m_input;
    std::vector<float> m_output;
};

}  // namespace ao07::audio
