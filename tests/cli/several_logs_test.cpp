// ao07-decode with several logs: one header, then each log's records as if it were the only one.

#include <gtest/gtest.h>

#include <string>

#include "cli/decode_process.h"
#include "support/temp_dir.h"

namespace ao07::test {
namespace {

/// Output without its header line.
std::string Records(const std::string& output) {
    const auto end = output.find("\r\n");
    return end == std::string::npos ? output : output.substr(end + 2);
}

TEST(SeveralLogs, EachLogIsDecodedAloneAndAnUnreadableOneIsSkipped) {
    TempDir dir;
    dir.Write("a.txt", kFrame);
    // Rows without header fields, and a row before them: a log carrying nothing from "a.txt"
    // must have an empty date and time and orbit 0.
    dir.Write("b.txt", "350 301 301 301\r\n" + kFrame.substr(kFrame.find("HI HI")));
    const std::string a = Decode(dir, "a.txt").out;
    const std::string b = Records(Decode(dir, "b.txt").out);
    ASSERT_EQ(b.rfind(",,0,", 0), 0u) << b;
    struct Case {
        const char* args;
        const char* stdinText;
        std::string out;
        int status;
        const char* err;
    };
    const Case cases[] = {
        {"a.txt b.txt", "", a + b, 0, ""},
        {"a.txt b.txt a.txt", "", a + b + Records(a), 0, ""},
        {"a.txt - b.txt", "650 650 650 650\r\n", a + ",,0,,,,,,1.603,285.000,102.500,0.500\r\n" + b,
         0, ""},
        {"missing.txt a.txt . b.txt", "", a + b, 1,
         "ao07-decode: The log \"missing.txt\" could not be opened: No such file or directory.\n"
         "ao07-decode: The log \".\" could not be opened: Is a directory.\n"},
        {"missing.txt", "", "", 1,
         "ao07-decode: The log \"missing.txt\" could not be opened: No such file or directory.\n"},
    };
    for (const Case& c : cases) {
        const Outcome run = Decode(dir, c.args, c.stdinText);
        EXPECT_EQ(run.status, c.status) << c.args;
        EXPECT_EQ(run.out, c.out) << c.args;
        EXPECT_EQ(run.err, c.err) << c.args;
    }
}

TEST(SeveralLogs, NeverWritesOverALogAndLeavesTheOutputAloneWhenNoLogCanBeRead) {
    TempDir dir;
    dir.Write("a.txt", kFrame);
    dir.Write("b.txt", kFrame);
    dir.Write("old.csv", "kept");
    struct Case {
        const char* args;
        const char* err;
    };
    const Case cases[] = {
        {"-o b.txt a.txt b.txt", "ao07-decode: cannot write \"b.txt\": It is the log being read\n"},
        {"-o old.csv missing.txt",
         "ao07-decode: The log \"missing.txt\" could not be opened: No such file or directory.\n"},
    };
    for (const Case& c : cases) {
        const Outcome run = Decode(dir, c.args, kFrame);
        EXPECT_EQ(run.status, 1) << c.args;
        EXPECT_EQ(run.err, c.err) << c.args;
    }
    EXPECT_EQ(ReadFile(dir.File("b.txt")), kFrame);
    EXPECT_EQ(ReadFile(dir.File("old.csv")), "kept");
}

TEST(SeveralLogs, AFullDiskStopsTheRunWithTheRecordMessage) {
    TempDir dir;
    dir.Write("a.txt", kFrame);
    const Outcome run = Decode(dir, "-o /dev/full a.txt a.txt");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "ao07-decode: cannot write \"/dev/full\": No space left on device\n");
    const Outcome json = Decode(dir, "--format jsonl -o /dev/full a.txt a.txt");
    EXPECT_EQ(json.status, 1);
    EXPECT_EQ(json.err,
              "ao07-decode: The output \"/dev/full\" could not be written: No space left on "
              "device. Nothing more goes to it; what was written before is kept whole.\n");
}

}  // namespace
}  // namespace ao07::test
