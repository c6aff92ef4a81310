#include "ui/windows1252.h"

#include <QString>

#include <array>

namespace ao07::ui {
namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F. Undefined bytes (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) map to the same code point, as the operating system's own conversion does.
constexpr std::array<char16_t, 32> kHighControlRange{
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

}  // namespace

QString FromWindows1252(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 && byte <= 0x9F) {
            text.append(QChar(kHighControlRange[byte - 0x80]));
        } else {
            text.append(QChar(static_cast<char16_t>(byte)));
        }
    }
    return text;
}

QString ShownText(std::string_view bytes) {
    // One byte is one character in Windows-1252, so the bytes can be cut before converting.
    if (bytes.size() <= kMaxShownCharacters) {
        return FromWindows1252(bytes);
    }
    return FromWindows1252(bytes.substr(0, kMaxShownCharacters)) + QChar(u'\u2026');
}

}  // namespace ao07::ui
