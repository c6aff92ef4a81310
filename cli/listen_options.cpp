#include "cli/listen_options.h"

#include <algorithm>
#include <charconv>

#include "audio/beacon_listener.h"
#include "audio/recording_start.h"
#include "audio/sample_source.h"
#include "audio/tone_search.h"
#include "cli/command_line.h"

namespace ao07::cli {
namespace {

// What the listener searches: a hint outside it could only mislead it.
constexpr double kLowestToneHz = audio::ToneSearchParams{}.lowestHz;
constexpr double kHighestToneHz = audio::ToneSearchParams{}.highestHz;
constexpr double kSlowestWordsPerMinute = 8;
constexpr double kFastestWordsPerMinute = 40;
constexpr std::int64_t kLargestOrbit = 999999999;

/// `text` as a number, the whole of it, whatever the locale; nullopt otherwise.
std::optional<double> NumberOf(const std::string& text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int64_t> WholeNumberOf(const std::string& text) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

/// The number of `text` if it lies in low..high, for option `name`; sets `error` otherwise.
double NumberIn(const std::string& name, const std::string& text, double low, double high,
                std::string_view unit, std::string& error) {
    const std::optional<double> value = NumberOf(text);
    if (!value || *value < low || *value > high) {
        error = name + " takes a number from " + std::to_string(static_cast<int>(low)) + " to " +
                std::to_string(static_cast<int>(high)) + std::string(unit) + ", not '" + text + "'";
        return 0;
    }
    return *value;
}

/// The options of ao07-listen, each with what it does with its value into `o`.
std::vector<CommandLineOption> OptionsInto(ListenOptions& o) {
    return {
        {"-o", "a value",
         [&o](const std::string& value) {
             o.outputPath = value;
             return value.empty() ? std::string("-o needs a file name") : std::string();
         }},
        {"--report", "a value",
         [&o](const std::string& value) {
             o.reportPath = value;
             return value.empty() ? std::string("--report needs a file name") : std::string();
         }},
        {"--orbit", "a value",
         [&o](const std::string& value) {
             o.orbit = WholeNumberOf(value);
             if (!o.orbit || *o.orbit < 0 || *o.orbit > kLargestOrbit) {
                 return "--orbit takes the orbit's number, not '" + value + "'";
             }
             return std::string();
         }},
        {"--start", "a value",
         [&o](const std::string& value) {
             o.startUtc = audio::ParseStartTime(value);
             if (!o.startUtc) {
                 return "--start takes the UTC time of the first sample as \"YYYY-MM-DD "
                        "HH:MM:SS\", not '" +
                        value + "'";
             }
             return std::string();
         }},
        {"--rate", "a value",
         [&o](const std::string& value) {
             std::string error;
             o.rateHz = NumberIn("--rate", value, audio::kLowestRateHz, audio::kHighestRateHz,
                                 " Hz", error);
             return error;
         }},
        {"--tone", "a value",
         [&o](const std::string& value) {
             std::string error;
             o.toneHintHz = NumberIn("--tone", value, kLowestToneHz, kHighestToneHz, " Hz", error);
             return error;
         }},
        {"--wpm", "a value",
         [&o](const std::string& value) {
             std::string error;
             o.wordsPerMinuteHint = NumberIn("--wpm", value, kSlowestWordsPerMinute,
                                             kFastestWordsPerMinute, " words per minute", error);
             return error;
         }},
        {"--threshold", "a value",
         [&o](const std::string& value) {
             const std::optional<double> p = NumberOf(value);
             if (!p || *p < 0 || *p > 1) {
                 return "--threshold takes a probability from 0 to 1, not '" + value + "'";
             }
             o.confidenceThreshold = *p;
             return std::string();
         }},
    };
}

}  // namespace

const std::string_view kListenUsage =
    "Usage: ao07-listen [OPTION]... RECORDING...\n"
    "Copies the AO-07 CW telemetry beacon from recordings of a pass into a log that ao07-decode\n"
    "and ao07-telemetry read: HI HI and the six rows of each frame, a digit not heard with\n"
    "confidence written x. Tone (300 to 1500 Hz) and speed (8 to 40 words per minute) are\n"
    "found in the sound; what is heard outside a frame goes to lines starting with #, which\n"
    "the reader passes over.\n"
    "\n"
    "  RECORDING        a sound file libsndfile reads (WAV, FLAC, Ogg, MP3, ...), 8 to 192 kHz,\n"
    "                   stereo mixed to mono; - reads raw 16-bit little-endian mono samples\n"
    "                   from standard input as they arrive (needs --rate)\n"
    "  -o LOG           write the log to LOG instead of standard output, each line as soon as\n"
    "                   it is complete\n"
    "  --orbit N        write ORBIT N at the top of the log\n"
    "  --start TIME     the UTC time of the first sample, \"YYYY-MM-DD HH:MM:SS\"; without it the\n"
    "                   time stamp in a recording's name is used as gqrx, SDR#, HDSDR, SDRangel\n"
    "                   and SDR++ write it (e.g. gqrx_20261207_143205_145972000.wav). TIME and\n"
    "                   DATE lines go before each frame that starts in a new minute. Without\n"
    "                   --start or a time stamp in the name, the log gets no TIME or DATE lines\n"
    "  --rate HZ        sample rate of standard input\n"
    "  --tone HZ        where to look for the tone first (a hint: it is still searched)\n"
    "  --wpm N          the speed to expect first (a hint: it is still estimated)\n"
    "  --threshold P    a digit heard with a confidence below P (0 to 1) is written x\n"
    "                   (default 0.98)\n"
    "  --report FILE    write one JSON object per group heard (JSON Lines): recording, text,\n"
    "                   start time in seconds, confidence of each character, tone, speed and\n"
    "                   signal-to-noise estimate\n"
    "  -h, --help       show this help\n"
    "  --version        show the version\n"
    "  --               what follows is a recording, even if it starts with -\n"
    "\n"
    "A progress bar is shown on standard error when it is a terminal and a file is read.\n"
    "Exit status: 0 when every recording was read and a frame heard in each, 1 when a recording\n"
    "could not be read, held no beacon frame or the log could not be written, 2 for a wrong\n"
    "command line.\n";

std::string ParseListenOptions(const std::vector<std::string>& args, ListenOptions& options) {
    options.confidenceThreshold = audio::kDefaultConfidenceThreshold;
    if (std::string error = ReadCommandLine(args, OptionsInto(options), options.recordings,
                                            options.help, options.version);
        !error.empty()) {
        return error;
    }
    if (options.help || options.version) {
        return {};
    }
    const auto standardInput =
        std::count(options.recordings.begin(), options.recordings.end(), "-");
    if (options.recordings.empty()) {
        return "no recording given";
    }
    if (standardInput > 1) {
        return "standard input (-) can be read only once";
    }
    if (standardInput == 1 && options.rateHz == 0) {
        return "standard input (-) needs --rate: its raw samples say nothing of their rate";
    }
    if (standardInput == 0 && options.rateHz != 0) {
        return "--rate is for standard input (-); a recording's rate is read from the file";
    }
    if (options.startUtc && options.recordings.size() > 1) {
        return "--start applies to one recording; with several, each name's time stamp is used";
    }
    if (!options.reportPath.empty() && options.reportPath == options.outputPath) {
        return "the report and the log cannot be the same file";
    }
    return {};
}

}  // namespace ao07::cli
