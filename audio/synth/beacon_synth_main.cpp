// ao07-beacon-synth: writes the beacon's audio for tests and the benchmark, from the rows of a
// log or from random frames, with noise, drift, wobble, fading and another station.

#include <sndfile.h>

#include <charconv>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "audio/synth/beacon_synth.h"

namespace {

using ao07::audio::synth::BeaconFrame;
using ao07::audio::synth::BeaconSynth;
using ao07::audio::synth::RandomSource;
using ao07::audio::synth::SynthSettings;

constexpr const char* kUsage = R"(Usage: ao07-beacon-synth [OPTIONS] -o OUT.wav
Writes the AO-07 beacon's CW audio as a 16-bit WAV file.

  --log FILE            send the frames of this log (an x is sent as a random digit)
  --frames N            send N random frames (default 2, without --log)
  --truth FILE          write the frames sent as a log ("HI HI" and six rows each)
  --rate HZ             sample rate (default 8000)
  --wpm N               speed in words per minute (default 20)
  --tone HZ             tone (default 800)
  --snr DB              key-down tone power over noise power in 3 kHz (default 10)
  --no-noise            the tone alone
  --drift HZ_PER_S      steady change of the tone
  --wobble HZ           peak deviation of a sinusoidal wobble, period --wobble-period (1 s)
  --fade DB             spin fading depth, period --fade-period (5 s)
  --qrm-offset HZ       another station this far from the tone (sends --qrm-text)
  --qrm-level DB        its power over the beacon's (default 0)
  --qrm-wpm N           its speed (default 18)
  --level DBFS          about the RMS of the mix (default -20); beyond full scale it clips
  --lead S, --tail S    noise before and after the frames (default 2 each)
  --seed N              seed of noise, random digits and frame gaps (default 1)
)";

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

double Number(const std::string& option, const std::string& text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        throw std::invalid_argument(option + " needs a number, not '" + text + "'");
    }
    return value;
}

void WriteTruth(const std::string& path, const BeaconSynth& synth) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) {
        throw std::runtime_error("cannot write " + path);
    }
    bool ok = true;
    for (const auto& sent : synth.SentFrames()) {
        ok = ok && std::fprintf(file, "HI HI\n") > 0;
        for (const std::string& row : sent.frame.rows) {
            ok = ok && std::fprintf(file, "%s\n", row.c_str()) > 0;
        }
    }
    if (std::fclose(file) != 0 || !ok) {
        throw std::runtime_error("cannot write " + path);
    }
}

int Run(int argc, char** argv) {
    SynthSettings settings;
    std::string logPath, truthPath, outPath;
    int frameCount = 2;
    const std::map<std::string, std::function<void(const std::string&)>> valued = {
        {"--log", [&](const std::string& v) { logPath = v; }},
        {"--truth", [&](const std::string& v) { truthPath = v; }},
        {"-o", [&](const std::string& v) { outPath = v; }},
        {"--frames",
         [&](const std::string& v) { frameCount = static_cast<int>(Number("--frames", v)); }},
        {"--rate", [&](const std::string& v) { settings.sampleRateHz = Number("--rate", v); }},
        {"--wpm", [&](const std::string& v) { settings.wordsPerMinute = Number("--wpm", v); }},
        {"--tone", [&](const std::string& v) { settings.toneHz = Number("--tone", v); }},
        {"--snr", [&](const std::string& v) { settings.snrDb = Number("--snr", v); }},
        {"--drift",
         [&](const std::string& v) { settings.driftHzPerSecond = Number("--drift", v); }},
        {"--wobble", [&](const std::string& v) { settings.wobbleHz = Number("--wobble", v); }},
        {"--wobble-period",
         [&](const std::string& v) {
             settings.wobblePeriodSeconds = Number("--wobble-period", v);
         }},
        {"--fade", [&](const std::string& v) { settings.fadeDepthDb = Number("--fade", v); }},
        {"--fade-period",
         [&](const std::string& v) { settings.fadePeriodSeconds = Number("--fade-period", v); }},
        {"--qrm-offset",
         [&](const std::string& v) {
             settings.interferer.present = true;
             settings.interferer.offsetHz = Number("--qrm-offset", v);
         }},
        {"--qrm-level",
         [&](const std::string& v) { settings.interferer.levelDb = Number("--qrm-level", v); }},
        {"--qrm-wpm",
         [&](const std::string& v) {
             settings.interferer.wordsPerMinute = Number("--qrm-wpm", v);
         }},
        {"--qrm-text", [&](const std::string& v) { settings.interferer.text = v; }},
        {"--level", [&](const std::string& v) { settings.levelDbfs = Number("--level", v); }},
        {"--lead", [&](const std::string& v) { settings.leadSeconds = Number("--lead", v); }},
        {"--tail", [&](const std::string& v) { settings.tailSeconds = Number("--tail", v); }},
        {"--seed",
         [&](const std::string& v) {
             settings.seed = static_cast<std::uint64_t>(Number("--seed", v));
         }},
    };
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help") {
            std::cout << kUsage;
            return 0;
        }
        if (option == "--no-noise") {
            settings.noise = false;
            continue;
        }
        const auto found = valued.find(option);
        if (found == valued.end() || i + 1 >= argc) {
            std::cerr << "ao07-beacon-synth: unknown option or missing value: " << option << "\n"
                      << kUsage;
            return 2;
        }
        found->second(argv[++i]);
    }
    if (outPath.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    // The digits have a stream of their own, so that noise settings do not change them.
    RandomSource digits(settings.seed ^ 0x5A5A5A5AULL);
    std::vector<BeaconFrame> frames =
        logPath.empty() ? ao07::audio::synth::RandomFrames(frameCount, digits)
                        : ao07::audio::synth::FramesOfLog(ReadWholeFile(logPath), digits);
    BeaconSynth synth(settings, std::move(frames));

    SF_INFO info{};
    info.samplerate = static_cast<int>(settings.sampleRateHz);
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(outPath.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        throw std::runtime_error("cannot write " + outPath + ": " + sf_strerror(nullptr));
    }
    std::vector<float> block(8192);
    bool ok = true;
    while (const std::size_t count = synth.Render(block)) {
        ok = ok && sf_writef_float(file, block.data(), static_cast<sf_count_t>(count)) ==
                       static_cast<sf_count_t>(count);
    }
    if (sf_close(file) != 0 || !ok) {
        throw std::runtime_error("cannot write " + outPath);
    }
    if (!truthPath.empty()) {
        WriteTruth(truthPath, synth);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "ao07-beacon-synth: " << error.what() << "\n";
        return 1;
    }
}
