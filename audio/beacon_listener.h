#pragma once

#include <memory>
#include <span>

#include "audio/listen_events.h"

namespace ao07::audio {

/// Below this confidence a digit is written 'x'. Set where wrong digits stay rarer than 0.2 %
/// on the tuning seeds; the benchmark's seeds are never used to set it.
inline constexpr double kDefaultConfidenceThreshold = 0.98;

/// Hints and thresholds for one listening run. A hint of 0 means "find it out".
struct ListenSettings {
    double sampleRateHz = 8000;     ///< rate of the samples pushed, 8 kHz to 192 kHz
    double toneHintHz = 0;          ///< a hint, not a requirement: the tone is still searched
    double wordsPerMinuteHint = 0;  ///< a hint, not a requirement: the speed is still estimated
    /// A digit whose confidence is below this is written 'x'.
    double confidenceThreshold = kDefaultConfidenceThreshold;
};

/// The engine that copies the beacon: push blocks of mono samples at the settings' rate, at any
/// pace and of any size, and it reports tones, characters, groups and lines through the events.
/// It reads no file and no clock: time is the count of samples pushed.
class BeaconListener {
public:
    BeaconListener(const ListenSettings& settings, ListenEvents& events);
    ~BeaconListener();
    BeaconListener(const BeaconListener&) = delete;
    BeaconListener& operator=(const BeaconListener&) = delete;

    /// Takes the next samples, full scale +-1.
    void Push(std::span<const float> samples);
    /// The input has ended: reports what is still pending.
    void Finish();
    /// The user chose a tone (a click on the waterfall): the engine follows it from there.
    void TuneTo(double toneHz);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace ao07::audio
