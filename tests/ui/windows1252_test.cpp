#include "ui/windows1252.h"

#include <gtest/gtest.h>

#include <QString>

#include <string>
#include <string_view>

namespace ao07::ui {
namespace {

struct Case {
    std::string_view bytes;
    char16_t expected;
};

TEST(FromWindows1252, TakesEachByteToItsCharacter) {
    const Case cases[] = {
        {"A", u'A'},         {"\x7F", u'\u007F'}, {"\x80", u'\u20AC'},  // euro sign
        {"\x81", u'\u0081'}, {"\x82", u'\u201A'}, {"\x8D", u'\u008D'},
        {"\x8F", u'\u008F'}, {"\x90", u'\u0090'}, {"\x91", u'\u2018'},
        {"\x96", u'\u2013'}, {"\x99", u'\u2122'}, {"\x9D", u'\u009D'},
        {"\x9F", u'\u0178'}, {"\xA0", u'\u00A0'}, {"\xB0", u'\u00B0'},  // degree sign
        {"\xE9", u'\u00E9'}, {"\xFF", u'\u00FF'},
    };
    for (const Case& c : cases) {
        const QString text = FromWindows1252(c.bytes);
        ASSERT_EQ(text.size(), 1) << int(static_cast<unsigned char>(c.bytes[0]));
        EXPECT_EQ(text[0].unicode(), c.expected) << int(static_cast<unsigned char>(c.bytes[0]));
    }
}

TEST(FromWindows1252, KeepsEveryByteOfALine) {
    using namespace std::string_view_literals;
    EXPECT_EQ(FromWindows1252("Battery Temperature (\xB0"
                              "C)"),
              QStringLiteral("Battery Temperature (\u00B0C)"));
    EXPECT_EQ(FromWindows1252("a\0b"sv), QString(QStringLiteral("a") + QChar(u'\0') + u'b'));
    EXPECT_TRUE(FromWindows1252("").isEmpty());
}

TEST(ShownText, CutsOnlyTextsLongerThanTheScreenShowsAndSaysSo) {
    const std::string atLimit(kMaxShownCharacters, '\x80');
    const std::string longer = atLimit + "rest of the line";
    const QString shownAtLimit = ShownText(atLimit);
    EXPECT_EQ(ShownText("14:32 \xB0"), QStringLiteral("14:32 \u00B0"));
    EXPECT_EQ(shownAtLimit, FromWindows1252(atLimit));
    EXPECT_EQ(ShownText(longer), shownAtLimit + QChar(u'\u2026'));
}

}  // namespace
}  // namespace ao07::ui
