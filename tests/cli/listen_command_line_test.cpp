#include <gtest/gtest.h>

#include <string>

#include "support/program_run.h"
#include "support/temp_dir.h"

namespace ao07::test {
namespace {

std::string Refused(const std::string& problem) {
    return "ao07-listen: " + problem + "\nTry 'ao07-listen --help'.\n";
}

TEST(ListenCommandLine, OptionsAndTheirMistakes) {
    const struct {
        const char* args;
        int status;
        std::string err;  ///< exact
        const char* outStart;
    } cases[] = {
        {"", 2, Refused("no recording given"), ""},
        {"-o '' pass.wav", 2, Refused("-o needs a file name"), ""},
        {"--report '' pass.wav", 2, Refused("--report needs a file name"), ""},
        {"pass.wav -o", 2, Refused("-o needs a value"), ""},
        {"--loud pass.wav", 2, Refused("unknown option --loud"), ""},
        {"- -", 2, Refused("standard input (-) can be read only once"), ""},
        {"-", 2,
         Refused("standard input (-) needs --rate: its raw samples say nothing of their rate"), ""},
        {"--rate 48000 pass.wav", 2,
         Refused("--rate is for standard input (-); a recording's rate is read from the file"), ""},
        {"--rate 4000 -", 2, Refused("--rate takes a number from 8000 to 192000 Hz, not '4000'"),
         ""},
        {"--rate 48,000 -", 2,
         Refused("--rate takes a number from 8000 to 192000 Hz, not '48,000'"), ""},
        {"--tone 2000 a.wav", 2, Refused("--tone takes a number from 300 to 1500 Hz, not '2000'"),
         ""},
        {"--wpm 5 a.wav", 2, Refused("--wpm takes a number from 8 to 40 words per minute, not '5'"),
         ""},
        {"--threshold 1.5 a.wav", 2,
         Refused("--threshold takes a probability from 0 to 1, not '1.5'"), ""},
        {"--orbit -3 a.wav", 2, Refused("--orbit takes the orbit's number, not '-3'"), ""},
        {"--start '2026-12-07 25:00:00' a.wav", 2,
         Refused("--start takes the UTC time of the first sample as \"YYYY-MM-DD HH:MM:SS\", "
                 "not '2026-12-07 25:00:00'"),
         ""},
        {"--start '2026-12-07 14:32:05' a.wav b.wav", 2,
         Refused("--start applies to one recording; with several, each name's time stamp is "
                 "used"),
         ""},
        {"-o same.txt --report same.txt a.wav", 2,
         Refused("the report and the log cannot be the same file"), ""},
        {"--help", 0, "", "Usage: ao07-listen [OPTION]... RECORDING...\n"},
        {"--version", 0, "", "ao07-listen " AO07_VERSION "\n"},
        {"--help >/dev/full", 1,
         "ao07-listen: cannot write standard output: No space left on device\n", ""},
        {"--version >/dev/full", 1,
         "ao07-listen: cannot write standard output: No space left on device\n", ""},
        {"-- -a.wav", 1,
         "ao07-listen: cannot read recording \"-a.wav\": No such file or directory\n", ""},
    };
    const TempDir dir;
    for (const auto& c : cases) {
        const Outcome run = RunProgram(AO07_LISTEN_PATH, dir, c.args);
        EXPECT_EQ(run.status, c.status) << c.args;
        EXPECT_EQ(run.err, c.err) << c.args;
        EXPECT_EQ(run.out.substr(0, std::string(c.outStart).size()), c.outStart) << c.args;
    }
}

}  // namespace
}  // namespace ao07::test
