// libFuzzer entry: arbitrary bytes as an operator's log, stepped to its end with CSV output on.

#include <cstdio>
#include <cstdlib>

#include "fuzz/log_steps_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string failure = ao07::fuzz::CheckLogSteps(data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "log steps: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
