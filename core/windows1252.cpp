#include "core/windows1252.h"

namespace ao07 {

void AppendUtf8(std::string& text, std::string_view bytes) {
    for (const char c : bytes) {
        const char16_t code = Windows1252Character(static_cast<unsigned char>(c));
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
}

}  // namespace ao07
