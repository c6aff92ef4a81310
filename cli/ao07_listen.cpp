// ao07-listen: copies the beacon from recordings of a pass, or from a receiver's samples as
// they arrive, into a log of the form operators type by ear.

#include <iostream>
#include <string>

#include "ao07_version.h"
#include "cli/listen_options.h"
#include "cli/listen_run.h"
#include "cli/program_text.h"

int main(int argc, char** argv) {
    using namespace ao07::cli;
    ListenOptions options;
    if (const std::string error = ParseListenOptions({argv + 1, argv + argc}, options);
        !error.empty()) {
        return RefuseCommandLine("ao07-listen", error);
    }
    if (options.help) {
        return ShowProgramText("ao07-listen", kListenUsage);
    }
    if (options.version) {
        return ShowProgramText("ao07-listen",
                               "ao07-listen " + std::string(ao07::kVersionText) + "\n");
    }
    return ListenToRecordings(options, std::cerr);
}
