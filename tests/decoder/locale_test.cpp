#include <gtest/gtest.h>

#include <clocale>
#include <locale>

#include "core/number_text.h"
#include "decoder/channel_equations.h"
#include "decoder/decoded_text.h"

namespace ao07 {
namespace {

/// A locale whose decimal point is a comma, whatever locales the machine has installed.
struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(Locale, DecimalPointStaysAPeriodUnderACommaLocale) {
    const std::locale before =
        std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    // Where the machine has a real comma-decimal locale, use it for the C library as well.
    const bool haveGerman = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;

    EXPECT_EQ(DecodedText(ConvertChannel(5, 5)), "0.148");
    EXPECT_EQ(DecodedText(1155.33f), "1155.330");
    EXPECT_EQ(LeadingNumber("123.5"), 123.5);
    EXPECT_EQ(LeadingNumber("1,5"), 1);
    EXPECT_EQ(IntegerText(1234567), "1234567");

    std::locale::global(before);
    std::setlocale(LC_ALL, "C");
    if (!haveGerman) {
        GTEST_LOG_(INFO) << "de_DE.UTF-8 is not installed; only the C++ locale was changed";
    }
}

}  // namespace
}  // namespace ao07
