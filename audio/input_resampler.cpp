#include "audio/input_resampler.h"

#include <cmath>

#include "audio/liquid_dsp.h"

namespace ao07::audio {

InputResampler::InputResampler(double inputRateHz, const ResamplerParams& params)
    : m_ratio(kWorkRateHz / inputRateHz) {
    if (std::abs(m_ratio - 1.0) > 1e-9) {
        m_resampler = msresamp_rrrf_create(static_cast<float>(m_ratio),
                                           static_cast<float>(params.stopBandDb));
    }
}

InputResampler::~InputResampler() {
    if (m_resampler != nullptr) {
        msresamp_rrrf_destroy(m_resampler);
    }
}

void InputResampler::Process(std::span<const float> samples, std::vector<float>& out) {
    if (m_resampler == nullptr) {
        out.insert(out.end(), samples.begin(), samples.end());
        return;
    }
    m_input.assign(samples.begin(), samples.end());
    // The resampler writes at most ceil(ratio * count) plus a few samples of its stages.
    m_output.resize(static_cast<std::size_t>(std::ceil(m_ratio * samples.size())) + 64);
    unsigned int written = 0;
    msresamp_rrrf_execute(m_resampler, m_input.data(), static_cast<unsigned int>(m_input.size()),
                          m_output.data(), &written);
    out.insert(out.end(), m_output.begin(), m_output.begin() + written);
}

double InputResampler::DelaySeconds() const {
    return m_resampler == nullptr ? 0.0 : msresamp_rrrf_get_delay(m_resampler) / kWorkRateHz;
}

}  // namespace ao07::audio
