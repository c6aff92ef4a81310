#include "cli/decode_options.h"

#include <algorithm>

#include "cli/command_line.h"

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
    const auto report = [&options](Report wanted) {
        return [&options, wanted](const std::string&) {
            if (options.report != Report::Records && options.report != wanted) {
                return std::string("--check and --stats cannot be combined");
            }
            options.report = wanted;
            return std::string();
        };
    };
    const auto flag = [](bool& set) {
        return [&set](const std::string&) {
            set = true;
            return std::string();
        };
    };
    const cli::CommandLineOption table[] = {
        {"-o", "a file name",
         [&options](const std::string& value) {
             // An empty name would quietly mean standard output.
             if (value.empty()) {
                 return std::string("-o needs a file name, not an empty one");
             }
             options.outputPath = value;
             return std::string();
         }},
        {"--format", "csv or jsonl",
         [&options](const std::string& value) {
             if (value != "csv" && value != "jsonl") {
                 return "unknown format " + value + " (csv or jsonl)";
             }
             options.format = value == "csv" ? Format::Csv : Format::JsonLines;
             return std::string();
         }},
        {"--gaps", "", flag(options.gaps)},
        {"--check", "", report(Report::Check)},
        {"--stats", "", report(Report::Stats)},
        {"--follow", "", flag(options.follow)},
    };
    if (std::string error =
            cli::ReadCommandLine(args, table, options.logs, options.help, options.version);
        !error.empty()) {
        return error;
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
