// libFuzzer entry: arbitrary bytes as an operator's log, each frame written as JSON Lines and as
// a --gaps record.

#include <cstdio>
#include <cstdlib>

#include "fuzz/frame_output_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string failure = ao07::fuzz::CheckFrameOutputs(data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "frame output: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
