#pragma once

#include <array>
#include <string>
#include <string_view>

namespace ao07 {

/// The character of a Windows-1252 byte (the log's and the channel table's character set).
/// Bytes 0x80-0x9F take their Windows-1252 characters (0x80 is the euro sign); the five bytes
/// that code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep their own code points,
/// as the operating system's own conversion does, so that no byte is lost.
constexpr char16_t Windows1252Character(unsigned char byte) {
    // Windows-1252 differs from Latin-1 only in 0x80-0x9F.
    constexpr std::array<char16_t, 32> kHighControls = {
        u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
        u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
        u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
        u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
    };
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : char16_t{byte};
}

/// Appends `bytes`, Windows-1252 text, to `text` in UTF-8.
void AppendUtf8(std::string& text, std::string_view bytes);

}  // namespace ao07
