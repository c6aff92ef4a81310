// A log that another program replaces or truncates while it is open, against both front ends.
// The reader keeps the file it opened: a log replaced by renaming is read on unchanged, and a
// log cut short ends early and cleanly, every record before intact.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>

#include "decoder/csv_record.h"
#include "decoder/main_module.h"
#include "robustness/front_ends.h"
#include "robustness/logs.h"
#include "support/recording_panel.h"
#include "support/temp_dir.h"

namespace ao07::test {
namespace {

// Several blocks of the reader's 64 KiB buffer, so that changing the file can matter; more for
// ao07-decode, which must still be reading when it is stopped.
constexpr std::size_t kWindowFrames = 3000;
constexpr std::size_t kDecoderFrames = 40000;

/// Another log of `frames` frames whose records all differ from kRecord.
std::string OtherLog(std::size_t frames) {
    std::string frame = kFrame;
    frame.replace(frame.find("12345"), 5, "99999");
    return Repeat(frame, frames);
}

off_t FileSize(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_size : 0;
}

enum class Change { kReplace, kTruncateToNothing, kTruncateToHalf };

void ChangeLog(const TempDir& dir, const std::string& path, std::size_t frames, Change change) {
    switch (change) {
        case Change::kReplace:
            // An editor saving its copy: a new file renamed over the old name.
            ASSERT_EQ(std::rename(dir.Write("new.txt", OtherLog(frames)).c_str(), path.c_str()), 0);
            break;
        case Change::kTruncateToNothing:
            ASSERT_EQ(::truncate(path.c_str(), 0), 0);
            break;
        case Change::kTruncateToHalf:
            ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(frames * kFrame.size() / 2)), 0);
            break;
    }
}

/// Checks a CSV file written from a changed log: the header and whole records of the first log
/// only, `all` of them when the log was replaced, fewer when it was cut short.
void ExpectRecordsOfTheFirstLog(const std::string& csv, std::size_t frames, Change change,
                                std::size_t atLeast) {
    std::string_view partial;
    const std::size_t lines = CountWholeLines(csv, &partial);
    EXPECT_EQ(partial, "");
    ASSERT_GE(lines, 1 + atLeast);
    EXPECT_TRUE(SameBytes(csv, CsvWithRecords(kRecord, lines - 1)));
    if (change == Change::kReplace) {
        EXPECT_EQ(lines - 1, frames);
    } else {
        EXPECT_LT(lines - 1, frames);
    }
}

class LogChanged : public ::testing::TestWithParam<Change> {};

TEST_P(LogChanged, WhileTheWindowStepsThroughIt) {
    TempDir dir;
    const std::string path = dir.Write("log.txt", Repeat(kFrame, kWindowFrames));
    const std::string csv = dir.File("ao-07.csv");
    RecordingPanel panel;
    MainModule module(panel);
    ASSERT_EQ(module.StartCsvOutput(csv), "");
    ASSERT_EQ(module.OpenLog(path), "");

    const std::size_t before = 5;  // frames stepped through before the log changes
    for (std::size_t i = 0; i < before * kFrameLines; ++i) {
        module.AdvanceOneLine();
    }
    ChangeLog(dir, path, kWindowFrames, GetParam());
    std::size_t steps = 0;
    while (!module.State().AtEndOfFile && steps++ < kWindowFrames * kFrameLines) {
        module.AdvanceOneLine();
    }
    EXPECT_TRUE(module.State().AtEndOfFile);
    EXPECT_FALSE(module.State().CsvEnabled);
    const std::vector<std::string> end = {"csv on", "stepping on", "csv off", "stepping off",
                                          "log ended"};
    EXPECT_EQ(panel.events, end);
    ExpectRecordsOfTheFirstLog(ReadFile(csv), kWindowFrames, GetParam(), before);
}

TEST_P(LogChanged, WhileAo07DecodeReadsIt) {
    // ao07-decode is stopped once its first records are on disk, the log is changed, and it
    // is let go on.
    TempDir dir;
    const std::string path = dir.Write("log.txt", Repeat(kFrame, kDecoderFrames));
    const std::string out = dir.File("out.csv");
    ChildOptions options;
    options.workDir = dir.Path();
    options.stderrPath = dir.File("decoder.err");
    ChildProcess decoder({DecoderPath(), "-o", "out.csv", "log.txt"}, options);
    const auto firstRecords = static_cast<off_t>(CsvHeader().size() + 2 + kRecord.size() + 2);
    ASSERT_TRUE(WaitUntil([&] { return FileSize(out) >= firstRecords || !decoder.Running(); },
                          std::chrono::seconds(30)));
    decoder.Signal(SIGSTOP);
    const off_t written = FileSize(out);
    ChangeLog(dir, path, kDecoderFrames, GetParam());
    decoder.Signal(SIGCONT);
    const ProcessEnd end = decoder.Wait(std::chrono::seconds(60));

    EXPECT_FALSE(end.timedOut);
    EXPECT_EQ(end.status, 0);
    EXPECT_EQ(ReadFile(dir.File("decoder.err")), "");
    if (static_cast<std::size_t>(written) >= kDecoderFrames * (kRecord.size() + 2) / 2) {
        GTEST_SKIP() << "ao07-decode had read half the log before it could be stopped";
    }
    ExpectRecordsOfTheFirstLog(ReadFile(out), kDecoderFrames, GetParam(), 1);
}

std::string ChangeName(const ::testing::TestParamInfo<Change>& info) {
    switch (info.param) {
        case Change::kReplace:
            return "Replaced";
        case Change::kTruncateToNothing:
            return "TruncatedToNothing";
        case Change::kTruncateToHalf:
            return "TruncatedToHalf";
    }
    return "Unknown";
}

INSTANTIATE_TEST_SUITE_P(ReplacedOrTruncated, LogChanged,
                         ::testing::Values(Change::kReplace, Change::kTruncateToNothing,
                                           Change::kTruncateToHalf),
                         ChangeName);

}  // namespace
}  // namespace ao07::test
