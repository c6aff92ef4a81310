#include <fcntl.h>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "robustness/child_process.h"
#include "support/program_run.h"
#include "support/temp_dir.h"
#include "support/write_all.h"

namespace ao07::test {
namespace {

// Seeds of the tests' beacon audio; the benchmark has seeds of its own.
constexpr int kFirstSeed = 61;

/// The CSV records of `csv` without their first two fields, date and time: the time at which
/// a frame is heard in made audio is not the time written in the example log it came from.
std::string WithoutDateAndTime(const std::string& csv) {
    std::istringstream lines(csv);
    std::string result;
    for (std::string line; std::getline(lines, line);) {
        const std::size_t second = line.find(',', line.find(',') + 1);
        result += (second == std::string::npos ? line : line.substr(second + 1)) + "\n";
    }
    return result;
}

/// The orbit number of a log's ORBIT line.
std::string OrbitOf(const std::string& log) {
    const std::size_t at = log.find("ORBIT ");
    return log.substr(at + 6, log.find_first_of("\r\n", at) - at - 6);
}

/// The group texts of a log's rows, in order.
std::vector<std::string> GroupsOf(const std::string& log) {
    std::istringstream lines(log);
    std::vector<std::string> groups;
    for (std::string line; std::getline(lines, line);) {
        if (line.size() >= 15 && line[0] >= '1' && line[0] <= '6') {
            for (std::size_t start = 0; start < 15; start += 4) {
                groups.push_back(line.substr(start, 3));
            }
        }
    }
    return groups;
}

// A log is made into audio at 0 dB, copied back and decoded: the CSV equals that of the
// frames sent. The example logs hold x digits, which the audio sends as random digits; the
// frames sent (--truth) are the reference, under the example's orbit.
TEST(ListenRoundTrip, ExampleLogsCopiedFromAudio) {
    const struct {
        const char* log;
        int rateHz;
        const char* recording;
        const char* logStart;  ///< what the copied log starts with
    } cases[] = {
        {"pass-1.txt", 8000, "pass-1.wav", "ORBIT 23514\r\nHI HI\r\n"},
        {"pass-2.txt", 48000, "pass-2.wav", "ORBIT 23515\r\nHI HI\r\n"},
        {"doubtful-frame.txt", 22050, "gqrx_20020708_180200_145972000.wav",
         "ORBIT 23516\r\nTIME 18:02\r\nDATE 08-JUL-02\r\nHI HI\r\n"},
    };
    const TempDir dir;
    int seed = kFirstSeed;
    for (const auto& c : cases) {
        const std::string example = ReadFile(std::string(AO07_EXAMPLES_DIR "/") + c.log);
        const std::string orbit = OrbitOf(example);
        const Outcome synth =
            RunProgram(AO07_SYNTH_PATH, dir,
                       "--log '" AO07_EXAMPLES_DIR "/" + std::string(c.log) + "' --snr 0 --rate " +
                           std::to_string(c.rateHz) + " --seed " + std::to_string(seed++) + " -o " +
                           c.recording + " --truth sent.txt");
        ASSERT_EQ(synth.status, 0) << synth.err;
        dir.Write("expected.txt", "ORBIT " + orbit + "\n" + ReadFile(dir.File("sent.txt")));

        const Outcome listen =
            RunProgram(AO07_LISTEN_PATH, dir,
                       "--orbit " + orbit + " --report groups.jsonl -o copy.txt " + c.recording);
        EXPECT_EQ(listen.status, 0) << c.log << ": " << listen.err;
        const std::string copy = ReadFile(dir.File("copy.txt"));
        EXPECT_EQ(copy.substr(0, std::string(c.logStart).size()), c.logStart) << c.log;

        const Outcome copied = RunProgram(AO07_DECODE_PATH, dir, "copy.txt");
        const Outcome sent = RunProgram(AO07_DECODE_PATH, dir, "expected.txt");
        EXPECT_EQ(WithoutDateAndTime(copied.out), WithoutDateAndTime(sent.out)) << c.log;

        // The report holds every group of the copy, with a confidence for each character.
        std::vector<std::string> reported;
        std::istringstream report(ReadFile(dir.File("groups.jsonl")));
        for (std::string line; std::getline(report, line);) {
            const nlohmann::json group = nlohmann::json::parse(line);
            EXPECT_EQ(group.at("recording"), c.recording);
            EXPECT_EQ(group.at("confidence").size(), 3u) << line;
            reported.push_back(group.at("text"));
        }
        EXPECT_EQ(reported, GroupsOf(copy)) << c.log;
    }
}

/// The raw 16-bit little-endian samples of a mono WAV file.
std::string RawSamplesOf(const std::string& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    std::vector<short> samples(static_cast<std::size_t>(info.frames));
    sf_readf_short(file, samples.data(), info.frames);
    sf_close(file);
    std::string bytes;
    for (const short sample : samples) {
        bytes += static_cast<char>(sample & 0xFF);
        bytes += static_cast<char>((sample >> 8) & 0xFF);
    }
    return bytes;
}

// From a receiver through a pipe: the first frame's lines are in the log while the rest of
// the pass has still to come.
TEST(ListenRoundTrip, StandardInputGivesLinesAsItArrives) {
    const TempDir dir;
    const Outcome synth =
        RunProgram(AO07_SYNTH_PATH, dir,
                   "--frames 2 --snr 0 --rate 11025 --seed " + std::to_string(kFirstSeed + 10) +
                       " -o pass.wav --truth sent.txt");
    ASSERT_EQ(synth.status, 0) << synth.err;
    const std::string samples = RawSamplesOf(dir.File("pass.wav"));
    // Past the first frame (about 90 of the 180 seconds), before the end of the second.
    const std::size_t firstPart = samples.size() * 7 / 10;

    const SigpipeIgnored sigpipe;
    int pipeEnds[2];
    ASSERT_EQ(::pipe2(pipeEnds, O_CLOEXEC), 0);
    ChildOptions options;
    options.stdinFd = pipeEnds[0];
    options.stdoutPath = dir.File("copy.txt");
    options.stderrPath = dir.File("errors.txt");
    ChildProcess listen({AO07_LISTEN_PATH, "--rate", "11025", "-"}, options);
    ::close(pipeEnds[0]);
    ASSERT_TRUE(WriteAll(pipeEnds[1], std::string_view(samples).substr(0, firstPart)));
    const bool firstFrameCopied =
        WaitUntil([&] { return GroupsOf(ReadFile(dir.File("copy.txt"))).size() >= 24; },
                  std::chrono::seconds(30));
    EXPECT_TRUE(firstFrameCopied) << "log so far: " << ReadFile(dir.File("copy.txt"));
    ASSERT_TRUE(WriteAll(pipeEnds[1], std::string_view(samples).substr(firstPart)));
    ::close(pipeEnds[1]);
    const ProcessEnd end = listen.Wait(std::chrono::seconds(60));
    EXPECT_TRUE(end.exited && end.status == 0) << ReadFile(dir.File("errors.txt"));
    EXPECT_EQ(GroupsOf(ReadFile(dir.File("copy.txt"))), GroupsOf(ReadFile(dir.File("sent.txt"))));
}

}  // namespace
}  // namespace ao07::test
