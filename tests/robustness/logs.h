#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace ao07::test {

/// The worked frame of the operator's guide (every raw value 50) and the record it gives.
inline const std::string kFrame =
    "ORBIT 12345\r\nTIME 14:32\r\nDATE 08-JUL-02\r\nHI HI\r\n150 150 150 150\r\n"
    "250 250 250 250\r\n350 350 350 350\r\n450 450 450 450\r\n550 550 550 550\r\n"
    "650 650 650 650\r\n";
inline constexpr std::size_t kFrameLines = 10;
inline const std::string kRecord =
    "08-JUL-02,14:32,12345,1475.000,0.970,0.970,0.970,1.475,2.000,758.000,0.000,11.400,5.000,"
    "7.500,21.800,21.800,21.800,21.800,21.800,21.800,583.500,21.800,52.000,1.603,285.000,102.500,"
    "0.500";

/// The CSV file that holds the header and `count` copies of `record`.
std::string CsvWithRecords(const std::string& record, std::size_t count);

/// `text` repeated `count` times.
std::string Repeat(std::string_view text, std::size_t count);

/// Compares two possibly huge byte strings and names the first difference instead of
/// printing them whole.
::testing::AssertionResult SameBytes(std::string_view actual, std::string_view expected);

/// Splits CSV bytes into their lines; a last line without CR LF is returned as `partial`.
std::size_t CountWholeLines(std::string_view csv, std::string_view* partial = nullptr);

}  // namespace ao07::test
