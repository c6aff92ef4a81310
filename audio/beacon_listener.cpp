#include "audio/beacon_listener.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <string>

#include "audio/beacon_channel.h"
#include "audio/input_resampler.h"
#include "audio/tone_search.h"

namespace ao07::audio {
namespace {

// Two tones are followed at once: the beacon and, when there is one, the station nearest in
// strength; each decodes, and only the beacon's keying has frames.
constexpr int kChannels = 2;
// The tone search averages this long before the first channel starts: the tone stands clear.
constexpr double kFirstSearchSeconds = 2;
// Working-rate audio kept so that a channel started or moved late hears what it missed: long
// enough for "HI HI" and the unit clock.
constexpr double kReplaySeconds = 20;
// A tone that has drifted further than this over the replayed audio is followed from where it
// was when that audio began.
constexpr double kReplayDriftHz = 25;
// Between frames, every this often a channel that hears nothing is moved to another peak.
constexpr double kRecheckSeconds = 4;
// A channel that heard its tone this little of the time lately has lost it.
constexpr double kLostHeardShare = 0.05;
// A channel that decoded a frame this recently keeps its tone, whatever the spectrum shows.
constexpr double kKeepAfterFrameSeconds = 120;
// A tone is found when heard this much of the time (key-down is about half of the beacon's).
constexpr double kFoundHeardShare = 0.25;
// A peak of the averaged spectrum must stand this far over the band's median to be followed.
constexpr double kCandidatePeakOverFloor = 2;
// Channels closer than this follow one tone.
constexpr double kSameToneHz = 40;
// The beacon keys one frame at a time, and the shortest takes about 990 units: "HI HI", and 24
// groups of the shortest digit ("5", nine units) with their gaps. A frame starting within this
// many units of one given is that frame, or not the beacon's.
constexpr double kShortestFrameUnits = 960;
// Frames given lately that a channel's frame start is checked against.
constexpr std::size_t kFramesRemembered = 8;
// The estimates are reported at least this often.
constexpr double kReportEverySeconds = 1;

/// The tone and signal-to-noise of `group` of `row` as its characters were heard: rows come
/// out seconds after they were keyed, and the last of a recording only at its end.
void HearGroupAt(const DecodedRow& row, int group, SignalEstimate& signal) {
    double snr = 0;
    double toneHz = 0;
    int heard = 0;
    for (int i = 0; i < kCharactersPerGroup; ++i) {
        const DecodedCharacter& character =
            row.characters[static_cast<std::size_t>(group * kCharactersPerGroup + i)];
        if (character.unitSnr > 0) {
            snr += std::pow(10.0, character.snrDb / 10);
            toneHz += character.toneHz;
            ++heard;
        }
    }
    if (heard > 0) {
        signal.snrDb = 10 * std::log10(snr / heard);
        signal.toneHz = toneHz / heard;
    }
}

}  // namespace

struct BeaconListener::Impl {
    Impl(const ListenSettings& settings, ListenEvents& events)
        : settings(settings), events(events), resampler(settings.sampleRateHz) {}

    /// A channel and where its time starts.
    struct Follower {
        std::unique_ptr<BeaconChannel> channel;
        double startSeconds = 0;  ///< working-rate time of the channel's first sample
        double lastFrameSeconds = -1e300;
        bool echo = false;          ///< its current frame is one already given
        bool copyingFrame = false;  ///< its frame in progress is being given
    };

    void Push(std::span<const float> samples);
    void Finish();
    void StartOrMoveChannels();
    /// Puts channel `index` (a new one at the end) on `toneHz`, replaying the recent audio.
    void Follow(std::size_t index, double toneHz);
    void Deliver(std::size_t index, const DecodedFrameParts& parts);
    void Report(bool force);
    SignalEstimate Estimate(const BeaconChannel* channel) const;

    ListenSettings settings;
    ListenEvents& events;
    InputResampler resampler;
    ToneSearch search;
    std::vector<Follower> channels;
    /// Where the latest frames given start (working-rate seconds), whichever channel gave them.
    std::deque<double> framesGiven;
    std::size_t primary = 0;
    bool toneHeard = false;
    std::vector<float> work;
    std::deque<float> replay;
    double workSeconds = 0;
    double secondsIn = 0;
    double lastRecheck = 0;
    double lastReport = -1;
    double levelDbfs = -200;
    bool clipping = false;
};

SignalEstimate BeaconListener::Impl::Estimate(const BeaconChannel* channel) const {
    SignalEstimate estimate;
    estimate.timeSeconds = secondsIn;
    estimate.levelDbfs = levelDbfs;
    estimate.clipping = clipping;
    if (channel != nullptr) {
        estimate.toneHz = channel->ToneHz();
        const double unit = channel->UnitSeconds();
        estimate.wordsPerMinute = unit > 0 ? 1.2 / unit : 0.0;
        estimate.snrDb = channel->SnrDb();
    }
    return estimate;
}

void BeaconListener::Impl::Push(std::span<const float> samples) {
    double power = 0;
    bool clipped = false;
    for (const float sample : samples) {
        power += static_cast<double>(sample) * sample;
        // 16-bit full scale less one step: a recording that touched its limits.
        clipped = clipped || std::abs(sample) >= 32767.0f / 32768.0f;
    }
    if (!samples.empty()) {
        levelDbfs = 10 * std::log10(std::max(power / static_cast<double>(samples.size()), 1e-20));
        clipping = clipped;
    }
    secondsIn += static_cast<double>(samples.size()) / settings.sampleRateHz;

    work.clear();
    resampler.Process(samples, work);
    search.Process(work);
    replay.insert(replay.end(), work.begin(), work.end());
    workSeconds += static_cast<double>(work.size()) / kWorkRateHz;
    const auto keep = static_cast<std::size_t>(kReplaySeconds * kWorkRateHz);
    while (replay.size() > keep) {
        replay.pop_front();
    }
    for (std::size_t i = 0; i < channels.size(); ++i) {
        DecodedFrameParts parts;
        channels[i].channel->Process(work, parts);
        Deliver(i, parts);
        channels[i].copyingFrame = channels[i].copyingFrame && channels[i].channel->InFrame();
    }
    const bool firstLook = channels.empty() && search.SecondsAveraged() >= kFirstSearchSeconds;
    if (firstLook || (!channels.empty() && workSeconds - lastRecheck >= kRecheckSeconds)) {
        lastRecheck = workSeconds;
        StartOrMoveChannels();
    }
    Report(false);
}

void BeaconListener::Impl::Follow(std::size_t index, double toneHz) {
    if (index == channels.size()) {
        channels.emplace_back();
    }
    Follower& follower = channels[index];
    follower.channel = std::make_unique<BeaconChannel>(toneHz);
    follower.startSeconds = workSeconds - static_cast<double>(replay.size()) / kWorkRateHz;
    follower.lastFrameSeconds = -1e300;
    const std::vector<float> history(replay.begin(), replay.end());
    DecodedFrameParts parts;
    follower.channel->Process(history, parts);
    // The tone was found where it is now. A tone that drifted far over the replayed audio was
    // elsewhere when that audio began: the channel hears it again from where the drift puts it.
    const double historySeconds = static_cast<double>(history.size()) / kWorkRateHz;
    const double driftedHz = follower.channel->DriftHzPerSecond() * historySeconds;
    if (std::abs(driftedHz) > kReplayDriftHz) {
        const double startHz = follower.channel->ToneHz() - driftedHz;
        follower.channel = std::make_unique<BeaconChannel>(startHz);
        parts.clear();
        follower.channel->Process(history, parts);
    }
    Deliver(index, parts);
}

void BeaconListener::Impl::StartOrMoveChannels() {
    std::vector<ToneCandidate> candidates = search.Candidates(kChannels + 2);
    std::vector<double> wanted;
    if (channels.empty() && settings.toneHintHz > 0) {
        wanted.push_back(settings.toneHintHz);
    }
    for (const ToneCandidate& candidate : candidates) {
        if (candidate.peakOverFloor >= kCandidatePeakOverFloor &&
            static_cast<int>(wanted.size()) < kChannels) {
            wanted.push_back(candidate.toneHz);
        }
    }
    auto followedBy = [&](double hz) {
        for (std::size_t i = 0; i < channels.size(); ++i) {
            if (std::abs(channels[i].channel->ToneHz() - hz) < kSameToneHz) {
                return static_cast<int>(i);
            }
        }
        return -1;
    };
    for (const double hz : wanted) {
        if (followedBy(hz) >= 0) {
            continue;
        }
        if (static_cast<int>(channels.size()) < kChannels) {
            Follow(channels.size(), hz);
            continue;
        }
        // A channel moves when it is between frames, has not copied a frame lately, and
        // follows no tone that is wanted (or follows the same tone as another channel).
        for (std::size_t i = 0; i < channels.size(); ++i) {
            const Follower& follower = channels[i];
            const double toneHz = follower.channel->ToneHz();
            const bool toneWanted = std::any_of(wanted.begin(), wanted.end(), [&](double w) {
                return std::abs(w - toneHz) < kSameToneHz;
            });
            const bool doubled = followedBy(toneHz) != static_cast<int>(i);
            const bool busy = follower.channel->InFrame() ||
                              workSeconds - follower.lastFrameSeconds < kKeepAfterFrameSeconds;
            if (!busy && (!toneWanted || doubled)) {
                Follow(i, hz);
                break;
            }
        }
    }
}

void BeaconListener::Impl::Deliver(std::size_t index, const DecodedFrameParts& parts) {
    const BeaconChannel& channel = *channels[index].channel;
    // Times in the input: the channel's own time, where it started, less the resampler's lag.
    const double delay = resampler.DelaySeconds() - channels[index].startSeconds;
    for (const DecodedPart& part : parts) {
        if (part.frameStart) {
            Follower& follower = channels[index];
            const double startSeconds = part.frameStartSeconds + follower.startSeconds;
            // A frame is given once: two channels near one strong tone hear the same frames,
            // and a channel started or moved late may find one given and finished since. One
            // that starts inside a frame given is another station's, or noise.
            const double overlapSeconds = kShortestFrameUnits * channel.UnitSeconds();
            follower.echo = std::any_of(framesGiven.begin(), framesGiven.end(), [&](double given) {
                return std::abs(given - startSeconds) < overlapSeconds;
            });
            // A channel that has drifted onto the tone another one is copying hears that
            // frame too, from wherever its own search happened to lock on.
            for (std::size_t other = 0; other < channels.size(); ++other) {
                const BeaconChannel& copying = *channels[other].channel;
                const bool sameTone = std::abs(copying.ToneHz() - channel.ToneHz()) < kSameToneHz;
                follower.echo = follower.echo || (other != index && copying.InFrame() && sameTone &&
                                                  channels[other].copyingFrame);
            }
            if (!follower.echo) {
                framesGiven.push_back(startSeconds);
                if (framesGiven.size() > kFramesRemembered) {
                    framesGiven.pop_front();
                }
            }
        }
        if (channels[index].echo) {
            continue;
        }
        channels[index].copyingFrame = true;
        primary = index;
        if (part.frameStart) {
            channels[index].lastFrameSeconds = workSeconds;
            const double start = part.frameStartSeconds - delay;
            int unit = 0;
            for (const char c : std::string("HIHI")) {
                HeardCharacter heard;
                heard.startSeconds = start + unit * channel.UnitSeconds();
                heard.text = heard.best = c;
                heard.confidence = 1;
                events.CharacterHeard(heard);
                unit += c == 'H' ? 10 : 10;
            }
            HeardLine line;
            line.kind = HeardLineKind::FrameMarker;
            line.startSeconds = start;
            line.text = "HI HI";
            events.LineHeard(line);
            continue;
        }
        const DecodedRow& row = part.row;
        HeardLine line;
        line.kind = HeardLineKind::Row;
        line.row = row.row;
        for (int group = 0; group < kGroupsPerRow; ++group) {
            HeardGroup heardGroup;
            for (int i = 0; i < kCharactersPerGroup; ++i) {
                const DecodedCharacter& decoded =
                    row.characters[static_cast<std::size_t>(group * kCharactersPerGroup + i)];
                HeardCharacter heard;
                heard.startSeconds = decoded.startSeconds - delay;
                heard.best = decoded.best;
                heard.confidence = decoded.confidence;
                // The row digit is set by the group's place in the frame.
                const bool rowDigit = i == 0;
                heard.text = rowDigit || decoded.confidence >= settings.confidenceThreshold
                                 ? decoded.best
                                 : 'x';
                if (group < row.groupsHeard) {
                    events.CharacterHeard(heard);
                }
                if (i == 0) {
                    heardGroup.startSeconds = heard.startSeconds;
                }
                heardGroup.text += heard.text;
                heardGroup.confidence.push_back(rowDigit ? 1.0 : heard.confidence);
            }
            heardGroup.signal = Estimate(&channel);
            heardGroup.signal.timeSeconds = heardGroup.startSeconds;
            HearGroupAt(row, group, heardGroup.signal);
            if (group < row.groupsHeard) {
                events.GroupHeard(heardGroup);
            }
            if (group == 0) {
                line.startSeconds = heardGroup.startSeconds;
            }
            line.text += (group > 0 ? " " : "") + heardGroup.text;
            line.groups.push_back(std::move(heardGroup));
        }
        events.LineHeard(line);
    }
}

void BeaconListener::Impl::Report(bool force) {
    const BeaconChannel* channel = channels.empty() ? nullptr : channels[primary].channel.get();
    const bool heard = channel != nullptr && channel->HeardShare() >= kFoundHeardShare;
    const bool lost = channel == nullptr || channel->HeardShare() < kLostHeardShare;
    if (heard && !toneHeard) {
        toneHeard = true;
        events.ToneFound(Estimate(channel));
    } else if (toneHeard && lost) {
        toneHeard = false;
        events.ToneLost(Estimate(channel));
    }
    if (force || secondsIn - lastReport >= kReportEverySeconds) {
        lastReport = secondsIn;
        events.SignalChanged(Estimate(channel));
    }
}

void BeaconListener::Impl::Finish() {
    if (channels.empty()) {
        StartOrMoveChannels();
    }
    for (std::size_t i = 0; i < channels.size(); ++i) {
        DecodedFrameParts parts;
        channels[i].channel->Finish(parts);
        Deliver(i, parts);
    }
    Report(true);
}

BeaconListener::BeaconListener(const ListenSettings& settings, ListenEvents& events)
    : m_impl(std::make_unique<Impl>(settings, events)) {}

BeaconListener::~BeaconListener() = default;

void BeaconListener::Push(std::span<const float> samples) {
    m_impl->Push(samples);
}

void BeaconListener::Finish() {
    m_impl->Finish();
}

void BeaconListener::TuneTo(double toneHz) {
    m_impl->Follow(m_impl->channels.empty() ? 0 : m_impl->primary, toneHz);
    m_impl->channels[m_impl->primary].lastFrameSeconds = m_impl->workSeconds;
}

}  // namespace ao07::audio
