// The main window with bad input and a failing CSV file: one message, CSV output switched off,
// the records written before kept; and the window's process killed with SIGKILL while CSV
// output is on.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <string>

#include "decoder/csv_record.h"
#include "fuzz/log_steps_check.h"
#include "robustness/child_process.h"
#include "robustness/file_size_limit.h"
#include "robustness/logs.h"
#include "ui/main_window/main_window_fixture.h"

namespace ao07::test {
namespace {

class WindowRobustness : public MainWindowTest {
protected:
    /// Steps with Next until the end-of-log message has been shown, at most `limit` times.
    int ClickNextToTheEnd(int limit) {
        int clicks = 0;
        while (Button("butNext")->isEnabled() && clicks < limit) {
            Click("butNext");
            ++clicks;
        }
        return clicks;
    }
    int EndMessages() const {
        int count = 0;
        for (const auto& box : boxes->shown) {
            count += box.error ? 0 : 1;
        }
        return count;
    }
    std::string Csv() const { return ReadFile(dir.File(kCsvFileName)); }
};

TEST_F(WindowRobustness, ACsvWriteThatFailsSwitchesCsvOffOnceAndKeepsTheRecordsBefore) {
    const std::string log = dir.Write("log.txt", Repeat(kFrame, 4));
    ClickCsvSwitch();
    ASSERT_TRUE(CsvSwitch()->isChecked());
    OpenThroughMenu(log);
    int clicks = 0;
    {
        // The disk fills up in the middle of the third record.
        FileSizeLimit full(CsvHeader().size() + 2 + 2 * (kRecord.size() + 2) + 100);
        ASSERT_TRUE(full.Active());
        clicks = ClickNextToTheEnd(4 * kFrameLines + 5);
    }
    EXPECT_EQ(clicks, 4 * kFrameLines);  // the rest of the log is stepped as usual
    const std::vector<QString> errors = boxes->Errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], QStringLiteral("The record could not be written to \"ao-07.csv\": File "
                                        "too large. CSV output is switched off; the records "
                                        "written before are kept."));
    EXPECT_FALSE(CsvSwitch()->isChecked());
    EXPECT_EQ(EndMessages(), 1);
    EXPECT_TRUE(SameBytes(Csv(), CsvWithRecords(kRecord, 2)));
}

TEST_F(WindowRobustness, ACsvFileThatCannotBeCreatedLeavesTheSwitchOff) {
    ASSERT_EQ(::mkdir(dir.File(kCsvFileName).c_str(), 0755), 0);  // a folder in its place
    ClickCsvSwitch();
    EXPECT_FALSE(CsvSwitch()->isChecked());
    const std::vector<QString> errors = boxes->Errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("The CSV file \"")));
    EXPECT_TRUE(errors[0].endsWith(
        QStringLiteral("ao-07.csv\" could not be created: Is a directory. CSV output stays off.")));

    // The log is read all the same.
    OpenThroughMenu(dir.Write("log.txt", kFrame));
    EXPECT_EQ(ClickNextToTheEnd(kFrameLines + 5), static_cast<int>(kFrameLines));
    EXPECT_EQ(boxes->Errors().size(), 1u);
    EXPECT_EQ(EndMessages(), 1);
}

TEST_F(WindowRobustness, SpecialFilesAreRefusedAtOnceAsLogs) {
    // Opening a named pipe that no one writes to would wait for ever: the alarm ends the test
    // program instead of letting it hang.
    alarm(20);
    ASSERT_EQ(::mkfifo(dir.File("pipe.txt").c_str(), 0600), 0);
    const std::pair<std::string, const char*> cases[] = {
        {dir.File("pipe.txt"), "It is a named pipe, not an ordinary file"},
        {"/dev/zero", "It is a character device, not an ordinary file"},
    };
    for (const auto& [path, reason] : cases) {
        boxes->shown.clear();
        OpenThroughMenu(path);
        EXPECT_EQ(boxes->Errors(),
                  std::vector<QString>{
                      QStringLiteral("The log \"%1\" could not be opened: %2.")
                          .arg(QString::fromStdString(path), QString::fromLatin1(reason))});
        EXPECT_FALSE(Button("butNext")->isEnabled());
        EXPECT_FALSE(Button("butAutoStop")->isEnabled());
    }
    alarm(0);
    // The program goes on: an ordinary log opens and steps as usual.
    OpenThroughMenu(dir.Write("log.txt", kFrame));
    EXPECT_EQ(ClickNextToTheEnd(kFrameLines + 5), static_cast<int>(kFrameLines));
}

TEST_F(WindowRobustness, AHugeTimeFieldIsWrittenWholeAndShownCutWithoutHoldingTheWindow) {
    // A TIME line of 900 KB: laid out whole, the record took the window minutes.
    const std::string time = "14:32" + std::string(900'000, '7');
    std::string log = kFrame;
    log.replace(log.find("14:32"), 5, time);
    ClickCsvSwitch();
    ASSERT_TRUE(CsvSwitch()->isChecked());
    const auto start = std::chrono::steady_clock::now();
    OpenThroughMenu(dir.Write("log.txt", log));
    for (std::size_t line = 2; line <= kFrameLines; ++line) {
        Click("butNext");
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    std::string record = kRecord;
    record.replace(record.find("14:32"), 5, time);
    EXPECT_TRUE(SameBytes(Csv(), CsvWithRecords(record, 1)));
    // The screen shows the start of the field and of the record, and an ellipsis.
    const QString shownTime = Label(QStringLiteral("lblTime"))->text();
    EXPECT_EQ(shownTime.size(), 4097);
    EXPECT_TRUE(shownTime.startsWith(QStringLiteral("14:327777")));
    EXPECT_TRUE(shownTime.endsWith(QChar(u'\u2026')));
    EXPECT_TRUE(OutputData().startsWith(QStringLiteral("08-JUL-02,14:327777")));
    EXPECT_TRUE(OutputData().endsWith(QChar(u'\u2026')));
    EXPECT_TRUE(boxes->shown.empty());
}

TEST_F(WindowRobustness, BadLogsAreSteppedToTheirEnd) {
    std::string highBytes;
    for (int c = 0; c < 256; ++c) {
        highBytes.push_back(static_cast<char>(c));
    }
    const struct {
        const char* name;
        std::string log;
        std::size_t cutLines;  // lines longer than the reader keeps: one message per log
    } cases[] = {
        {"empty", "", 0},
        {"every byte value", Repeat(highBytes, 4) + "\r\n" + kFrame, 0},
        {"NUL inside a row", std::string("150 1\0\0 150 150\r\n", 17) + kFrame, 0},
        {"lone CR and lone LF", "ORBIT 1\rTIME 2\nDATE 3\r\n\r650 650 650 650\n", 0},
        {"ends mid-frame", kFrame + "HI HI\r\n150 150 150 150\r\n250 25", 0},
        // 4 MiB keeps the suite quick; the line box keeps only the start of a long line, and a
        // 64 MiB line (ao07-decode's and the step's case) takes the window a few seconds.
        {"two long lines", std::string(4 << 20, 'A') + "\r\n" + kFrame + std::string(2 << 20, 'B'),
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto lines = static_cast<int>(fuzz::SplitLogLines(c.log).size());
        const std::size_t records = fuzz::CountRowSixLines(fuzz::SplitLogLines(c.log));
        boxes->shown.clear();
        ClickCsvSwitch();
        ASSERT_TRUE(CsvSwitch()->isChecked());
        OpenThroughMenu(dir.Write("log.txt", c.log));
        const auto start = std::chrono::steady_clock::now();
        // File > Open took the first step.
        EXPECT_EQ(ClickNextToTheEnd(lines + 5) + 1, lines + 1);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
        EXPECT_EQ(boxes->Errors().size(), c.cutLines);
        EXPECT_EQ(EndMessages(), 1);
        EXPECT_FALSE(CsvSwitch()->isChecked());
        std::string_view partial;
        const std::string csv = Csv();
        EXPECT_EQ(CountWholeLines(csv, &partial), 1 + records);
        EXPECT_EQ(partial, "");
    }
}

TEST(WindowDurability, EveryRecordSurvivesASigkillOfTheWindowsProcess) {
    // The window runs in a process of its own (ao07_window_driver: the real frmMain with CSV
    // output on, clicking Next as fast as it can) on a log that comes through a named pipe, so
    // the test decides how far it gets: three whole frames and part of a fourth.
    const SigpipeIgnored sigpipeIgnored;
    TempDir dir;
    const std::string fifo = dir.File("log.txt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ChildOptions options;
    options.workDir = dir.Path();
    options.stderrPath = dir.File("window.err");
    ChildProcess window({AO07_WINDOW_DRIVER_PATH, fifo}, options);
    // The pipe opens once the window has opened the log; a window that died never does.
    int log = -1;
    ASSERT_TRUE(WaitUntil(
        [&] {
            log = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            return log >= 0 || !window.Running();
        },
        std::chrono::seconds(30)));
    ASSERT_GE(log, 0) << "the window ended: " << ReadFile(dir.File("window.err"));
    ASSERT_EQ(::fcntl(log, F_SETFL, 0), 0);

    const std::string csv = dir.File(kCsvFileName);
    for (std::size_t frames = 1; frames <= 3; ++frames) {
        ASSERT_EQ(::write(log, kFrame.data(), kFrame.size()), static_cast<ssize_t>(kFrame.size()));
        EXPECT_TRUE(WaitUntil([&] { return ReadFile(csv) == CsvWithRecords(kRecord, frames); },
                              std::chrono::seconds(20)))
            << "frame " << frames << ": " << ReadFile(dir.File("window.err"));
    }
    const std::string piece = "HI HI\r\n150 150 150 150\r\n250 250 250 250\r\n350 35";
    ASSERT_EQ(::write(log, piece.data(), piece.size()), static_cast<ssize_t>(piece.size()));
    window.Signal(SIGKILL);
    const ProcessEnd end = window.Wait(std::chrono::seconds(10));
    ::close(log);

    EXPECT_EQ(end.signal, SIGKILL);
    EXPECT_TRUE(SameBytes(ReadFile(csv), CsvWithRecords(kRecord, 3)));
}

}  // namespace
}  // namespace ao07::test
