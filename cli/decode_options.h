#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ao07::tool {

/// What ao07-decode writes for the frames it reads.
enum class Report {
    Records,  ///< one record per frame
    Check,    ///< one line per frame that is not clean, then a summary
    Stats,    ///< one line per channel over all frames
};

enum class Format {
    Csv,        ///< the CSV records of the window's "ao-07.csv"
    JsonLines,  ///< one JSON object per line
};

/// The command line of ao07-decode.
struct DecodeOptions {
    std::vector<std::string> logs;  ///< in the order given; "-" is standard input
    std::string outputPath;         ///< "" for standard output
    Report report = Report::Records;
    Format format = Format::Csv;
    bool gaps = false;    ///< CSV fields of channels not copied in the frame are left empty
    bool follow = false;  ///< keep reading the log as it grows
    bool help = false;
    bool version = false;
};

/// The options in `args` (without the program name) into `options`. Returns "" or what is
/// wrong with the command line, in a sentence for the user.
std::string ParseOptions(const std::vector<std::string>& args, DecodeOptions& options);

/// The text of --help.
extern const std::string_view kUsage;

}  // namespace ao07::tool
