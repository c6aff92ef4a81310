#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "support/temp_dir.h"

namespace ao07 {
namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

/// Runs the real ao07-decode with `args` (shell words) in `dir`, standard input from `input`.
Outcome Decode(const test::TempDir& dir, const std::string& args, const std::string& input = "") {
    const std::string in = dir.Write("stdin.bin", input);
    const std::string command = "cd '" + dir.Path() + "' && '" AO07_DECODE_PATH "' " + args +
                                " <'" + in + "' >'" + dir.File("stdout.bin") + "' 2>'" +
                                dir.File("stderr.bin") + "'";
    const int raw = std::system(command.c_str());
    Outcome run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = test::ReadFile(dir.File("stdout.bin"));
    run.err = test::ReadFile(dir.File("stderr.bin"));
    return run;
}

const std::string kFrame =
    "ORBIT 12345\r\nTIME 14:32\r\nDATE 08-JUL-02\r\nHI HI\r\n150 150 150 150\r\n"
    "250 250 250 250\r\n350 350 350 350\r\n450 450 450 450\r\n550 550 550 550\r\n"
    "650 650 650 650\r\n";
const std::string kRecord =
    "08-JUL-02,14:32,12345,1475.000,0.970,0.970,0.970,1.475,2.000,758.000,0.000,11.400,5.000,"
    "7.500,21.800,21.800,21.800,21.800,21.800,21.800,583.500,21.800,52.000,1.603,285.000,102.500,"
    "0.500\r\n";
const std::string kHeaderStart = "Date,Time,Orbit#,Total Solar Array Current (ma),";

TEST(Ao07Decode, WritesTheHeaderAndOneRecordPerFrameToStandardOutput) {
    test::TempDir dir;
    dir.Write("log.txt", kFrame + kFrame);
    const Outcome run = Decode(dir, "log.txt");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    ASSERT_EQ(run.out.rfind(kHeaderStart, 0), 0u);
    const auto headerEnd = run.out.find("\r\n") + 2;
    EXPECT_EQ(headerEnd, 697u);  // 695 characters and CR LF
    EXPECT_EQ(run.out.substr(headerEnd), kRecord + kRecord);
}

TEST(Ao07Decode, ReadsStandardInputAndWritesToAFile) {
    test::TempDir dir;
    const Outcome fromStdin = Decode(dir, "-o out.csv -", kFrame);
    EXPECT_EQ(fromStdin.status, 0) << fromStdin.err;
    EXPECT_EQ(fromStdin.out, "");
    const std::string written = test::ReadFile(dir.File("out.csv"));
    EXPECT_EQ(written.substr(written.find("\r\n") + 2), kRecord);

    dir.Write("log.txt", kFrame);
    EXPECT_EQ(Decode(dir, "log.txt").out, written);  // the same bytes either way
}

TEST(Ao07Decode, AgreesWithTheExampleLogs) {
    test::TempDir dir;
    for (const char* name : {"pass-1.txt", "pass-2.txt", "doubtful-frame.txt"}) {
        const Outcome run = Decode(dir, std::string("'" AO07_EXAMPLES_DIR "/") + name + "'");
        EXPECT_EQ(run.status, 0) << name << ": " << run.err;
        EXPECT_EQ(run.out, test::ReadFile(std::string(AO07_EXAMPLES_DIR "/") + name + ".csv"))
            << name;
    }
}

TEST(Ao07Decode, ExplainsFailuresOnOneLineWithStatusOne) {
    struct Case {
        const char* args;
        const char* message;
    };
    const Case cases[] = {
        {"missing.txt",
         "ao07-decode: cannot read log \"missing.txt\": No such file or directory\n"},
        {".", "ao07-decode: cannot read log \".\": Is a directory\n"},
        {"-o no/such/dir/out.csv log.txt",
         "ao07-decode: cannot write \"no/such/dir/out.csv\": No such file or directory\n"},
        {"-o /dev/full log.txt",
         "ao07-decode: cannot write \"/dev/full\": No space left on device\n"},
    };
    test::TempDir dir;
    dir.Write("log.txt", kFrame);
    for (const auto& c : cases) {
        const Outcome run = Decode(dir, c.args);
        EXPECT_EQ(run.status, 1) << c.args;
        EXPECT_EQ(run.err, c.message) << c.args;
    }
}

TEST(Ao07Decode, RejectsBadUsageWithStatusTwo) {
    test::TempDir dir;
    for (const char* args : {"", "-x log.txt", "a.txt b.txt", "log.txt -o"}) {
        const Outcome run = Decode(dir, args);
        EXPECT_EQ(run.status, 2) << args;
        EXPECT_NE(run.err.find("Try 'ao07-decode --help'."), std::string::npos) << args;
        EXPECT_EQ(run.out, "") << args;
    }
}

TEST(Ao07Decode, PrintsHelpAndVersion) {
    test::TempDir dir;
    const Outcome help = Decode(dir, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: ao07-decode [-o FILE] LOG\n", 0), 0u);
    EXPECT_EQ(Decode(dir, "-h").out, help.out);
    const Outcome version = Decode(dir, "--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "ao07-decode 0.5.0\n");
}

}  // namespace
}  // namespace ao07
