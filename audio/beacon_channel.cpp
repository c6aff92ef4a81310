#include "audio/beacon_channel.h"

#include <algorithm>
#include <cmath>

#include "audio/input_resampler.h"

namespace ao07::audio {
namespace {

// Signal-to-noise is stated in this bandwidth.
constexpr double kSnrBandwidthHz = 3000;

}  // namespace

BeaconChannel::BeaconChannel(double toneHz, const ChannelParams& params)
    : m_params(params),
      m_basebandRateHz(kWorkRateHz / params.mixer.decimation),
      m_mixer(toneHz, params.mixer),
      m_tracker(m_basebandRateHz, toneHz, params.tracker),
      m_timing(std::make_unique<UnitTiming>(m_basebandRateHz, params.timing)),
      m_frames(params.frames),
      m_toneHz(toneHz) {
    m_buffer.hopSamples = params.tracker.hopSamples;
}

void BeaconChannel::Retune(double toneHz) {
    m_toneHz = toneHz;
    m_mixer.SetTone(toneHz);
    m_tracker.Retune(toneHz);
    m_timing = std::make_unique<UnitTiming>(m_basebandRateHz, m_params.timing);
    m_likelihoods.reset();
    m_frames.SearchFrom(0);
    m_frameEndSample = m_buffer.EndSample();
    m_lastRetimeHop = -1000000;
    m_heardShare = 0;
    m_clockSeconds = 0;
}

double BeaconChannel::UnitSeconds() const {
    return m_likelihoods ? m_likelihoods->TickSamples() * kTicksPerUnit / m_basebandRateHz : 0.0;
}

double BeaconChannel::SnrDb() const {
    if (!m_likelihoods || m_likelihoods->ReadyTicks() <= m_likelihoods->FirstTick()) {
        return -99;
    }
    return SnrDbOf(m_likelihoods->UnitSnr(m_likelihoods->ReadyTicks() - 1));
}

double BeaconChannel::SnrDbOf(double unitSnr) const {
    // A unit window's signal-to-noise, spread over 3 kHz instead of the window's bandwidth.
    const double unitSamples = m_likelihoods->TickSamples() * kTicksPerUnit;
    return 10 * std::log10(unitSnr * m_basebandRateHz / (kSnrBandwidthHz * unitSamples));
}

void BeaconChannel::Place(DecodedFrameParts& parts, std::size_t from) const {
    // Ticks become seconds now: the next clock numbers its ticks from elsewhere.
    for (std::size_t i = from; i < parts.size(); ++i) {
        parts[i].frameStartSeconds = TickSeconds(parts[i].frameStartTick);
        for (DecodedCharacter& character : parts[i].row.characters) {
            character.startSeconds = TickSeconds(character.startTick);
            if (character.unitSnr > 0) {
                character.snrDb = SnrDbOf(character.unitSnr);
                character.toneHz = ToneAt(character.startTick);
            }
        }
    }
}

double BeaconChannel::ToneAt(std::int64_t tick) const {
    if (m_buffer.toneHz.empty()) {
        return m_toneHz;
    }
    const auto hop =
        static_cast<std::int64_t>(m_likelihoods->TickSample(tick)) / m_buffer.hopSamples -
        m_buffer.firstHop;
    return m_buffer.toneHz[static_cast<std::size_t>(
        std::clamp<std::int64_t>(hop, 0, static_cast<std::int64_t>(m_buffer.toneHz.size()) - 1))];
}

double BeaconChannel::TickSeconds(std::int64_t tick) const {
    const double sample = m_likelihoods ? m_likelihoods->TickSample(tick) : 0.0;
    return sample / m_basebandRateHz - m_tracker.DelaySeconds() - m_mixer.DelaySeconds();
}

double BeaconChannel::SecondsTaken() const {
    return static_cast<double>(m_hopsDone * m_params.mixer.decimation *
                               m_params.tracker.hopSamples) /
           kWorkRateHz;
}

void BeaconChannel::Process(std::span<const float> samples, DecodedFrameParts& parts) {
    m_pending.insert(m_pending.end(), samples.begin(), samples.end());
    const auto hopInput =
        static_cast<std::size_t>(m_params.mixer.decimation * m_params.tracker.hopSamples);
    const auto decodeHops = static_cast<std::int64_t>(m_params.decodeEverySeconds * kWorkRateHz /
                                                      static_cast<double>(hopInput));
    const double heardStep =
        static_cast<double>(hopInput) / kWorkRateHz / m_params.heardAveragingSeconds;
    std::size_t used = 0;
    while (m_pending.size() - used >= hopInput) {
        m_baseband.clear();
        m_mixer.Process(std::span<const float>(m_pending.data() + used, hopInput), m_baseband);
        used += hopInput;
        m_turned.clear();
        const TrackedHop hop = m_tracker.Process(m_baseband, m_mixer.ToneHz(), m_turned);
        m_mixer.SetTone(m_tracker.SteeredToneHz());
        m_toneHz = hop.toneHz;
        const bool heard = hop.peakOverNoise > m_params.tracker.peakThreshold;
        m_heardShare += heardStep * ((heard ? 1.0 : 0.0) - m_heardShare);
        m_timing->Process(m_turned);
        m_buffer.samples.insert(m_buffer.samples.end(), m_turned.begin(), m_turned.end());
        m_buffer.noiseVariance.push_back(static_cast<float>(hop.noiseVariance));
        m_buffer.steady.push_back(hop.steady);
        m_buffer.toneHz.push_back(static_cast<float>(hop.toneHz));
        ++m_hopsDone;
        if (m_hopsDone - m_lastDecodeHop >= decodeHops) {
            m_lastDecodeHop = m_hopsDone;
            Decode(parts);
        }
    }
    m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(used));
}

void BeaconChannel::Decode(DecodedFrameParts& parts) {
    const auto retimeHops = static_cast<std::int64_t>(
        m_params.retimeEverySeconds * m_basebandRateHz / m_params.tracker.hopSamples);
    if (!m_frames.InFrame() && m_hopsDone - m_lastRetimeHop >= retimeHops) {
        m_lastRetimeHop = m_hopsDone;
        // A better clock may find a frame start the last one missed.
        if (const std::optional<UnitClock> clock = StrongClock()) {
            UseClock(*clock);
        }
    }
    if (FrameWaitsForClock()) {
        if (m_timing->SecondsHeard() < m_params.settledClockSeconds) {
            Trim();
            return;
        }
        ReadClockAgain();
    }
    if (m_likelihoods) {
        m_likelihoods->Extend(m_buffer);
        const std::size_t before = parts.size();
        m_frames.Advance(*m_likelihoods, parts);
        Place(parts, before);
        for (std::size_t i = before; i < parts.size(); ++i) {
            if (!parts[i].frameStart && parts[i].row.row == kFrameRows && !m_frames.InFrame()) {
                m_frameEndSample =
                    static_cast<std::int64_t>(m_likelihoods->TickSample(m_frames.SearchTick()));
            }
        }
    }
    Trim();
}

std::optional<UnitClock> BeaconChannel::StrongClock() const {
    std::optional<UnitClock> clock = m_timing->Estimate();
    if (clock && clock->strength < m_params.minimumClockStrength) {
        clock.reset();
    }
    return clock;
}

void BeaconChannel::UseClock(const UnitClock& clock) {
    // The search starts again from the end of the last frame, as far back as the baseband goes.
    const double expectedBefore =
        m_likelihoods ? m_likelihoods->TickSample(m_frames.ExpectedBeforeTick()) : 0.0;
    m_likelihoods = std::make_unique<UnitLikelihoods>(m_basebandRateHz, clock,
                                                      std::max(SearchFloor(), m_buffer.firstSample),
                                                      m_params.likelihood);
    m_frames.SearchFrom(0);
    m_frames.ExpectFrameBefore(m_likelihoods->TickAt(expectedBefore));
    m_clockSeconds = m_timing->SecondsHeard();
}

bool BeaconChannel::FrameWaitsForClock() const {
    return m_likelihoods && m_frames.InFrame() && !m_frames.FrameGiven() &&
           m_clockSeconds < m_params.youngClockSeconds;
}

void BeaconChannel::ReadClockAgain() {
    // About a frame's length in units: "HI HI" and 24 groups of three digits with their gaps.
    constexpr double kFrameUnits = 1300;
    m_clockSeconds = m_timing->SecondsHeard();
    const std::optional<UnitClock> clock = StrongClock();
    if (!clock) {
        return;
    }
    const double unitSamples = m_likelihoods->TickSamples() * kTicksPerUnit;
    const double driftUnits =
        std::abs(clock->unitSamples - unitSamples) / unitSamples * kFrameUnits;
    if (driftUnits >= m_params.clockDriftUnits) {
        UseClock(*clock);
    }
}

void BeaconChannel::Finish(DecodedFrameParts& parts) {
    if (FrameWaitsForClock()) {
        ReadClockAgain();
    }
    if (m_likelihoods) {
        const std::size_t before = parts.size();
        m_likelihoods->Finish(m_buffer);
        m_frames.Finish(*m_likelihoods, parts);
        Place(parts, before);
    }
}

std::int64_t BeaconChannel::SearchFloor() const {
    const double reach =
        m_frameEndSample == 0 ? m_params.firstSearchSeconds : m_params.timing.windowSeconds;
    return std::max(m_frameEndSample,
                    m_buffer.EndSample() - static_cast<std::int64_t>(reach * m_basebandRateHz));
}

void BeaconChannel::Trim() {
    // Keep the baseband from the oldest tick the decoder needs, less the likelihoods'
    // amplitude window, and never more than the longest frame.
    std::int64_t keepFrom =
        m_buffer.EndSample() -
        static_cast<std::int64_t>(m_params.longestFrameSeconds * m_basebandRateHz);
    const auto amplitudeWindow =
        static_cast<std::int64_t>(std::max(m_params.likelihood.amplitudeWindowSeconds,
                                           m_params.likelihood.swingingAmplitudeWindowSeconds) *
                                  m_basebandRateHz);
    // A search for a frame needs the baseband from its floor, and the window before it.
    const std::int64_t searchedFrom = SearchFloor() - amplitudeWindow;
    if (m_likelihoods && !m_frames.InFrame()) {
        keepFrom = std::max(keepFrom, searchedFrom);
        const std::int64_t needed = m_frames.OldestTickNeeded();
        m_likelihoods->Forget(std::min(needed, m_likelihoods->ReadyTicks()) - 1);
    } else if (m_likelihoods) {
        const std::int64_t needed = m_frames.OldestTickNeeded();
        m_likelihoods->Forget(std::min(needed, m_likelihoods->ReadyTicks()) - 1);
        std::int64_t neededSample = static_cast<std::int64_t>(m_likelihoods->TickSample(
                                        std::min(m_likelihoods->FirstTick(), needed))) -
                                    amplitudeWindow;
        // A frame that waits for a better clock may be looked for again from the search floor.
        if (FrameWaitsForClock()) {
            neededSample = std::min(neededSample, searchedFrom);
        }
        keepFrom = std::max(keepFrom, std::min(neededSample, m_buffer.EndSample()));
    } else {
        // Before a clock is found, what the timing window holds is kept for the first search.
        keepFrom = std::max(keepFrom, SearchFloor());
    }
    while (m_buffer.firstSample < keepFrom && !m_buffer.samples.empty()) {
        m_buffer.samples.pop_front();
        ++m_buffer.firstSample;
    }
    const std::int64_t firstHop = m_buffer.firstSample / m_buffer.hopSamples;
    while (m_buffer.firstHop < firstHop && !m_buffer.noiseVariance.empty()) {
        m_buffer.noiseVariance.pop_front();
        m_buffer.steady.pop_front();
        m_buffer.toneHz.pop_front();
        ++m_buffer.firstHop;
    }
}

}  // namespace ao07::audio
