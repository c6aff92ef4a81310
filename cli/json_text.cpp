#include "cli/json_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace ao07::tool {
namespace {

// Windows-1252 bytes 0x80-0x9F; the five undefined bytes (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep
// their own code points, as the window shows them.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendCodePoint(std::string& text, std::uint32_t code) {
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::uint32_t CodePointOf(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
}

template <typename... Format>
void AppendNumber(std::string& json, auto value, Format... format) {
    if (!std::isfinite(value)) {
        json += "null";
        return;
    }
    std::array<char, 64> digits{};
    const auto [end, error] =
        std::to_chars(digits.data(), digits.data() + digits.size(), value, format...);
    json.append(digits.data(), error == std::errc() ? end : digits.data());
}

}  // namespace

void AppendUtf8(std::string& text, std::string_view bytes) {
    for (const char c : bytes) {
        AppendCodePoint(text, CodePointOf(static_cast<unsigned char>(c)));
    }
}

void AppendJsonString(std::string& json, std::string_view bytes) {
    static constexpr char kHex[] = "0123456789abcdef";
    json += '"';
    std::size_t plain = 0;  // start of the run of bytes that go out as they are
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte >= 0x20 && byte < 0x7F && byte != '"' && byte != '\\') {
            continue;
        }
        json.append(bytes.data() + plain, i - plain);
        plain = i + 1;
        if (byte == '"' || byte == '\\') {
            json += '\\';
            json += static_cast<char>(byte);
        } else if (byte < 0x20 || byte == 0x7F) {
            json += "\\u00";
            json += kHex[byte >> 4];
            json += kHex[byte & 0xF];
        } else {
            AppendCodePoint(json, CodePointOf(byte));
        }
    }
    json.append(bytes.data() + plain, bytes.size() - plain);
    json += '"';
}

void AppendJsonInteger(std::string& json, std::int64_t value) {
    std::array<char, 24> digits{};
    const auto [end, error] = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    json.append(digits.data(), error == std::errc() ? end : digits.data());
}

void AppendJsonNumber(std::string& json, float value) {
    AppendNumber(json, value);
}

void AppendJsonNumber(std::string& json, double value) {
    AppendNumber(json, value, std::chars_format::fixed, 3);
}

}  // namespace ao07::tool
