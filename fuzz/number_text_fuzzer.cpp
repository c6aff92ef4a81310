// libFuzzer entry: arbitrary bytes as a converted value's bits and as a header or row value text.

#include <cstdio>
#include <cstdlib>

#include "fuzz/number_text_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string failure = ao07::fuzz::CheckNumberText(data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "number text: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
