// A CSV file that cannot be created or stops taking records part-way, against both front ends:
// one clear message, status 1 for ao07-decode, CSV output switched off in the window, and every
// record written before kept whole.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "core/output_file.h"
#include "decoder/csv_record.h"
#include "decoder/main_module.h"
#include "robustness/file_size_limit.h"
#include "robustness/front_ends.h"
#include "robustness/logs.h"
#include "support/recording_panel.h"
#include "support/temp_dir.h"

namespace ao07::test {
namespace {

struct UnwritableCase {
    const char* name;
    const char* csvPath;  // relative to the test's folder
    const char* reason;
};

/// Folders and files that stop every user, root included.
const UnwritableCase kUnwritable[] = {
    {"folder missing", "no-such-folder/ao-07.csv", "No such file or directory"},
    {"a folder in place of the file", "folder-named-csv", "Is a directory"},
    {"a path under a regular file", "plain.txt/ao-07.csv", "Not a directory"},
    {"a full disk", "/dev/full", "No space left on device"},
};

TEST(CsvOutput, AFileThatCannotBeCreatedLeavesCsvOffAndTheLogReadable) {
    for (const UnwritableCase& c : kUnwritable) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        ASSERT_EQ(::mkdir(dir.File("folder-named-csv").c_str(), 0755), 0);
        dir.Write("plain.txt", "keep me");
        dir.Write("log.txt", kFrame);
        const std::string csvPath = c.csvPath[0] == '/' ? c.csvPath : dir.File(c.csvPath);

        // The window: switching CSV output on fails with the reason and leaves it off; the log
        // is then stepped to its end as usual, without further messages.
        const LibraryRun library = StepLogToItsEnd(dir.File("log.txt"), csvPath, kFrameLines + 2);
        EXPECT_EQ(library.csvError, c.reason);
        EXPECT_TRUE(library.ended);
        EXPECT_EQ(library.endMessages, 1);
        EXPECT_TRUE(library.errors.empty());
        EXPECT_FALSE(library.csvOnAfterwards);

        // ao07-decode: one line naming the file and the reason, status 1, nothing written.
        const DecoderRun decoder = RunDecoder(dir, {"-o", c.csvPath, "log.txt"});
        EXPECT_EQ(decoder.end.status, 1);
        EXPECT_EQ(decoder.err, std::string("ao07-decode: cannot write \"") + c.csvPath +
                                   "\": " + c.reason + "\n");
        EXPECT_EQ(decoder.out, "");

        struct stat info {};
        EXPECT_EQ(::stat(dir.File("folder-named-csv").c_str(), &info), 0);
        EXPECT_TRUE(S_ISDIR(info.st_mode));
        EXPECT_EQ(ReadFile(dir.File("plain.txt")), "keep me");
    }
}

TEST(CsvOutput, AFolderWithoutWritePermissionIsReported) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "running as root, which writes into any folder whatever its permissions";
    }
    TempDir dir;
    ASSERT_EQ(::mkdir(dir.File("locked").c_str(), 0555), 0);
    dir.Write("log.txt", kFrame);
    const LibraryRun library =
        StepLogToItsEnd(dir.File("log.txt"), dir.File("locked/ao-07.csv"), kFrameLines + 2);
    EXPECT_EQ(library.csvError, "Permission denied");
    const DecoderRun decoder = RunDecoder(dir, {"-o", "locked/ao-07.csv", "log.txt"});
    EXPECT_EQ(decoder.end.status, 1);
    EXPECT_EQ(decoder.err, "ao07-decode: cannot write \"locked/ao-07.csv\": Permission denied\n");
}

TEST(CsvOutput, TheLogBeingReadIsNeverEmptiedToTakeTheCsvOutput) {
    TempDir dir;
    const std::string log = dir.Write("log.txt", kFrame + kFrame);
    ASSERT_EQ(::symlink("log.txt", dir.File("link.csv").c_str()), 0);

    // The window: the log is open when the CSV switch (or a name that leads to the log) would
    // take it over; the switch stays off and the log is read to its end untouched.
    RecordingPanel panel;
    MainModule module(panel);
    ASSERT_EQ(module.OpenLog(log), "");
    EXPECT_EQ(module.StartCsvOutput(log), kOutputIsALog);
    EXPECT_EQ(module.StartCsvOutput(dir.File("link.csv")), kOutputIsALog);
    EXPECT_FALSE(module.State().CsvEnabled);
    int steps = 0;
    while (!module.State().AtEndOfFile && steps++ < 30) {
        module.AdvanceOneLine();
    }
    EXPECT_EQ(steps, static_cast<int>(2 * kFrameLines + 1));
    EXPECT_EQ(ReadFile(log), kFrame + kFrame);

    // ao07-decode: one line, status 1, the log as it was.
    for (const char* output : {"log.txt", "link.csv"}) {
        const DecoderRun decoder = RunDecoder(dir, {"-o", output, "log.txt"});
        EXPECT_EQ(decoder.end.status, 1) << output;
        EXPECT_EQ(decoder.err, std::string("ao07-decode: cannot write \"") + output +
                                   "\": It is the log being read\n");
        EXPECT_EQ(ReadFile(log), kFrame + kFrame) << output;
    }
}

// The disk fills up in the middle of the third record of four.
const std::size_t kRecordsThatFit = 2;
rlim_t SizeAtWhichTheDiskIsFull() {
    return CsvHeader().size() + 2 + kRecordsThatFit * (kRecord.size() + 2) + kRecord.size() / 2;
}

TEST(CsvOutput, ADiskThatFillsUpSwitchesCsvOffAndKeepsTheRecordsBefore) {
    TempDir dir;
    const std::string log = dir.Write("log.txt", Repeat(kFrame, 4));
    const std::string csv = dir.File("ao-07.csv");

    RecordingPanel panel;
    MainModule module(panel);
    std::size_t steps = 0;
    {
        FileSizeLimit full(SizeAtWhichTheDiskIsFull());
        ASSERT_TRUE(full.Active());
        ASSERT_EQ(module.StartCsvOutput(csv), "");
        ASSERT_EQ(module.OpenLog(log), "");
        while (!module.State().AtEndOfFile && steps++ < 4 * kFrameLines + 1) {
            module.AdvanceOneLine();
        }
    }
    // One message, the switch cleared, the rest of the log stepped as usual, and the file holds
    // the header and the two whole records, without the piece of the third.
    const std::vector<std::string> expected = {
        "error: The record could not be written to \"" + csv +
            "\": File too large. CSV output is switched off; the records written before are "
            "kept.",
        "csv off", "stepping off", "log ended"};
    ASSERT_GE(panel.events.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(panel.events.begin() + 2, panel.events.end()), expected);
    EXPECT_EQ(steps, 4 * kFrameLines + 1);
    EXPECT_FALSE(module.State().CsvEnabled);
    EXPECT_FALSE(panel.csvOn);
    EXPECT_TRUE(SameBytes(ReadFile(csv), CsvWithRecords(kRecord, kRecordsThatFit)));

    // ao07-decode stops at the failed record: one line on standard error and status 1.
    const DecoderRun decoder =
        RunDecoder(dir, {"-o", "out.csv", "log.txt"}, 60, SizeAtWhichTheDiskIsFull());
    EXPECT_EQ(decoder.end.status, 1);
    EXPECT_EQ(decoder.err,
              "ao07-decode: The output \"out.csv\" could not be written: File too large. "
              "Nothing more goes to it; what was written before is kept whole.\n");
    EXPECT_TRUE(SameBytes(ReadFile(dir.File("out.csv")), CsvWithRecords(kRecord, kRecordsThatFit)));
}

TEST(CsvOutput, ADiskThatFillsUpInAnyBlockLeavesWholeRecords) {
    // ao07-decode writes records in blocks while the next block collects: wherever the disk
    // fills, in the first block, a later one or the last, the file ends with a whole record.
    const std::size_t line = kRecord.size() + 2;
    const std::size_t perBlock = OutputFile::kBatchBytes / line + 1;
    const std::size_t frames = 3 * perBlock + perBlock / 2;
    TempDir dir;
    dir.Write("log.txt", Repeat(kFrame, frames));
    const std::size_t header = CsvHeader().size() + 2;
    for (const std::size_t fit : {perBlock / 3, perBlock + perBlock / 2, frames - 2}) {
        const DecoderRun run =
            RunDecoder(dir, {"-o", "out.csv", "log.txt"}, 60, header + fit * line + line / 2);
        EXPECT_EQ(run.end.status, 1) << fit;
        EXPECT_EQ(run.err,
                  "ao07-decode: The output \"out.csv\" could not be written: File too large. "
                  "Nothing more goes to it; what was written before is kept whole.\n")
            << fit;
        EXPECT_TRUE(SameBytes(ReadFile(dir.File("out.csv")), CsvWithRecords(kRecord, fit))) << fit;
    }
}

}  // namespace
}  // namespace ao07::test
