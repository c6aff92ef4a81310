// ao07-decode killed with SIGKILL part-way: every record completed before is in the CSV file,
// whole, for each record goes to the operating system as soon as its row 6 is decoded.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <string>

#include "decoder/csv_record.h"
#include "robustness/front_ends.h"
#include "robustness/logs.h"
#include "support/temp_dir.h"
#include "support/write_all.h"

namespace ao07::test {
namespace {

TEST(Durability, EveryRecordIsInTheFileAsSoonAsItsFrameIsReadAndSurvivesSigkill) {
    // The log comes through a pipe that the test feeds one frame at a time, so the moment of
    // the kill is known: after three whole frames and in the middle of the fourth.
    const SigpipeIgnored sigpipeIgnored;
    TempDir dir;
    int pipe[2];
    ASSERT_EQ(::pipe2(pipe, O_CLOEXEC), 0);
    ChildOptions options;
    options.workDir = dir.Path();
    options.stdinFd = pipe[0];
    options.stderrPath = dir.File("decoder.err");
    ChildProcess decoder({DecoderPath(), "-o", "out.csv", "-"}, options);
    ::close(pipe[0]);

    const std::string out = dir.File("out.csv");
    for (std::size_t frames = 1; frames <= 3; ++frames) {
        ASSERT_TRUE(WriteAll(pipe[1], kFrame));
        // Nothing closes or flushes the file at this point: the record is there or not.
        EXPECT_TRUE(WaitUntil([&] { return ReadFile(out) == CsvWithRecords(kRecord, frames); },
                              std::chrono::seconds(10)))
            << "frame " << frames << ": " << ReadFile(out).size() << " bytes";
    }
    ASSERT_TRUE(WriteAll(pipe[1], "HI HI\r\n150 150 150 150\r\n250 250 250 250\r\n350 35"));
    decoder.Signal(SIGKILL);
    const ProcessEnd end = decoder.Wait(std::chrono::seconds(10));
    ::close(pipe[1]);

    EXPECT_EQ(end.signal, SIGKILL);
    EXPECT_TRUE(SameBytes(ReadFile(out), CsvWithRecords(kRecord, 3)));
}

TEST(Durability, AKillWhileRecordsPourOutLeavesOnlyWholeRecords) {
    // A long log read as fast as ao07-decode can: the kill falls at an arbitrary point. Every
    // whole line must be the header or a record; at most the line being written may be cut.
    TempDir dir;
    dir.Write("log.txt", Repeat(kFrame, 40000));
    ChildOptions options;
    options.workDir = dir.Path();
    ChildProcess decoder({DecoderPath(), "-o", "out.csv", "log.txt"}, options);
    const std::string out = dir.File("out.csv");
    ASSERT_TRUE(WaitUntil(
        [&] {
            struct stat info {};
            return (::stat(out.c_str(), &info) == 0 && info.st_size > 200000) || !decoder.Running();
        },
        std::chrono::seconds(30)));
    decoder.Signal(SIGKILL);
    const ProcessEnd end = decoder.Wait(std::chrono::seconds(10));
    if (end.exited) {
        GTEST_SKIP() << "ao07-decode finished the whole log before the kill";
    }
    EXPECT_EQ(end.signal, SIGKILL);

    const std::string csv = ReadFile(out);
    std::string_view partial;
    const std::size_t lines = CountWholeLines(csv, &partial);
    ASSERT_GE(lines, 2u);
    EXPECT_TRUE(SameBytes(std::string_view(csv).substr(0, csv.size() - partial.size()),
                          CsvWithRecords(kRecord, lines - 1)));
    EXPECT_EQ((kRecord + "\r\n").compare(0, partial.size(), partial), 0)
        << "the cut line is no piece of a record";
}

}  // namespace
}  // namespace ao07::test
