// ao07-decode --follow on a log that an operator types, an editor saves by rename, shortens,
// deletes and writes again, ended by SIGTERM.

#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <functional>
#include <string>

#include "robustness/front_ends.h"
#include "robustness/logs.h"
#include "support/temp_dir.h"

namespace ao07::test {
namespace {

void Append(const std::string& path, const std::string& bytes) {
    FILE* file = std::fopen(path.c_str(), "ab");
    ASSERT_NE(file, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

TEST(Follow, WritesEachRecordAsItsRowSixArrivesAndFollowsTheLogByName) {
    TempDir dir;
    const std::string log = dir.Write("log.txt", kFrame);
    const std::string out = dir.File("out.csv");
    ChildOptions options;
    options.workDir = dir.Path();
    options.stderrPath = dir.File("err.txt");
    ChildProcess decoder({DecoderPath(), "--follow", "-o", "out.csv", "log.txt"}, options);

    const std::string lastRow = "650 650 650 650\r\n";
    const std::string withoutLineEnd = kFrame.substr(0, kFrame.size() - 4);  // "... 650 6"
    struct Step {
        const char* what;
        std::function<void()> change;
        std::size_t records;  ///< records in the output afterwards
    };
    const Step steps[] = {
        {"the log as it stood", [] {}, 1},
        {"a row 6 whose line end has not arrived", [&] { Append(log, withoutLineEnd); }, 1},
        {"its line end", [&] { Append(log, "50\r\n"); }, 2},
        {"saved by rename with one frame more",
         [&] {
             dir.Write("new.txt", Repeat(kFrame, 3));
             ASSERT_EQ(std::rename(dir.File("new.txt").c_str(), log.c_str()), 0);
         },
         3},
        {"shortened to one frame: decoded again",
         [&] {
             ASSERT_EQ(::truncate(log.c_str(), 0), 0);
             Append(log, kFrame);
         },
         4},
        {"deleted", [&] { ASSERT_EQ(std::remove(log.c_str()), 0); }, 4},
        {"back under its name with one frame more", [&] { dir.Write("log.txt", kFrame + kFrame); },
         5},
    };
    for (const Step& step : steps) {
        step.change();
        // A record that must not come is given time to come anyway.
        ::usleep(400'000);
        EXPECT_TRUE(
            WaitUntil([&] { return ReadFile(out) == CsvWithRecords(kRecord, step.records); },
                      std::chrono::seconds(10)))
            << step.what << ": " << ReadFile(out).size() << " bytes";
    }
    decoder.Signal(SIGTERM);
    const ProcessEnd end = decoder.Wait(std::chrono::seconds(10));
    EXPECT_TRUE(end.exited);
    EXPECT_EQ(end.status, 0);
    EXPECT_EQ(ReadFile(out), CsvWithRecords(kRecord, 5));
    EXPECT_EQ(
        ReadFile(dir.File("err.txt")),
        "ao07-decode: log.txt: the log no longer begins with the lines already decoded; "
        "decoding it again from its first line\n"
        "ao07-decode: log.txt: the log is gone; waiting for it to come back under its name\n");
}

}  // namespace
}  // namespace ao07::test
