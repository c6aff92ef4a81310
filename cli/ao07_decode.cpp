// ao07-decode: turns telemetry logs into the CSV file that the window would write if CSV output
// were switched on before a log was opened and the log stepped to its end; or into JSON Lines,
// a report of the frames that are not clean, or statistics per channel.

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "ao07_version.h"
#include "cli/channel_stats.h"
#include "cli/check_report.h"
#include "cli/csv_records.h"
#include "cli/decode_options.h"
#include "cli/decode_run.h"
#include "cli/json_lines.h"
#include "cli/log_follower.h"
#include "cli/program_text.h"

namespace {

using namespace ao07::tool;

std::unique_ptr<FrameSink> SinkFor(const DecodeOptions& options) {
    if (options.report == Report::Check) {
        return std::make_unique<CheckReport>(options.logs.size() > 1);
    }
    if (options.report == Report::Stats) {
        return std::make_unique<ChannelStats>(options.format == Format::JsonLines);
    }
    if (options.format == Format::JsonLines) {
        return std::make_unique<JsonLines>();
    }
    return std::make_unique<CsvRecords>(options.gaps);
}

}  // namespace

int main(int argc, char** argv) {
    DecodeOptions options;
    if (const std::string error = ParseOptions({argv + 1, argv + argc}, options); !error.empty()) {
        return ao07::cli::RefuseCommandLine("ao07-decode", error);
    }
    if (options.help) {
        return ao07::cli::ShowProgramText("ao07-decode", kUsage);
    }
    if (options.version) {
        return ao07::cli::ShowProgramText("ao07-decode",
                                          "ao07-decode " + std::string(ao07::kVersionText) + "\n");
    }
    const std::unique_ptr<FrameSink> sink = SinkFor(options);
    return options.follow ? FollowLog(options, *sink, std::cerr)
                          : DecodeLogs(options, *sink, std::cerr);
}
