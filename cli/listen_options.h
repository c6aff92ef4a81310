#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ao07::cli {

/// The command line of ao07-listen.
struct ListenOptions {
    std::vector<std::string> recordings;   ///< in the order given; "-" is standard input
    std::string outputPath;                ///< the log; "" for standard output
    std::string reportPath;                ///< JSON Lines of the groups heard; "" for none
    std::optional<std::int64_t> orbit;     ///< written once at the top of the log
    std::optional<std::int64_t> startUtc;  ///< seconds since 1970 of the first sample
    double rateHz = 0;                     ///< of raw samples on standard input
    double toneHintHz = 0;                 ///< 0: no hint
    double wordsPerMinuteHint = 0;         ///< 0: no hint
    double confidenceThreshold = 0;        ///< set to the engine's default by ParseListenOptions
    bool help = false;
    bool version = false;
};

/// The options in `args` (without the program name) into `options`. Returns "" or what is
/// wrong with the command line, in a sentence for the user.
std::string ParseListenOptions(const std::vector<std::string>& args, ListenOptions& options);

/// The text of --help.
extern const std::string_view kListenUsage;

}  // namespace ao07::cli
