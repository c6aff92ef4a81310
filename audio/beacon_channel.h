#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "audio/channel_mixer.h"
#include "audio/frame_decoder.h"
#include "audio/tone_tracker.h"
#include "audio/unit_likelihood.h"
#include "audio/unit_timing.h"

namespace ao07::audio {

struct ChannelParams {
    MixerParams mixer;
    TrackerParams tracker;
    TimingParams timing;
    LikelihoodParams likelihood;
    FrameDecoderParams frames;
    double decodeEverySeconds = 0.5;  ///< lines come out within about this of their end
    double retimeEverySeconds = 4;    ///< between frames, the unit clock is read again this often
    /// The rhythm of the key must stand this far over the band's median to be a clock at all.
    double minimumClockStrength = 3;
    /// Until a frame is found, the search for its start reaches back this far: a weak beacon's
    /// clock may be read only after its first "HI HI" has long passed.
    double firstSearchSeconds = 90;
    /// A unit clock read from the first seconds of keying may place the end of a frame a unit or
    /// more from where it falls. A frame found with a clock read from less than
    /// `youngClockSeconds` gives nothing until the clock can be read from `settledClockSeconds`;
    /// where that clock places the frame's end `clockDriftUnits` or more from the first, the
    /// frame is looked for again with it. On the tuning seeds the first clock, read from 9.4 s,
    /// was off by 0.02 to 4 units over a frame, and the first frame of a pass had two to three
    /// times the digits written `x` and wrong of the frames after it.
    double youngClockSeconds = 12;
    double settledClockSeconds = 20;
    double clockDriftUnits = 2;
    /// Baseband kept for a frame in progress: a frame at 8 wpm lasts about 200 s.
    double longestFrameSeconds = 260;
    double heardAveragingSeconds = 3;  ///< how quickly "the tone is heard" follows the tracker
};

/// The chain for one candidate tone: mixer, tracker, unit clock, likelihoods and frame decoder.
class BeaconChannel {
public:
    BeaconChannel(double toneHz, const ChannelParams& params = {});

    /// Takes the next working-rate samples; what was decoded is appended to `parts`.
    void Process(std::span<const float> samples, DecodedFrameParts& parts);
    /// The input has ended.
    void Finish(DecodedFrameParts& parts);
    /// Starts over on another tone; a frame in progress is dropped.
    void Retune(double toneHz);

    double ToneHz() const { return m_toneHz; }
    /// How fast the tone is drifting, by its tracker.
    double DriftHzPerSecond() const { return m_tracker.DriftHzPerSecond(); }
    /// Seconds of a unit by the clock in use; 0 before one was found.
    double UnitSeconds() const;
    /// Key-down tone power over noise power in 3 kHz, lately.
    double SnrDb() const;
    /// How much of the time lately the tone stood out of the noise (0..1).
    double HeardShare() const { return m_heardShare; }
    bool InFrame() const { return m_frames.InFrame(); }
    /// Seconds of the working-rate input at which `tick` starts.
    double TickSeconds(std::int64_t tick) const;
    /// Seconds of working-rate input taken so far.
    double SecondsTaken() const;

private:
    void Decode(DecodedFrameParts& parts);
    /// The clock of the keying heard so far, where its rhythm stands out enough to be one.
    std::optional<UnitClock> StrongClock() const;
    /// Likelihoods on `clock`, and a search for a frame from as far back as the baseband goes.
    void UseClock(const UnitClock& clock);
    /// A frame was found with a clock read from too little keying, and has given nothing yet.
    bool FrameWaitsForClock() const;
    /// Reads the clock again for such a frame, and looks for the frame again with it where the
    /// two clocks place the frame's end far apart.
    void ReadClockAgain();
    /// Gives the parts from `from` on their times, and their characters the signal-to-noise
    /// and tone they were heard at.
    void Place(DecodedFrameParts& parts, std::size_t from) const;
    double SnrDbOf(double unitSnr) const;
    /// The tone followed where `tick` lies.
    double ToneAt(std::int64_t tick) const;
    void Trim();
    /// Where a search for a frame may start: after the last frame, within the timing window.
    std::int64_t SearchFloor() const;

    ChannelParams m_params;
    double m_basebandRateHz;
    ChannelMixer m_mixer;
    ToneTracker m_tracker;
    std::unique_ptr<UnitTiming> m_timing;
    FrameDecoder m_frames;
    std::unique_ptr<UnitLikelihoods> m_likelihoods;
    std::vector<float> m_pending;
    std::vector<std::complex<float>> m_baseband;
    std::vector<std::complex<float>> m_turned;
    TurnedBaseband m_buffer;
    std::int64_t m_hopsDone = 0;
    std::int64_t m_lastDecodeHop = 0;
    std::int64_t m_lastRetimeHop = -1000000;
    std::int64_t m_frameEndSample = 0;
    double m_clockSeconds = 0;  ///< baseband the clock in use was read from
    double m_toneHz;
    double m_heardShare = 0;
};

}  // namespace ao07::audio
