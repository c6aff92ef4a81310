#include "cli/decode_options.h"

#include <algorithm>

namespace ao07::tool {

const std::string_view kUsage =
    "Usage: ao07-decode [OPTION]... LOG...\n"
    "Decodes AO-07 telemetry logs and writes one CSV record per frame: one header, then the\n"
    "records of every log in the order given, each log decoded as if it were the only one.\n"
    "\n"
    "  LOG              a typed log; - reads standard input (once)\n"
    "  --               every word after it is a LOG, even one that begins with -\n"
    "  -o FILE          write to FILE instead of standard output\n"
    "  --format csv     CSV records, as the window's ao-07.csv holds them (the default)\n"
    "  --format jsonl   one JSON object per frame and line (JSON Lines, UTF-8): log, frame,\n"
    "                   line, date, time, orbit, calibration, and for each channel its id, raw\n"
    "                   value, value, unit, text and reception (copied, not copied, missing)\n"
    "  --gaps           leave the CSV field of a channel empty when it was not copied or its\n"
    "                   row is missing in the frame; every record then has all 27 fields\n"
    "  --check          instead of records, one line per frame that is not clean (a channel\n"
    "                   not copied, a row missing, calibration 6D outside raw 49 to 51 or not\n"
    "                   copied), then a summary; exit status 0 whenever the logs were read\n"
    "  --stats          instead of records, one line per channel over all frames: frames,\n"
    "                   copied, not copied, missing, and minimum, maximum, mean and last of the\n"
    "                   copied values (a table, or JSON with --format jsonl)\n"
    "  --follow         (one log) after its end, keep reading the log as it grows, like\n"
    "                   tail -f, and write each record at once; SIGINT or SIGTERM ends it\n"
    "  -h, --help       show this help\n"
    "  --version        show the version\n"
    "\n"
    "Exit status: 0 when every log was read and everything written, 1 when a log could not be\n"
    "read or the output not written (the other logs are still decoded), 2 for a wrong command\n"
    "line.\n";

std::string ParseOptions(const std::vector<std::string>& args, DecodeOptions& options) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded) {
            options.logs.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "-h" || arg == "--help") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "-o" || arg == "--format") {
            if (i + 1 >= args.size()) {
                return arg + " needs " + (arg == "-o" ? "a file name" : "csv or jsonl");
            }
            const std::string& value = args[++i];
            if (arg == "-o") {
                // An empty name would quietly mean standard output.
                if (value.empty()) {
                    return "-o needs a file name, not an empty one";
                }
                options.outputPath = value;
            } else if (value == "csv" || value == "jsonl") {
                options.format = value == "csv" ? Format::Csv : Format::JsonLines;
            } else {
                return "unknown format " + value + " (csv or jsonl)";
            }
        } else if (arg == "--gaps") {
            options.gaps = true;
        } else if (arg == "--check" || arg == "--stats") {
            const Report report = arg == "--check" ? Report::Check : Report::Stats;
            if (options.report != Report::Records && options.report != report) {
                return "--check and --stats cannot be combined";
            }
            options.report = report;
        } else if (arg == "--follow") {
            options.follow = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return "unknown option " + arg;
        } else {
            options.logs.push_back(arg);
        }
    }
    if (options.help || options.version) {
        return {};
    }
    if (options.logs.empty()) {
        return "no log given";
    }
    if (std::count(options.logs.begin(), options.logs.end(), "-") > 1) {
        return "standard input (-) can be read only once";
    }
    if (options.follow && options.logs.size() > 1) {
        return "--follow takes one log";
    }
    if (options.gaps && (options.format != Format::Csv || options.report != Report::Records)) {
        return "--gaps applies to CSV records only";
    }
    if (options.report == Report::Check && options.format != Format::Csv) {
        return "--check writes plain text; --format jsonl does not apply";
    }
    if (options.follow && options.logs.front() == "-") {
        return "--follow needs a log file by name";
    }
    if (options.follow && options.report == Report::Stats) {
        return "--follow cannot be combined with --stats";
    }
    return {};
}

}  // namespace ao07::tool
