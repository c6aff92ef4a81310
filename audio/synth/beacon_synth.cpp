#include "audio/synth/beacon_synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ao07::audio::synth {
namespace {

// The noise bandwidth in which signal-to-noise is stated.
constexpr double kSnrBandwidthHz = 3000;

double DbToPower(double db) {
    return std::pow(10.0, db / 10.0);
}

/// Fraction of `seconds` during which the key is down.
double DutyCycle(const std::vector<KeyDown>& keyDowns, double seconds) {
    double down = 0;
    for (const KeyDown& key : keyDowns) {
        down += std::max(0.0, std::min(key.endSeconds, seconds) - key.startSeconds);
    }
    return seconds > 0 ? down / seconds : 0;
}

}  // namespace

BeaconSynth::BeaconSynth(const SynthSettings& settings, std::vector<BeaconFrame> frames)
    : m_settings(settings),
      m_random(settings.seed),
      m_beacon(settings.wordsPerMinute),
      m_interferer(settings.interferer.wordsPerMinute) {
    m_beacon.Skip(settings.leadSeconds / m_beacon.UnitSeconds());
    for (BeaconFrame& frame : frames) {
        m_sent.push_back({m_beacon.EndSeconds(), frame});
        const std::vector<std::string> words = FrameWords(frame);
        for (std::size_t i = 0; i < words.size(); ++i) {
            const bool last = i + 1 == words.size();
            m_beacon.AddWord(words[i],
                             last ? m_random.Below(settings.maxExtraFrameGapUnits + 1) : 0);
        }
    }
    const double totalSeconds = m_beacon.EndSeconds() + settings.tailSeconds;
    m_totalSamples = static_cast<std::int64_t>(std::ceil(totalSeconds * settings.sampleRateHz));

    if (settings.interferer.present) {
        while (m_interferer.EndSeconds() < totalSeconds) {
            std::size_t start = 0;
            const std::string& text = settings.interferer.text;
            while (start < text.size()) {
                const std::size_t end = std::min(text.find(' ', start), text.size());
                m_interferer.AddWord(text.substr(start, end - start));
                start = end + 1;
            }
            // A pause between calls, as an operator leaves.
            m_interferer.Skip(14);
        }
    }

    // The beacon's key-down amplitude is 1 (power 1/2); noise and the other station are set
    // against it, then the whole mix is scaled to the asked level.
    const double tonePower = 0.5;
    const double noisePowerIn3k = tonePower / DbToPower(settings.snrDb);
    m_noiseSigma = settings.noise
                       ? std::sqrt(noisePowerIn3k * (settings.sampleRateHz / 2) / kSnrBandwidthHz)
                       : 0.0;
    m_interfererAmplitude =
        settings.interferer.present ? std::sqrt(DbToPower(settings.interferer.levelDb)) : 0.0;
    const double meanFadePower =
        settings.fadeDepthDb > 0 ? (1.0 + DbToPower(-settings.fadeDepthDb)) / 2 : 1.0;
    const double mixPower =
        tonePower * DutyCycle(m_beacon.KeyDowns(), totalSeconds) * meanFadePower +
        tonePower * m_interfererAmplitude * m_interfererAmplitude *
            DutyCycle(m_interferer.KeyDowns(), totalSeconds) +
        m_noiseSigma * m_noiseSigma;
    m_scale = std::pow(10.0, settings.levelDbfs / 20.0) / std::sqrt(std::max(mixPower, 1e-30));
}

double BeaconSynth::KeyingGain(const std::vector<KeyDown>& keyDowns, std::size_t& next,
                               double t) const {
    const double halfEdge = m_settings.edgeSeconds / 2;
    while (next < keyDowns.size() && keyDowns[next].endSeconds + halfEdge <= t) {
        ++next;
    }
    if (next >= keyDowns.size()) {
        return 0;
    }
    const KeyDown& key = keyDowns[next];
    // Raised-cosine edges centred on the key's instants keep each element's energy in place.
    auto rise = [&](double fromEdge) {
        if (fromEdge <= -halfEdge) {
            return 0.0;
        }
        if (fromEdge >= halfEdge) {
            return 1.0;
        }
        return 0.5 -
               0.5 * std::cos(std::numbers::pi * (fromEdge + halfEdge) / m_settings.edgeSeconds);
    };
    return std::min(rise(t - key.startSeconds), rise(key.endSeconds - t));
}

std::size_t BeaconSynth::Render(std::span<float> out) {
    const double rate = m_settings.sampleRateHz;
    const auto count = static_cast<std::size_t>(
        std::min<std::int64_t>(static_cast<std::int64_t>(out.size()), m_totalSamples - m_position));
    const double fadeDepthAmplitude = 1.0 - std::pow(10.0, -m_settings.fadeDepthDb / 20.0);
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(m_position + static_cast<std::int64_t>(i)) / rate;
        const double beaconToneHz = m_settings.toneHz + m_settings.driftHzPerSecond * t +
                                    m_settings.wobbleHz * std::sin(2 * std::numbers::pi * t /
                                                                   m_settings.wobblePeriodSeconds);
        // The oscillators run on between key-downs, as a keyed transmitter's does.
        m_beaconPhase = std::fmod(m_beaconPhase + 2 * std::numbers::pi * beaconToneHz / rate,
                                  2 * std::numbers::pi);
        const double fade =
            1.0 - fadeDepthAmplitude * (0.5 - 0.5 * std::cos(2 * std::numbers::pi * t /
                                                             m_settings.fadePeriodSeconds));
        double sample =
            fade * KeyingGain(m_beacon.KeyDowns(), m_beaconNext, t) * std::sin(m_beaconPhase);
        if (m_settings.interferer.present) {
            m_interfererPhase = std::fmod(
                m_interfererPhase + 2 * std::numbers::pi *
                                        (m_settings.toneHz + m_settings.interferer.offsetHz) / rate,
                2 * std::numbers::pi);
            sample += m_interfererAmplitude *
                      KeyingGain(m_interferer.KeyDowns(), m_interfererNext, t) *
                      std::sin(m_interfererPhase);
        }
        sample += m_noiseSigma * m_random.Normal();
        out[i] = static_cast<float>(std::clamp(sample * m_scale, -1.0, 1.0));
    }
    m_position += static_cast<std::int64_t>(count);
    return count;
}

}  // namespace ao07::audio::synth
