#pragma once

#include <complex>
#include <span>
#include <vector>

struct nco_crcf_s;
struct firdecim_crcf_s;

namespace ao07::audio {

struct MixerParams {
    int decimation = 16;  ///< 8 kHz down to 500 Hz: the tone's neighbourhood, +-250 Hz
    double passHz = 200;  ///< flat to here: the tone's wobble and the tracker's noise bins
    double stopHz = 300;  ///< what lies beyond would fold back onto the tone's band
    double stopBandDb = 60;
};

/// Moves the tone to 0 Hz (liquid-dsp's oscillator) and keeps its neighbourhood at a low rate
/// (liquid-dsp's decimating filter, designed by its Kaiser window method).
class ChannelMixer {
public:
    ChannelMixer(double toneHz, const MixerParams& params = {});
    ~ChannelMixer();
    ChannelMixer(const ChannelMixer&) = delete;
    ChannelMixer& operator=(const ChannelMixer&) = delete;

    /// Changes the frequency moved to 0 Hz; the oscillator's phase runs on without a jump.
    void SetTone(double toneHz);
    double ToneHz() const { return m_toneHz; }
    double OutputRateHz() const;
    /// Seconds by which the output lags the input.
    double DelaySeconds() const;

    /// Appends the baseband samples of `samples` (working rate) to `out`.
    void Process(std::span<const float> samples, std::vector<std::complex<float>>& out);

private:
    MixerParams m_params;
    double m_toneHz;
    std::size_t m_taps = 0;
    nco_crcf_s* m_oscillator = nullptr;
    firdecim_crcf_s* m_filter = nullptr;
    std::vector<std::complex<float>> m_mixed;
};

}  // namespace ao07::audio
