// Replays, under the normal build, every input of the fuzzers' seed corpus and every input with
// which a fuzzer once found a fault, through the same checks that the fuzzers run.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "fuzz/frame_output_check.h"
#include "fuzz/log_steps_check.h"
#include "fuzz/number_text_check.h"
#include "support/temp_dir.h"

namespace ao07::test {
namespace {

using Check = std::string (*)(const std::uint8_t*, std::size_t);

/// Runs `check` on every file in `folder`; returns how many there were.
std::size_t ReplayFolder(const std::filesystem::path& folder, Check check) {
    std::size_t count = 0;
    if (!std::filesystem::is_directory(folder)) {
        return 0;
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string bytes = ReadFile(entry.path().string());
        const std::string failure =
            check(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        EXPECT_EQ(failure, "") << entry.path();
        ++count;
    }
    return count;
}

TEST(FuzzRegression, LogStepsSeedsAndFoundInputsPass) {
    EXPECT_GE(ReplayFolder(AO07_FUZZ_CORPUS_DIR "/log_steps", fuzz::CheckLogSteps), 8u);
    EXPECT_GE(ReplayFolder(AO07_REGRESSIONS_DIR "/log_steps", fuzz::CheckLogSteps), 1u);
}

TEST(FuzzRegression, FrameOutputSeedsPass) {
    EXPECT_GE(ReplayFolder(AO07_FUZZ_CORPUS_DIR "/frame_output", fuzz::CheckFrameOutputs), 3u);
    EXPECT_GE(ReplayFolder(AO07_FUZZ_CORPUS_DIR "/log_steps", fuzz::CheckFrameOutputs), 8u);
}

TEST(FuzzRegression, NumberTextSeedsAndFoundInputsPass) {
    EXPECT_GE(ReplayFolder(AO07_FUZZ_CORPUS_DIR "/number_text", fuzz::CheckNumberText), 8u);
    EXPECT_GE(ReplayFolder(AO07_REGRESSIONS_DIR "/number_text", fuzz::CheckNumberText), 1u);
}

TEST(FuzzRegression, KnownTextsPassTheChecks) {
    // A log cut in the middle of its last line end, and texts whose results are known.
    const std::string log = std::string(1, '\0') + "650 650 650 650\r";
    EXPECT_EQ(fuzz::CheckLogSteps(reinterpret_cast<const std::uint8_t*>(log.data()), log.size()),
              "");
    EXPECT_EQ(fuzz::CheckDecodedText(0.14749999344f), "");  // 0.148 by way of 0.1475
    EXPECT_EQ(fuzz::CheckDecodedText(-0.0004f), "");
    EXPECT_EQ(fuzz::CheckDecodedText(3.4e38f), "");
    EXPECT_EQ(fuzz::CheckLeadingNumber("1 2 . 5 D 1"), "");
    EXPECT_EQ(fuzz::CheckLeadingNumber(std::string("5.\0"
                                                   "2",
                                                   4)),
              "");
}

}  // namespace
}  // namespace ao07::test
