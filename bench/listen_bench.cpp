// ao07-listen-bench: the listening engine in-process on generated beacon audio. Prints the
// digit error (wrong and x) per signal-to-noise for plain and impaired audio, false frames on
// noise alone, and the speed. The benchmark's seeds are fixed here; the tests and the tuning
// use others.

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "audio/beacon_listener.h"
#include "audio/synth/beacon_synth.h"

namespace {

using namespace ao07::audio;
using namespace ao07::audio::synth;

// The benchmark's seeds: never used while tuning the engine or in its tests.
constexpr std::uint64_t kBenchmarkSeedBase = 900001;
// The seeds used while tuning.
constexpr std::uint64_t kTuningSeedBase = 5001;

struct Condition {
    const char* name;
    std::function<void(SynthSettings&)> apply;
    /// Where the tone starts, drawn per seed; a drifting tone starts low enough to stay under
    /// 1500 Hz for the frames of one seed.
    double lowestToneHz = 400;
    double highestToneHz = 1400;
    int framesPerSeed = 0;  ///< 0: as the options say
};

const std::vector<Condition>& Conditions() {
    static const std::vector<Condition> conditions = {
        {"plain", [](SynthSettings&) {}},
        {"impaired",
         [](SynthSettings& s) {
             s.driftHzPerSecond = 10;
             s.wobbleHz = 20;
             s.wobblePeriodSeconds = 1;
             s.fadeDepthDb = 10;
             s.fadePeriodSeconds = 5;
         },
         400, 600, 1},
        {"qrm",
         [](SynthSettings& s) {
             s.interferer.present = true;
             s.interferer.offsetHz = 150;
             s.interferer.levelDb = 0;
         }},
        {"wpm35", [](SynthSettings& s) { s.wordsPerMinute = 35; }},
        // Doppler alone, uncorrected: a steady tone that drifts.
        {"drift10", [](SynthSettings& s) { s.driftHzPerSecond = 10; }, 400, 600, 1},
        {"drift20", [](SynthSettings& s) { s.driftHzPerSecond = 20; }, 400, 600, 1},
    };
    return conditions;
}

class Collector : public ListenEvents {
public:
    void LineHeard(const HeardLine& line) override { lines.push_back(line); }
    std::vector<HeardLine> lines;
};

struct Score {
    long digits = 0;
    long wrong = 0;
    long unheard = 0;
    long falseRows = 0;
    long frameMarkers = 0;
    double audioSeconds = 0;
    double engineSeconds = 0;
    /// Value digits heard, by confidence: how many, and how many of them wrong.
    std::map<double, std::pair<long, long>> byConfidence;
};

/// Lower edges of the confidence bins that --calibration prints.
const std::vector<double> kConfidenceBins = {0, 0.5, 0.8, 0.9, 0.95, 0.99, 0.999};

std::vector<float> Render(BeaconSynth& synth) {
    std::vector<float> audio(static_cast<std::size_t>(synth.TotalSamples()));
    synth.Render(audio);
    return audio;
}

/// Runs the engine on `audio` in blocks of `block`; returns the lines and the time taken.
double g_threshold = kDefaultConfidenceThreshold;

std::vector<HeardLine> Listen(const std::vector<float>& audio, double rateHz, double& seconds) {
    Collector collector;
    ListenSettings settings;
    settings.confidenceThreshold = g_threshold;
    settings.sampleRateHz = rateHz;
    const auto start = std::chrono::steady_clock::now();
    BeaconListener listener(settings, collector);
    const std::size_t block = 4096;
    for (std::size_t at = 0; at < audio.size(); at += block) {
        listener.Push(
            std::span<const float>(audio.data() + at, std::min(block, audio.size() - at)));
    }
    listener.Finish();
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return collector.lines;
}

void ScoreLines(const std::vector<SentFrame>& sent, const std::vector<HeardLine>& lines,
                double unitSeconds, Score& score) {
    std::vector<bool> used(lines.size(), false);
    for (std::size_t f = 0; f < sent.size(); ++f) {
        const double from = sent[f].startSeconds - 10 * unitSeconds;
        const double to = f + 1 < sent.size() ? sent[f + 1].startSeconds - 10 * unitSeconds : 1e300;
        for (int r = 0; r < kRowsPerFrame; ++r) {
            const std::string& truth = sent[f].frame.rows[static_cast<std::size_t>(r)];
            const HeardLine* heard = nullptr;
            for (std::size_t i = 0; i < lines.size(); ++i) {
                if (!used[i] && lines[i].kind == HeardLineKind::Row && lines[i].row == r + 1 &&
                    lines[i].startSeconds >= from && lines[i].startSeconds < to) {
                    heard = &lines[i];
                    used[i] = true;
                    break;
                }
            }
            for (std::size_t pos = 0; pos < truth.size(); ++pos) {
                if (pos % 4 != 1 && pos % 4 != 2) {
                    continue;
                }
                ++score.digits;
                if (heard != nullptr && heard->groups.size() > pos / 4) {
                    const HeardGroup& group = heard->groups[pos / 4];
                    const double confidence = group.confidence[pos % 4];
                    const double bin = *std::prev(std::upper_bound(
                        kConfidenceBins.begin(), kConfidenceBins.end(), confidence));
                    auto& [count, wrong] = score.byConfidence[bin];
                    ++count;
                    wrong += group.text[pos % 4] != 'x' && group.text[pos % 4] != truth[pos];
                }
                if (heard == nullptr || heard->text[pos] == 'x') {
                    ++score.unheard;
                } else if (heard->text[pos] != truth[pos]) {
                    ++score.wrong;
                }
            }
        }
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        score.frameMarkers += lines[i].kind == HeardLineKind::FrameMarker;
        score.falseRows += lines[i].kind == HeardLineKind::Row && !used[i];
    }
}

struct Options {
    std::vector<std::string> conditions = {"plain", "impaired", "qrm", "wpm35"};
    std::vector<double> snrs = {-25, -20, -17, -15, -14, -13, -12, -11, -10, -8, -5, -3, 0, 5, 10};
    int seeds = 4;
    int firstSeed = 0;  ///< offset into the seed set
    int framesPerSeed = 3;
    bool tuning = false;
    bool verbose = false;
    bool calibration = false;
    double noiseMinutes = 10;
    bool speed = true;
    double memoryHours = 0;
    /// Seconds a cycle of the swing where a condition has one; 0 keeps the condition's own.
    /// The beacon swings about once a second, not exactly.
    double wobblePeriodSeconds = 0;
};

void RunCurve(const Options& options, const Condition& condition) {
    std::printf("%-9s %7s %8s %9s %9s %9s %7s\n", "condition", "snr_dB", "digits", "wrong_%", "x_%",
                "error_%", "extra");
    for (const double snr : options.snrs) {
        Score score;
        for (int s = 0; s < options.seeds; ++s) {
            const std::uint64_t seed = (options.tuning ? kTuningSeedBase : kBenchmarkSeedBase) +
                                       static_cast<std::uint64_t>(s + options.firstSeed);
            RandomSource random(seed);
            SynthSettings settings;
            settings.seed = seed;
            settings.snrDb = snr;
            settings.toneHz = condition.lowestToneHz +
                              (condition.highestToneHz - condition.lowestToneHz) * random.Uniform();
            condition.apply(settings);
            if (options.wobblePeriodSeconds > 0 && settings.wobbleHz > 0) {
                settings.wobblePeriodSeconds = options.wobblePeriodSeconds;
            }
            const int frames =
                condition.framesPerSeed > 0 ? condition.framesPerSeed : options.framesPerSeed;
            BeaconSynth synth(settings, RandomFrames(frames, random));
            const std::vector<float> audio = Render(synth);
            double seconds = 0;
            const std::vector<HeardLine> lines = Listen(audio, settings.sampleRateHz, seconds);
            ScoreLines(synth.SentFrames(), lines, synth.UnitSeconds(), score);
            if (options.verbose) {
                for (const SentFrame& frame : synth.SentFrames()) {
                    std::printf("  sent %.2f s:", frame.startSeconds);
                    for (const std::string& row : frame.frame.rows) {
                        std::printf(" [%s]", row.c_str());
                    }
                    std::printf("\n");
                }
                for (const HeardLine& line : lines) {
                    std::printf("  heard %.2f s: %s\n", line.startSeconds, line.text.c_str());
                }
            }
        }
        const double digits = std::max<double>(1, static_cast<double>(score.digits));
        std::printf("%-9s %7.1f %8ld %9.2f %9.2f %9.2f %7ld\n", condition.name, snr, score.digits,
                    100.0 * score.wrong / digits, 100.0 * score.unheard / digits,
                    100.0 * (score.wrong + score.unheard) / digits, score.falseRows);
        if (options.calibration) {
            for (const auto& [bin, counts] : score.byConfidence) {
                std::printf("  confidence from %.3f: %6ld digits, %6.2f %% wrong\n", bin,
                            counts.first,
                            100.0 * static_cast<double>(counts.second) /
                                static_cast<double>(std::max(1L, counts.first)));
            }
        }
        std::fflush(stdout);
    }
}

void RunNoiseAlone(const Options& options) {
    SynthSettings settings;
    settings.seed = options.tuning ? kTuningSeedBase : kBenchmarkSeedBase;
    settings.leadSeconds = options.noiseMinutes * 60;
    settings.tailSeconds = 0;
    BeaconSynth synth(settings, {});
    const std::vector<float> audio = Render(synth);
    double seconds = 0;
    const std::vector<HeardLine> lines = Listen(audio, settings.sampleRateHz, seconds);
    long rows = 0;
    long markers = 0;
    for (const HeardLine& line : lines) {
        rows += line.kind == HeardLineKind::Row;
        markers += line.kind == HeardLineKind::FrameMarker;
    }
    std::printf("noise alone: %.0f minutes, %ld rows, %ld HI HI, %zu lines\n", options.noiseMinutes,
                rows, markers, lines.size());
}

/// Streams `hours` of beacon audio through the engine block by block and reports the peak
/// resident memory of the whole process.
void RunMemory(double hours) {
    SynthSettings settings;
    settings.seed = kBenchmarkSeedBase;
    settings.snrDb = -5;
    RandomSource random(settings.seed);
    const int frames = static_cast<int>(hours * 3600 / 80) + 1;
    BeaconSynth synth(settings, RandomFrames(frames, random));
    Collector collector;
    ListenSettings listen;
    BeaconListener listener(listen, collector);
    std::vector<float> block(8192);
    double seconds = 0;
    while (const std::size_t count = synth.Render(block)) {
        listener.Push(std::span<const float>(block.data(), count));
        seconds += static_cast<double>(count) / settings.sampleRateHz;
        collector.lines.clear();
    }
    listener.Finish();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("memory: %.1f h of audio at 8 kHz, peak resident %.1f MB\n", seconds / 3600,
                static_cast<double>(usage.ru_maxrss) / 1024);
}

void RunSpeed(const Options& options) {
    for (const double rate : {8000.0, 48000.0}) {
        SynthSettings settings;
        settings.seed = options.tuning ? kTuningSeedBase : kBenchmarkSeedBase;
        settings.sampleRateHz = rate;
        settings.snrDb = -10;
        RandomSource random(settings.seed);
        BeaconSynth synth(settings, RandomFrames(4, random));
        const std::vector<float> audio = Render(synth);
        double seconds = 0;
        Listen(audio, rate, seconds);
        const double audioSeconds = static_cast<double>(audio.size()) / rate;
        std::printf("speed at %5.0f Hz: %.0f s of audio in %.2f s: %.0f x real time\n", rate,
                    audioSeconds, seconds, audioSeconds / seconds);
    }
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    std::vector<std::string> only;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
        if (arg == "--condition") {
            only.push_back(next());
        } else if (arg == "--snr") {
            options.snrs.clear();
            std::string list = next();
            for (std::size_t at = 0; at < list.size();) {
                const std::size_t comma = std::min(list.find(',', at), list.size());
                options.snrs.push_back(std::stod(list.substr(at, comma - at)));
                at = comma + 1;
            }
        } else if (arg == "--seeds") {
            options.seeds = std::stoi(next());
        } else if (arg == "--first-seed") {
            options.firstSeed = std::stoi(next());
        } else if (arg == "--threshold") {
            g_threshold = std::stod(next());
        } else if (arg == "--frames") {
            options.framesPerSeed = std::stoi(next());
        } else if (arg == "--tuning") {
            options.tuning = true;
        } else if (arg == "--verbose") {
            options.verbose = true;
        } else if (arg == "--calibration") {
            options.calibration = true;
        } else if (arg == "--noise-minutes") {
            options.noiseMinutes = std::stod(next());
        } else if (arg == "--memory-hours") {
            options.memoryHours = std::stod(next());
        } else if (arg == "--no-speed") {
            options.speed = false;
        } else if (arg == "--wobble-period") {
            options.wobblePeriodSeconds = std::stod(next());
        } else {
            std::fprintf(
                stderr,
                "usage: ao07-listen-bench [--condition plain|impaired|qrm|wpm35]... "
                "[--snr LIST] [--seeds N] [--frames N] [--noise-minutes M] [--no-speed] "
                "[--memory-hours H] [--threshold P] [--first-seed N] [--tuning] [--verbose]\n"
                "       [--calibration] [--wobble-period SECONDS]\n");
            return 2;
        }
    }
    if (!only.empty()) {
        options.conditions = only;
    }
    for (const Condition& condition : Conditions()) {
        if (std::find(options.conditions.begin(), options.conditions.end(), condition.name) !=
            options.conditions.end()) {
            RunCurve(options, condition);
        }
    }
    if (options.noiseMinutes > 0) {
        RunNoiseAlone(options);
    }
    if (options.speed) {
        RunSpeed(options);
    }
    if (options.memoryHours > 0) {
        RunMemory(options.memoryHours);
    }
    return 0;
}
