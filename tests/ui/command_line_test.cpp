// ao07-telemetry's command line, run as a real process on the offscreen platform.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "ao07_version.h"
#include "support/temp_dir.h"

namespace ao07 {
namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

/// Runs the real ao07-telemetry with `args` (shell words); only runs that end by themselves.
/// `platform` is Qt's: "offscreen", or "xcb" with no display to connect to.
Outcome RunTelemetry(const test::TempDir& dir, const std::string& args,
                     const std::string& platform = "offscreen") {
    const std::string command = "cd '" + dir.Path() +
                                "' && env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=" +
                                platform + " '" + AO07_TELEMETRY_PATH + "' " + args + " >'" +
                                dir.File("stdout.txt") + "' 2>'" + dir.File("stderr.txt") + "'";
    const int raw = std::system(command.c_str());
    Outcome run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = test::ReadFile(dir.File("stdout.txt"));
    run.err = test::ReadFile(dir.File("stderr.txt"));
    return run;
}

TEST(TelemetryCommandLine, HelpVersionAndBadUsage) {
    struct Case {
        const char* args;
        int status;
        std::string out;  // a part of standard output
        std::string err;  // a part of standard error
        const char* platform = "offscreen";
    };
    const std::vector<Case> cases = {
        {"--version", 0, std::string("ao07-telemetry ") + kVersionText + "\n", ""},
        {"--help", 0, "For demonstrations", ""},
        // Before any window system: no display at all.
        {"--version", 0, std::string("ao07-telemetry ") + kVersionText + "\n", "", "xcb"},
        {"-h", 0, "Usage: ", "", "xcb"},
        {"--steps 2 --help a.txt", 0, "[LOG]", "", "xcb"},
        {"--help", 0, "[LOG]", ""},
        {"a.txt b.txt", 2, "", "one log at a time, not 2"},
        {"--steps x a.txt", 2, "", "--steps takes a count of 0 or more, not \"x\""},
        {"--steps 3", 2, "", "--steps needs a LOG"},
        {"--no-such-option", 2, "", "Unknown option 'no-such-option'"},
        {"--help", 0, "--trends", ""},
        {"--trends --steps 2 a.txt", 2, "", "--steps steps the main window"},
        {"--help", 0, "Sound inputs", ""},
        {"--log x.txt", 2, "", "--log, --device and --fast go with --listen"},
        {"--listen --fast", 2, "", "--fast goes with a RECORDING"},
        {"--listen --device d a.wav", 2, "", "copy from a recording or from --device, not both"},
        {"--listen --trends a.wav", 2, "", "--listen shows the Listen window alone"},
    };
    const test::TempDir dir;
    for (const Case& c : cases) {
        const Outcome run = RunTelemetry(dir, c.args, c.platform);
        EXPECT_EQ(run.status, c.status) << c.args << " on " << c.platform;
        EXPECT_NE(run.out.find(c.out), std::string::npos) << c.args << ": " << run.out;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << c.args << ": " << run.err;
    }
}

}  // namespace
}  // namespace ao07
