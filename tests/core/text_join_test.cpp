#include "core/text_join.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace ao07 {
namespace {

TEST(TextJoin, CopiesEveryLengthExactlyIntoAnyString) {
    // The short texts are copied by overlapping moves chosen by their length: every length
    // must come out whole, from a text of another length than the one it replaces.
    const std::string source = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJ";
    for (std::size_t length = 0; length <= 40; ++length) {
        const std::string_view text(source.data() + 3, length);
        std::string out = "previous text of another length";
        AssignText(out, text);
        EXPECT_EQ(out, text) << length;

        const std::vector<std::string_view> parts = {text, "", "x", text};
        JoinInto(out, parts, ',');
        EXPECT_EQ(out, std::string(text) + ",,x," + std::string(text)) << length;

        // A view of the text being replaced, shorter or longer than the result.
        out = source;
        AssignText(out, std::string_view(out).substr(2, length));
        EXPECT_EQ(out, source.substr(2, length)) << length;
        out = source;
        const std::string_view own(out.data() + 1, length);
        const std::vector<std::string_view> ownParts = {own, own};
        JoinInto(out, ownParts, ',');
        EXPECT_EQ(out, source.substr(1, length) + "," + source.substr(1, length)) << length;
    }
}

}  // namespace
}  // namespace ao07
