#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "support/program_run.h"
#include "support/temp_dir.h"

namespace ao07::test {
namespace {

/// Writes `seconds` of a quiet hum as a 16-bit mono WAV at `rateHz` and returns its path.
std::string WriteWav(const TempDir& dir, const std::string& name, int rateHz, double seconds) {
    const std::string path = dir.File(name);
    SF_INFO info{};
    info.samplerate = rateHz;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    std::vector<float> samples(static_cast<std::size_t>(rateHz * seconds));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = (i % 20 < 10) ? 0.01f : -0.01f;
    }
    sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size()));
    sf_close(file);
    return path;
}

std::string NotWritten(const std::string& name) {
    return "ao07-listen: The output \"" + name +
           "\" could not be written: No space left on device. Nothing more goes to it; what was "
           "written before is kept whole.\n";
}

std::string Cannot(const std::string& name, const std::string& reason) {
    return "ao07-listen: cannot read recording \"" + name + "\": " + reason + "\n";
}

TEST(ListenRecordings, ThoseThatCannotBeReadAreNamed) {
    const TempDir dir;
    const std::string wav = ReadFile(WriteWav(dir, "whole.wav", 8000, 1.0));
    dir.Write("empty.wav", "");
    dir.Write("log.wav", "ORBIT 23514\r\nHI HI\r\n150 101 101 101\r\n");
    dir.Write("header.wav", wav.substr(0, 20));
    dir.Write("cut.wav", wav.substr(0, wav.size() / 2));
    WriteWav(dir, "slow.wav", 4000, 1.0);
    ::mkdir(dir.File("folder.wav").c_str(), 0755);
    ::mkfifo(dir.File("pipe.wav").c_str(), 0644);
    const struct {
        const char* name;
        std::string err;
        bool logKept;  ///< the log that was there before is untouched
    } cases[] = {
        {"missing.wav", Cannot("missing.wav", "No such file or directory"), true},
        {"empty.wav", Cannot("empty.wav", "the file is empty"), true},
        {"folder.wav", Cannot("folder.wav", "Is a directory"), true},
        {"pipe.wav", Cannot("pipe.wav", "It is a named pipe, not an ordinary file"), true},
        {"log.wav",
         Cannot("log.wav", "it is not sound in a format libsndfile reads (Format not recognised)"),
         true},
        {"header.wav",
         Cannot("header.wav",
                "it is not sound in a format libsndfile reads (Error in "
                "WAV/W64/RF64 file. Malformed 'fmt ' chunk)"),
         true},
        {"slow.wav", Cannot("slow.wav", "its sample rate of 4000 Hz is outside 8000 to 192000 Hz"),
         true},
        {"cut.wav",
         "ao07-listen: cannot read all of recording \"cut.wav\": the file is cut short: its header "
         "announces more sound than it holds\n",
         false},
        {"whole.wav", "ao07-listen: no beacon frame heard in recording \"whole.wav\"\n", false},
    };
    for (const auto& c : cases) {
        dir.Write("log.txt", "the log of an earlier pass\r\n");
        const Outcome run = RunProgram(AO07_LISTEN_PATH, dir, std::string("-o log.txt ") + c.name);
        EXPECT_EQ(run.status, 1) << c.name;
        EXPECT_EQ(run.err, c.err) << c.name;
        EXPECT_EQ(ReadFile(dir.File("log.txt")) == "the log of an earlier pass\r\n", c.logKept)
            << c.name;
    }
}

TEST(ListenRecordings, OutputsThatCannotBeWrittenAreNamed) {
    const TempDir dir;
    WriteWav(dir, "quiet.wav", 8000, 0.5);
    const struct {
        const char* args;
        std::string err;
    } cases[] = {
        {"--orbit 1 quiet.wav >/dev/full", NotWritten("standard output")},
        {"--orbit 1 -o /dev/full quiet.wav", NotWritten("/dev/full")},
        {"-o quiet.wav quiet.wav",
         "ao07-listen: cannot write \"quiet.wav\": it is one of the recordings being read\n"},
        {"-o no/such/folder/log.txt quiet.wav",
         "ao07-listen: cannot write \"no/such/folder/log.txt\": No such file or directory\n"},
        {"--report no/such/folder/r.jsonl quiet.wav",
         "ao07-listen: cannot write \"no/such/folder/r.jsonl\": No such file or directory\n"},
    };
    for (const auto& c : cases) {
        const Outcome run = RunProgram(AO07_LISTEN_PATH, dir, c.args);
        EXPECT_EQ(run.status, 1) << c.args;
        EXPECT_EQ(run.err, c.err) << c.args;
    }
    EXPECT_NE(ReadFile(dir.File("quiet.wav")).size(), 0u) << "a recording was emptied";
}

}  // namespace
}  // namespace ao07::test
