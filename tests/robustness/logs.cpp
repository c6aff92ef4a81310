#include "robustness/logs.h"

#include <algorithm>

#include "decoder/csv_record.h"

namespace ao07::test {

std::string CsvWithRecords(const std::string& record, std::size_t count) {
    return CsvHeader() + "\r\n" + Repeat(record + "\r\n", count);
}

std::string Repeat(std::string_view text, std::size_t count) {
    std::string out;
    out.reserve(text.size() * count);
    for (std::size_t i = 0; i < count; ++i) {
        out += text;
    }
    return out;
}

::testing::AssertionResult SameBytes(std::string_view actual, std::string_view expected) {
    if (actual == expected) {
        return ::testing::AssertionSuccess();
    }
    const auto [a, e] =
        std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    const auto at = static_cast<std::size_t>(a - actual.begin());
    const auto excerpt = [at](std::string_view bytes) {
        const std::size_t from = at < 40 ? 0 : at - 40;
        return "\"" + std::string(bytes.substr(from, 80)) + "\"";
    };
    return ::testing::AssertionFailure() << "sizes " << actual.size() << " and " << expected.size()
                                         << ", first difference at byte " << at << ":\n  actual   "
                                         << excerpt(actual) << "\n  expected " << excerpt(expected);
}

std::size_t CountWholeLines(std::string_view csv, std::string_view* partial) {
    std::size_t lines = 0;
    std::size_t start = 0;
    for (std::size_t end = csv.find("\r\n"); end != std::string_view::npos;
         end = csv.find("\r\n", start)) {
        ++lines;
        start = end + 2;
    }
    if (partial != nullptr) {
        *partial = csv.substr(start);
    }
    return lines;
}

}  // namespace ao07::test
