#include "cli/json_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "core/windows1252.h"

namespace ao07::tool {
namespace {

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
            AppendUtf8(json, bytes.substr(i, 1));
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
    AppendNumber(json, value);
}

}  // namespace ao07::tool
