#include "decoder/main_module.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <string>
#include <vector>

#include "decoder/channel_equations.h"
#include "decoder/csv_record.h"
#include "support/recording_panel.h"
#include "support/temp_dir.h"

namespace ao07 {
namespace {

const std::string kWorkedFrame =
    "ORBIT 12345\r\nTIME 14:32\r\nDATE 08-JUL-02\r\nHI HI\r\n150 150 150 150\r\n"
    "250 250 250 250\r\n350 350 350 350\r\n450 450 450 450\r\n550 550 550 550\r\n"
    "650 650 650 650\r\n";
const std::string kWorkedRecord =
    "08-JUL-02,14:32,12345,1475.000,0.970,0.970,0.970,1.475,2.000,758.000,0.000,11.400,5.000,"
    "7.500,21.800,21.800,21.800,21.800,21.800,21.800,583.500,21.800,52.000,1.603,285.000,102.500,"
    "0.500";

/// The step procedure as a front end drives it, with the CSV file in a temporary folder.
class MainModuleTest : public ::testing::Test {
protected:
    void SwitchCsvOn() { ASSERT_EQ(module.StartCsvOutput(CsvPath()), ""); }
    void OpenLog(const std::string& bytes, const std::string& name = "log.txt") {
        module.CloseCurrentLog();
        ASSERT_EQ(module.OpenLog(dir.Write(name, bytes)), "");
        module.AdvanceOneLine();
    }
    void Step(int count) {
        for (int i = 0; i < count; ++i) {
            module.AdvanceOneLine();
        }
    }
    std::string CsvPath() const { return dir.File(kCsvFileName); }
    std::string Csv() const { return test::ReadFile(CsvPath()); }

    test::TempDir dir;
    test::RecordingPanel panel;
    MainModule module{panel};
};

TEST_F(MainModuleTest, AWholeFrameWritesOneRecordByteForByte) {
    SwitchCsvOn();
    EXPECT_EQ(panel.outputData, CsvHeader());
    OpenLog(kWorkedFrame);
    Step(8);
    EXPECT_EQ(Csv(), CsvHeader() + "\r\n");  // nothing before row 6
    Step(1);
    EXPECT_EQ(Csv(), CsvHeader() + "\r\n" + kWorkedRecord + "\r\n");
    EXPECT_EQ(panel.outputData, kWorkedRecord);
    for (int channel = 1; channel <= 24; ++channel) {
        EXPECT_EQ(panel.rawValue[channel], "50") << channel;
    }
    EXPECT_EQ(panel.channelText[1], "1475.000");
    EXPECT_EQ(panel.channelText[24], "0.500");

    Step(1);  // the end of the log switches CSV output off and keeps the file
    EXPECT_TRUE(module.State().AtEndOfFile);
    EXPECT_FALSE(module.State().CsvEnabled);
    EXPECT_EQ(Csv(), CsvHeader() + "\r\n" + kWorkedRecord + "\r\n");
}

TEST_F(MainModuleTest, LinesThatAreNoRowsChangeNoChannelAndWriteNothing) {
    SwitchCsvOn();
    OpenLog("ORBIT 5\r\nHI HI\r\nsomething else\r\n");
    Step(2);
    EXPECT_TRUE(panel.rawValue.empty());
    EXPECT_TRUE(panel.channelText.empty());
    EXPECT_EQ(panel.outputData, CsvHeader());
    EXPECT_EQ(Csv(), CsvHeader() + "\r\n");
}

TEST_F(MainModuleTest, RowFragmentsLiveFromFrameToFrame) {
    SwitchCsvOn();
    // Row 6 first: five empty fragments. Then a frame without row 2 reuses the old row 2, and a
    // row given twice keeps its later values; a second row 6 writes a second record.
    OpenLog(
        "650 650 650 650\r\n"
        "100 100 100 100\r\n200 200 200 200\r\n650 650 650 650\r\n"
        "101 101 101 101\r\n101 101 101 199\r\n650 650 650 650\r\n650 650 650 650\r\n");
    Step(7);
    const std::string row6 = "1.603,285.000,102.500,0.500";
    const std::string row1 = "0.000,1.970,1.970,1.970";
    const std::string row1Twice = "29.500,1.950,1.950,-0.010";
    const std::string row2 = "0.000,8.000,0.000,-2.000";
    const std::string expected = CsvHeader() + "\r\n" + ",,0,,,,,," + row6 + "\r\n" +   //
                                 ",,0," + row1 + "," + row2 + ",,,," + row6 + "\r\n" +  //
                                 ",,0," + row1Twice + "," + row2 + ",,,," + row6 + "\r\n" + ",,0," +
                                 row1Twice + "," + row2 + ",,,," + row6 + "\r\n";
    EXPECT_EQ(Csv(), expected);
}

TEST_F(MainModuleTest, WithCsvOffRowSixWritesNothing) {
    panel.outputData = "kept";
    OpenLog(kWorkedFrame);
    Step(9);
    EXPECT_EQ(panel.outputData, "kept");
    EXPECT_EQ(Csv(), "<missing>");
    EXPECT_EQ(panel.channelText[24], "0.500");
}

TEST_F(MainModuleTest, CsvSwitchedOnMidFrameUsesRowsDecodedBefore) {
    OpenLog(kWorkedFrame);
    Step(6);  // rows 1 to 3 decoded
    SwitchCsvOn();
    Step(3);
    EXPECT_EQ(Csv(), CsvHeader() + "\r\n" + kWorkedRecord + "\r\n");
}

TEST_F(MainModuleTest, SwitchingCsvOnAgainStartsTheFileAfresh) {
    SwitchCsvOn();
    OpenLog(kWorkedFrame + kWorkedFrame);
    Step(9);
    module.StopCsvOutput();
    SwitchCsvOn();
    EXPECT_EQ(Csv(), CsvHeader() + "\r\n");
}

TEST_F(MainModuleTest, OpeningAnotherLogSwitchesCsvOffAndKeepsItsRecords) {
    SwitchCsvOn();
    OpenLog(kWorkedFrame);
    Step(9);
    OpenLog(kWorkedFrame, "second.txt");
    EXPECT_FALSE(module.State().CsvEnabled);
    EXPECT_FALSE(panel.csvOn);
    Step(9);
    EXPECT_EQ(Csv(), CsvHeader() + "\r\n" + kWorkedRecord + "\r\n");
}

TEST_F(MainModuleTest, CsvSwitchedOnWithNoLogOpenCollectsTheNextLog) {
    SwitchCsvOn();
    module.CloseCurrentLog();  // nothing open: nothing closed
    EXPECT_TRUE(module.State().CsvEnabled);
    OpenLog(kWorkedFrame);
    Step(9);
    EXPECT_EQ(Csv(), CsvHeader() + "\r\n" + kWorkedRecord + "\r\n");
}

TEST_F(MainModuleTest, ALogThatCannotBeOpenedLeavesNoLogOpen) {
    EXPECT_EQ(module.OpenLog(dir.Path()), "Is a directory");
    EXPECT_EQ(module.State().InputFileName, "");
    module.AdvanceOneLine();  // does nothing
    EXPECT_EQ(panel.events, std::vector<std::string>{"stepping off"});
}

TEST_F(MainModuleTest, ACsvFileThatCannotBeCreatedLeavesCsvOutputOff) {
    EXPECT_EQ(module.StartCsvOutput(dir.File("no-such-folder/ao-07.csv")),
              "No such file or directory");
    EXPECT_FALSE(module.State().CsvEnabled);
}

TEST_F(MainModuleTest, ACsvHeaderThatCannotBeWrittenLeavesCsvOutputOff) {
    EXPECT_EQ(module.StartCsvOutput("/dev/full"), "No space left on device");
    EXPECT_FALSE(module.State().CsvEnabled);
}

TEST_F(MainModuleTest, ARecordThatCannotBeWrittenSwitchesCsvOffWithOneMessage) {
    // A named pipe whose reader goes away after the header: the record's write fails.
    const std::string csv = CsvPath();
    ASSERT_EQ(::mkfifo(csv.c_str(), 0600), 0);
    const int reader = ::open(csv.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    const auto oldHandler = std::signal(SIGPIPE, SIG_IGN);
    ASSERT_EQ(module.StartCsvOutput(csv), "");
    ::close(reader);
    OpenLog(kWorkedFrame + kWorkedFrame);
    Step(20);  // both frames and the end of the log
    std::signal(SIGPIPE, oldHandler);

    EXPECT_FALSE(module.State().CsvEnabled);
    EXPECT_FALSE(panel.csvOn);
    const std::vector<std::string> expected = {
        "csv on",
        "stepping on",
        "error: The record could not be written to \"" + csv +
            "\": Broken pipe. CSV output is switched off; the records written before are kept.",
        "csv off",
        "stepping off",
        "log ended"};
    EXPECT_EQ(panel.events, expected);
}

TEST_F(MainModuleTest, TheEndOfALogClosesBothFilesAndStopsEverythingBeforeItsMessage) {
    const std::string endMessage = "log ended";
    struct Case {
        bool csv;
        bool autoMode;
        std::vector<std::string> events;  // from the step that finds the end
    };
    const Case cases[] = {
        {true, true, {"csv off", "auto off", "stepping off", endMessage}},
        {false, false, {"stepping off", endMessage}},
    };
    for (const auto& c : cases) {
        test::RecordingPanel recorder;
        MainModule run(recorder);
        if (c.csv) {
            ASSERT_EQ(run.StartCsvOutput(CsvPath()), "");
        }
        run.SetAutoMode(c.autoMode);
        ASSERT_EQ(run.OpenLog(dir.Write("one.txt", "ORBIT 1\r\n")), "");
        run.AdvanceOneLine();
        EXPECT_EQ(recorder.rawLine, "ORBIT 1");
        recorder.events.clear();
        run.AdvanceOneLine();
        EXPECT_EQ(recorder.events, c.events);
        EXPECT_TRUE(run.State().AtEndOfFile);
        EXPECT_EQ(run.State().InputFileName, "");
        EXPECT_FALSE(run.State().CsvEnabled);
        EXPECT_FALSE(run.State().AutoMode);
        EXPECT_EQ(recorder.rawLine, "ORBIT 1");  // the last line stays on show
        run.AdvanceOneLine();                    // nothing more happens
        EXPECT_EQ(recorder.events, c.events);
    }
}

TEST_F(MainModuleTest, AnEmptyLogEndsAtTheFirstStepAndLeavesTheShownLine) {
    OpenLog("ORBIT 1\r\n", "first.txt");
    panel.events.clear();
    OpenLog("", "empty.txt");
    EXPECT_TRUE(module.State().AtEndOfFile);
    EXPECT_EQ(panel.rawLine, "ORBIT 1");
    const std::vector<std::string> expected = {"stepping on", "stepping off", "log ended"};
    EXPECT_EQ(panel.events, expected);
}

TEST_F(MainModuleTest, HeaderFieldsAndRowFragmentsLiveOnIntoTheNextLog) {
    SwitchCsvOn();
    OpenLog("ORBIT 7\r\nDATE 08-JUL-02\r\n150 150 150 150\r\n", "first.txt");
    Step(3);
    ASSERT_FALSE(module.State().CsvEnabled);  // the end of the log switched it off
    SwitchCsvOn();
    OpenLog("TIME 14:32\r\n650 650 650 650\r\n", "second.txt");
    Step(1);
    EXPECT_EQ(Csv(), CsvHeader() + "\r\n08-JUL-02,14:32,7,1475.000,0.970,0.970,0.970,,,,," +
                         "1.603,285.000,102.500,0.500\r\n");
    ASSERT_EQ(panel.frames.size(), 1u);
    EXPECT_EQ(panel.frames[0].number, 1);  // frames are counted afresh in each log
    EXPECT_EQ(panel.frames[0].lineNumber, 2);
    EXPECT_EQ(panel.frames[0].Channel(1).reception, Reception::Missing);
    EXPECT_EQ(panel.frames[0].Channel(1).text, "1475.000");
}

TEST_F(MainModuleTest, AnOverlongLineIsReportedEachTimeAndFirstOncePerLog) {
    const std::string longLine(LogFile::kMaxLineLength + 1, 'a');
    const std::string log = "ORBIT 1\r\n" + longLine + "\r\n" + longLine + "\r\n";
    OpenLog(log, "first.txt");
    Step(2);
    OpenLog(log, "second.txt");
    Step(1);
    std::vector<std::string> cuts;
    for (const std::string& event : panel.events) {
        if (event.find("cut: ") != std::string::npos) {
            cuts.push_back(event);
        }
    }
    const std::string sentence = " of the log is longer than 1 MiB; only its first MiB was read.";
    const std::vector<std::string> expected = {
        "first cut: Line 2" + sentence, "cut: Line 3" + sentence, "first cut: Line 2" + sentence};
    EXPECT_EQ(cuts, expected);
}

TEST_F(MainModuleTest, EachGroupOfARowIsReportedAsTheLogHasItWithItsReception) {
    OpenLog("HI HI\r\n2x1 250 2?3 2 4\r\n");
    Step(1);
    const struct {
        int channel;
        std::string group;
        Reception reception;
    } expected[] = {{5, "2x1", Reception::NotCopied},
                    {6, "250", Reception::Copied},
                    {7, "2?3", Reception::NotCopied},
                    {8, "2 4", Reception::NotCopied}};
    EXPECT_EQ(panel.group.size(), 4U);
    for (const auto& channel : expected) {
        EXPECT_EQ(panel.group[channel.channel], channel.group) << channel.channel;
        EXPECT_EQ(panel.reception[channel.channel], channel.reception) << channel.channel;
    }
}

TEST_F(MainModuleTest, RowNumbersOutsideOneToSixDecodeNothing) {
    module.DecodeRow(0);
    module.DecodeRow(7);
    EXPECT_TRUE(panel.channelText.empty());
}

}  // namespace
}  // namespace ao07
