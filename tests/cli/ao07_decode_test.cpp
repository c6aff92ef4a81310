#include <gtest/gtest.h>

#include <string>

#include "cli/decode_process.h"
#include "support/temp_dir.h"

namespace ao07::test {
namespace {

const std::string kHeaderStart = "Date,Time,Orbit#,Total Solar Array Current (ma),";

TEST(Ao07Decode, WritesTheHeaderAndOneRecordPerFrameToStandardOutput) {
    TempDir dir;
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
    TempDir dir;
    const Outcome fromStdin = Decode(dir, "-o out.csv -", kFrame);
    EXPECT_EQ(fromStdin.status, 0) << fromStdin.err;
    EXPECT_EQ(fromStdin.out, "");
    const std::string written = ReadFile(dir.File("out.csv"));
    EXPECT_EQ(written.substr(written.find("\r\n") + 2), kRecord);

    dir.Write("log.txt", kFrame);
    EXPECT_EQ(Decode(dir, "log.txt").out, written);  // the same bytes either way
}

TEST(Ao07Decode, AgreesWithTheExampleLogs) {
    TempDir dir;
    for (const char* name : {"pass-1.txt", "pass-2.txt", "doubtful-frame.txt"}) {
        const Outcome run = Decode(dir, std::string("'" AO07_EXAMPLES_DIR "/") + name + "'");
        EXPECT_EQ(run.status, 0) << name << ": " << run.err;
        EXPECT_EQ(run.out, ReadFile(std::string(AO07_EXAMPLES_DIR "/") + name + ".csv")) << name;
    }
}

TEST(Ao07Decode, ExplainsFailuresOnOneLineWithStatusOne) {
    struct Case {
        const char* args;
        const char* message;
    };
    const Case cases[] = {
        {"missing.txt",
         "ao07-decode: The log \"missing.txt\" could not be opened: No such file or directory.\n"},
        {".", "ao07-decode: The log \".\" could not be opened: Is a directory.\n"},
        {"-o no/such/dir/out.csv log.txt",
         "ao07-decode: cannot write \"no/such/dir/out.csv\": No such file or directory\n"},
        {"-o /dev/full log.txt",
         "ao07-decode: cannot write \"/dev/full\": No space left on device\n"},
        {"--help >/dev/full",
         "ao07-decode: cannot write standard output: No space left on device\n"},
        {"--version >/dev/full",
         "ao07-decode: cannot write standard output: No space left on device\n"},
    };
    TempDir dir;
    dir.Write("log.txt", kFrame);
    for (const auto& c : cases) {
        const Outcome run = Decode(dir, c.args);
        EXPECT_EQ(run.status, 1) << c.args;
        EXPECT_EQ(run.err, c.message) << c.args;
    }
}

TEST(Ao07Decode, RejectsBadUsageWithStatusTwo) {
    TempDir dir;
    for (const char* args :
         {"", "-x log.txt", "- -", "log.txt -o", "--format xml log.txt", "--check --stats log.txt",
          "--follow a.txt b.txt", "--gaps --format jsonl log.txt", "--check --format jsonl log.txt",
          "--follow -", "-o '' log.txt"}) {
        const Outcome run = Decode(dir, args);
        EXPECT_EQ(run.status, 2) << args;
        EXPECT_NE(run.err.find("Try 'ao07-decode --help'."), std::string::npos) << args;
        EXPECT_EQ(run.out, "") << args;
    }
}

TEST(Ao07Decode, TakesEveryWordAfterDoubleDashAsALog) {
    TempDir dir;
    dir.Write("-x.txt", kFrame);
    dir.Write("--version", kFrame);
    const Outcome run = Decode(dir, "-- -x.txt --version");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.substr(run.out.find('\n') + 1), kRecord + kRecord);
}

TEST(Ao07Decode, PrintsHelpAndVersion) {
    TempDir dir;
    const Outcome help = Decode(dir, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: ao07-decode [OPTION]... LOG...\n", 0), 0u);
    for (const char* option : {"-o FILE", "--format csv", "--format jsonl", "--gaps", "--check",
                               "--stats", "--follow", "--version"}) {
        EXPECT_NE(help.out.find(std::string("  ") + option + " "), std::string::npos) << option;
    }
    EXPECT_EQ(Decode(dir, "-h").out, help.out);
    const Outcome version = Decode(dir, "--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "ao07-decode 0.5.0\n");
}

}  // namespace
}  // namespace ao07::test
