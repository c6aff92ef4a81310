#include "audio/channel_mixer.h"

#include <numbers>
#include <numeric>

#include "audio/input_resampler.h"
#include "audio/liquid_dsp.h"

namespace ao07::audio {

ChannelMixer::ChannelMixer(double toneHz, const MixerParams& params)
    : m_params(params), m_toneHz(toneHz) {
    const double transition = (params.stopHz - params.passHz) / kWorkRateHz;
    m_taps = estimate_req_filter_len(static_cast<float>(transition),
                                     static_cast<float>(params.stopBandDb));
    std::vector<float> taps(m_taps);
    const double cutoff = (params.passHz + params.stopHz) / 2 / kWorkRateHz;
    liquid_firdes_kaiser(static_cast<unsigned int>(m_taps), static_cast<float>(cutoff),
                         static_cast<float>(params.stopBandDb), 0.0f, taps.data());
    // Unit gain at 0 Hz: the tone keeps its amplitude, whatever the design's scale.
    const float sum = std::accumulate(taps.begin(), taps.end(), 0.0f);
    for (float& tap : taps) {
        tap /= sum;
    }
    m_filter = firdecim_crcf_create(static_cast<unsigned int>(params.decimation), taps.data(),
                                    static_cast<unsigned int>(m_taps));
    m_oscillator = nco_crcf_create(LIQUID_NCO);
    SetTone(toneHz);
}

ChannelMixer::~ChannelMixer() {
    firdecim_crcf_destroy(m_filter);
    nco_crcf_destroy(m_oscillator);
}

void ChannelMixer::SetTone(double toneHz) {
    m_toneHz = toneHz;
    nco_crcf_set_frequency(m_oscillator,
                           static_cast<float>(2 * std::numbers::pi * toneHz / kWorkRateHz));
}

double ChannelMixer::OutputRateHz() const {
    return kWorkRateHz / m_params.decimation;
}

double ChannelMixer::DelaySeconds() const {
    return (static_cast<double>(m_taps) - 1) / 2 / kWorkRateHz;
}

void ChannelMixer::Process(std::span<const float> samples, std::vector<std::complex<float>>& out) {
    const auto decimation = static_cast<std::size_t>(m_params.decimation);
    const std::size_t start = m_mixed.size();
    m_mixed.resize(start + samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        m_mixed[start + i] = samples[i];
    }
    nco_crcf_mix_block_down(m_oscillator, m_mixed.data() + start, m_mixed.data() + start,
                            static_cast<unsigned int>(samples.size()));
    std::size_t used = 0;
    while (m_mixed.size() - used >= decimation) {
        std::complex<float> y;
        firdecim_crcf_execute(m_filter, m_mixed.data() + used, &y);
        out.push_back(y);
        used += decimation;
    }
    m_mixed.erase(m_mixed.begin(), m_mixed.begin() + static_cast<std::ptrdiff_t>(used));
}

}  // namespace ao07::audio
