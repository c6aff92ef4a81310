// Bad logs against both front ends: the step procedure as the window drives it, and the real
// ao07-decode process. Every case must end (a step limit and a process deadline catch a hang),
// give its documented outcome, report failures in one clear message and keep CSV data that was
// written before. Each input is generated once and handed to both front ends.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <random>
#include <string>

#include "decoder/csv_record.h"
#include "decoder/main_module.h"
#include "fuzz/log_steps_check.h"
#include "robustness/front_ends.h"
#include "robustness/logs.h"
#include "support/recording_panel.h"
#include "support/temp_dir.h"

namespace ao07::test {
namespace {

// The line without terminator: 64 MiB.
constexpr std::size_t kHugeLineBytes = std::size_t{64} << 20;

/// Runs both front ends on the log at `logPath`, which has `lines` lines, and checks what every
/// readable log must give: one step per line and one for the end, one end-of-log message, no
/// error, CSV output off afterwards, exit status 0, and the CSV bytes `expectedCsv` from both
/// (when it is null, ao07-decode must write what the library wrote).
LibraryRun ExpectBothFrontEnds(const TempDir& dir, const std::string& logPath, std::size_t lines,
                               const std::string* expectedCsv,
                               const std::string& expectedErr = "") {
    const LibraryRun library = StepLogToItsEnd(logPath, dir.File("library.csv"), lines + 2);
    EXPECT_EQ(library.openError, "");
    EXPECT_TRUE(library.ended) << "the log did not end after " << library.steps << " steps";
    EXPECT_EQ(library.steps, lines + 1);
    EXPECT_EQ(library.endMessages, 1);
    EXPECT_TRUE(library.errors.empty()) << library.errors.front();
    EXPECT_FALSE(library.csvOnAfterwards);
    if (expectedCsv != nullptr) {
        EXPECT_TRUE(SameBytes(library.csv, *expectedCsv)) << "library";
    }

    const DecoderRun decoder = RunDecoder(dir, {"-o", "decoder.csv", logPath});
    EXPECT_FALSE(decoder.end.timedOut);
    EXPECT_TRUE(decoder.end.exited) << "ended by signal " << decoder.end.signal;
    EXPECT_EQ(decoder.end.status, 0);
    EXPECT_EQ(decoder.err, expectedErr);
    EXPECT_EQ(decoder.out, "");
    EXPECT_TRUE(SameBytes(ReadFile(dir.File("decoder.csv")),
                          expectedCsv != nullptr ? *expectedCsv : library.csv))
        << "ao07-decode";
    return library;
}

LibraryRun ExpectBothFrontEnds(const TempDir& dir, const std::string& logPath, std::size_t lines,
                               const std::string& expectedCsv) {
    return ExpectBothFrontEnds(dir, logPath, lines, &expectedCsv);
}

std::string Header() {
    return CsvHeader() + "\r\n";
}

TEST(BadInput, EmptyLogEndsAtTheFirstStepWithTheHeaderOnly) {
    TempDir dir;
    const LibraryRun run = ExpectBothFrontEnds(dir, dir.Write("log.txt", ""), 0, Header());
    EXPECT_EQ(run.lastLineSize, 0u);  // nothing was shown
}

TEST(BadInput, RandomBytesIncludingNulAreReadLineByLine) {
    // Four blocks of the reader's buffer of arbitrary bytes, NUL and every other value among
    // them, then a line end and a whole frame: the frame's record must come out intact.
    std::mt19937 random(20260707);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string log(256 * 1024, '\0');
    for (char& c : log) {
        c = static_cast<char>(byte(random));
    }
    ASSERT_NE(log.find('\0'), std::string::npos);
    log += "\r\n" + kFrame;

    TempDir dir;
    const auto lines = fuzz::SplitLogLines(log);
    const std::size_t records = fuzz::CountRowSixLines(lines);
    const LibraryRun run =
        ExpectBothFrontEnds(dir, dir.Write("log.bin", log), lines.size(), nullptr);
    std::string_view partial;
    EXPECT_EQ(CountWholeLines(run.csv, &partial), 1 + records);
    EXPECT_EQ(partial, "");
    ASSERT_GE(run.csv.size(), kRecord.size() + 2);
    EXPECT_EQ(run.csv.substr(run.csv.size() - kRecord.size() - 2), kRecord + "\r\n");
}

TEST(BadInput, NulInsideATelemetryRowEndsThatValueOnly) {
    // Slot B of row 1 holds "1" and a NUL: it reads as 1, for the number stops at the NUL.
    // A NUL in the date is passed on to the record.
    std::string row = "150 150 150 150";
    row[5] = '1';
    row[6] = '\0';
    std::string log = kFrame;
    log.replace(log.find("150 150 150 150"), 15, row);
    log.replace(log.find("08-JUL-02"), 9, std::string("08\0JUL-02", 9));
    std::string record = kRecord;
    record.replace(record.find("1475.000,0.970"), 14, "1475.000,1.950");  // 1B at raw 1
    record.replace(0, 9, std::string("08\0JUL-02", 9));

    TempDir dir;
    const LibraryRun run = ExpectBothFrontEnds(dir, dir.Write("log.txt", log), kFrameLines,
                                               Header() + record + "\r\n");
    EXPECT_EQ(run.lastLineSize, 15u);
}

TEST(BadInput, BytesAbove0x7FArePassedOnUnchanged) {
    std::string high;
    for (int c = 0x80; c <= 0xFF; ++c) {
        high.push_back(static_cast<char>(c));
    }
    // A date and a time of every byte 0x80-0xFF, a 15-character line of such bytes (no row),
    // and a row 1 whose values are such bytes (all read as 0).
    std::string log = kFrame;
    log.replace(log.find("08-JUL-02"), 9, high);
    log.replace(log.find("14:32"), 5, high);
    log.replace(log.find("HI HI"), 5, high.substr(0x30, 15));
    log.replace(log.find("150 150 150 150"), 15,
                "1" + high.substr(0, 3) + "1" + high.substr(3, 3) + "1" + high.substr(6, 3) + "1" +
                    high.substr(9, 2));
    std::string record = kRecord;
    record.replace(record.find("1475.000,0.970,0.970,0.970"), 26, "0.000,1.970,1.970,1.970");
    record.replace(record.find("14:32"), 5, high);
    record.replace(0, 9, high);

    TempDir dir;
    ExpectBothFrontEnds(dir, dir.Write("log.txt", log), kFrameLines, Header() + record + "\r\n");
}

TEST(BadInput, LoneCrLoneLfAndMixedLineEndsGiveTheSameRecords) {
    const std::string crlf = kFrame + kFrame;
    std::string cr = crlf;
    std::string lf = crlf;
    std::string mixed;
    for (std::size_t i = 0, line = 0; i < crlf.size(); ++i) {
        if (crlf.compare(i, 2, "\r\n") != 0) {
            mixed.push_back(crlf[i]);
            continue;
        }
        const char* ends[] = {"\r\n", "\r", "\n"};
        mixed += ends[line++ % 3];
        ++i;
    }
    for (std::size_t at; (at = cr.find("\r\n")) != std::string::npos;) {
        cr.replace(at, 2, "\r");
    }
    for (std::size_t at; (at = lf.find("\r\n")) != std::string::npos;) {
        lf.replace(at, 2, "\n");
    }
    const struct {
        const char* name;
        std::string log;
    } cases[] = {{"CR LF", crlf}, {"CR", cr}, {"LF", lf}, {"mixed", mixed}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        ExpectBothFrontEnds(dir, dir.Write("log.txt", c.log), 2 * kFrameLines,
                            CsvWithRecords(kRecord, 2));
    }
}

TEST(BadInput, HugeLineWithoutTerminatorIsOneLine) {
    // An orbit line of 64 MiB of digits and no line end after a whole frame: the frame's record
    // stands, the huge line is one step, cut to its first MiB so that memory stays small, and a
    // number that large is no orbit number (0).
    TempDir dir;
    const std::string path = dir.File("log.txt");
    {
        std::ofstream out(path, std::ios::binary);
        out << kFrame << "ORBIT ";
        const std::string block(1 << 20, '9');
        for (std::size_t written = 0; written < kHugeLineBytes; written += block.size()) {
            out << block;
        }
    }
    // The cut is no secret: ao07-decode says so on standard error and still exits with 0.
    const std::string csv = CsvWithRecords(kRecord, 1);
    const LibraryRun run = ExpectBothFrontEnds(
        dir, path, kFrameLines + 1, &csv,
        "ao07-decode: " + path + ": Line 11 of the log is longer than 1 MiB; only its first " +
            "MiB was read.\n");
    EXPECT_EQ(run.lastLineSize, LogFile::kMaxLineLength);
    EXPECT_EQ(run.orbit, "0");
}

TEST(BadInput, AMillionRowsGiveOneRecordPerRowSix) {
    const std::size_t rows = 1000000;
    std::string log = "ORBIT 12345\r\nTIME 14:32\r\nDATE 08-JUL-02\r\n";
    log.reserve(log.size() + rows * 17);
    for (std::size_t i = 0; i < rows; ++i) {
        const char row = static_cast<char>('1' + i % 6);
        log += std::string{row, '5', '0', ' ', row, '5', '0',  ' ', row,
                           '5', '0', ' ', row, '5', '0', '\r', '\n'};
    }
    TempDir dir;
    ExpectBothFrontEnds(dir, dir.Write("log.txt", log), rows + 3,
                        CsvWithRecords(kRecord, rows / 6));
}

TEST(BadInput, ALogEndingInTheMiddleOfAFrameKeepsTheFramesBefore) {
    // The second frame stops after row 2, in the middle of row 3's third group.
    const std::string log = kFrame + "HI HI\r\n150 150 150 150\r\n250 250 250 250\r\n350 350 35";
    TempDir dir;
    ExpectBothFrontEnds(dir, dir.Write("log.txt", log), kFrameLines + 4,
                        CsvWithRecords(kRecord, 1));
}

TEST(BadInput, AFolderOrAMissingFileAsTheLogIsReportedAndTouchesNoCsv) {
    const struct {
        const char* name;
        const char* reason;
    } cases[] = {{"folder", "Is a directory"}, {"missing.txt", "No such file or directory"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        ASSERT_EQ(::mkdir(dir.File("folder").c_str(), 0755), 0);

        // The window: a frame of the first log is in the CSV file when File > Open picks the
        // bad name. The open fails with the reason, no log is open, Next does nothing, and the
        // CSV file keeps its record.
        RecordingPanel panel;
        MainModule module(panel);
        ASSERT_EQ(module.StartCsvOutput(dir.File("library.csv")), "");
        ASSERT_EQ(module.OpenLog(dir.Write("first.txt", kFrame + kFrame)), "");
        for (std::size_t i = 0; i < kFrameLines + 2; ++i) {
            module.AdvanceOneLine();
        }
        module.CloseCurrentLog();
        EXPECT_EQ(module.OpenLog(dir.File(c.name)), c.reason);
        EXPECT_EQ(module.State().InputFileName, "");
        const std::string shown = panel.rawLine;
        module.AdvanceOneLine();
        EXPECT_EQ(panel.rawLine, shown);
        EXPECT_EQ(ReadFile(dir.File("library.csv")), CsvWithRecords(kRecord, 1));

        // ao07-decode: one line, status 1, and an existing output file is not emptied.
        const std::string earlier = CsvWithRecords(kRecord, 2);
        dir.Write("decoder.csv", earlier);
        const DecoderRun decoder = RunDecoder(dir, {"-o", "decoder.csv", c.name});
        EXPECT_EQ(decoder.end.status, 1);
        EXPECT_EQ(decoder.err, "ao07-decode: " + LogOpenMessage(c.name, c.reason) + "\n");
        EXPECT_EQ(ReadFile(dir.File("decoder.csv")), earlier);
    }
}

TEST(BadInput, ALogThatCannotBeReadToItsEndIsReportedOnceAndKeepsTheCsv) {
    // A folder as standard input: opening works, reading fails.
    TempDir dir;
    RecordingPanel panel;
    MainModule module(panel);
    ASSERT_EQ(module.StartCsvOutput(dir.File("library.csv")), "");
    const int folder = ::open(dir.Path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(folder, 0);
    module.OpenLogFromDescriptor(folder, "standard input");
    module.AdvanceOneLine();
    ::close(folder);
    EXPECT_TRUE(module.State().AtEndOfFile);
    const std::vector<std::string> events = {
        "csv on",
        "stepping on",
        "csv off",
        "stepping off",
        "error: The log \"standard input\" could not be read to its end: Is a directory.",
        "log ended"};
    EXPECT_EQ(panel.events, events);
    EXPECT_EQ(ReadFile(dir.File("library.csv")), Header());

    std::vector<std::string> argv = {DecoderPath(), "-o", "decoder.csv", "-"};
    ChildOptions options;
    options.workDir = dir.Path();
    options.stdinPath = dir.Path();
    options.stderrPath = dir.File("decoder.err");
    ChildProcess decoder(argv, options);
    EXPECT_EQ(decoder.Wait(std::chrono::seconds(60)).status, 1);
    EXPECT_EQ(ReadFile(dir.File("decoder.err")),
              "ao07-decode: The log \"standard input\" could not be read to its end: Is a "
              "directory.\n");
    EXPECT_EQ(ReadFile(dir.File("decoder.csv")), Header());
}

}  // namespace
}  // namespace ao07::test
