#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "audio/synth/beacon_frames.h"
#include "audio/synth/keying_timeline.h"
#include "audio/synth/random_source.h"

namespace ao07::audio::synth {

/// A second CW station on the band, keying ordinary text over and over.
struct InterferingStation {
    bool present = false;
    double offsetHz = 150;  ///< its tone minus the beacon's (unimpaired) tone
    double levelDb = 0;     ///< its key-down power over the beacon's (unfaded) one
    double wordsPerMinute = 18;
    std::string text = "CQ CQ DE DL1ABC DL1ABC K";
};

/// How the beacon audio is made. Signal-to-noise is key-down tone power (unfaded) over the
/// power of white Gaussian noise in 3 kHz, the usual convention of CW decoder tests.
struct SynthSettings {
    double sampleRateHz = 8000;
    double wordsPerMinute = 20;
    double toneHz = 800;
    double snrDb = 10;
    bool noise = true;            ///< false: the tone alone, for clean references
    double driftHzPerSecond = 0;  ///< a steady change of the tone (Doppler)
    double wobbleHz = 0;          ///< peak deviation of a sinusoidal frequency wobble
    double wobblePeriodSeconds = 1;
    double fadeDepthDb = 0;  ///< spin fading: the level swings from 0 down to -depth
    double fadePeriodSeconds = 5;
    InterferingStation interferer;
    double levelDbfs = -20;          ///< about the RMS of the mix; samples beyond +-1 are clipped
    double leadSeconds = 2;          ///< noise before the first frame
    double tailSeconds = 2;          ///< noise after the last frame
    double edgeSeconds = 0.004;      ///< raised-cosine rise and fall of each key-down
    int maxExtraFrameGapUnits = 14;  ///< frames are a word gap plus 0..this many units apart
    std::uint64_t seed = 1;
};

/// A frame as sent, with where its "HI HI" starts: the truth to score a copy against.
struct SentFrame {
    double startSeconds = 0;
    BeaconFrame frame;
};

/// Makes beacon audio block by block, so that recordings of hours take no memory.
class BeaconSynth {
public:
    BeaconSynth(const SynthSettings& settings, std::vector<BeaconFrame> frames);

    const std::vector<SentFrame>& SentFrames() const { return m_sent; }
    /// Number of samples of the whole recording.
    std::int64_t TotalSamples() const { return m_totalSamples; }
    /// Seconds of one unit of the beacon's keying.
    double UnitSeconds() const { return m_beacon.UnitSeconds(); }

    /// Fills `out` with the next samples; returns how many were written (0 at the end).
    std::size_t Render(std::span<float> out);

private:
    double KeyingGain(const std::vector<KeyDown>& keyDowns, std::size_t& next, double t) const;

    SynthSettings m_settings;
    RandomSource m_random;
    KeyingTimeline m_beacon;
    KeyingTimeline m_interferer;
    std::vector<SentFrame> m_sent;
    std::int64_t m_totalSamples = 0;
    std::int64_t m_position = 0;
    std::size_t m_beaconNext = 0;
    std::size_t m_interfererNext = 0;
    double m_beaconPhase = 0;
    double m_interfererPhase = 0;
    double m_noiseSigma = 0;
    double m_interfererAmplitude = 0;
    double m_scale = 1;
};

}  // namespace ao07::audio::synth
