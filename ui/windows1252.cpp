#include "ui/windows1252.h"

#include <QString>

#include "core/windows1252.h"

namespace ao07::ui {

QString FromWindows1252(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char c : bytes) {
        text.append(QChar(Windows1252Character(static_cast<unsigned char>(c))));
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
