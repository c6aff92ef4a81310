#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

namespace ao07 {

/// Copies `length` bytes. The texts of a log (a line, a channel's text, a header field) are
/// nearly all shorter than 17 bytes and are copied many times per frame: two overlapping moves
/// of fixed size do that in place, where a call of memcpy would cost more than the copy.
inline void CopyText(char* to, const char* from, std::size_t length) {
    if (length >= 8 && length <= 16) {
        std::uint64_t head = 0;
        std::uint64_t tail = 0;
        std::memcpy(&head, from, sizeof head);
        std::memcpy(&tail, from + length - sizeof tail, sizeof tail);
        std::memcpy(to, &head, sizeof head);
        std::memcpy(to + length - sizeof tail, &tail, sizeof tail);
    } else if (length >= 4 && length < 8) {
        std::uint32_t head = 0;
        std::uint32_t tail = 0;
        std::memcpy(&head, from, sizeof head);
        std::memcpy(&tail, from + length - sizeof tail, sizeof tail);
        std::memcpy(to, &head, sizeof head);
        std::memcpy(to + length - sizeof tail, &tail, sizeof tail);
    } else if (length > 16) {
        std::memcpy(to, from, length);
    } else {
        for (std::size_t i = 0; i < length; ++i) {
            to[i] = from[i];
        }
    }
}

/// Sets `out` to `text`, which must not point into `out`.
inline void AssignText(std::string& out, std::string_view text) {
    out.resize(text.size());
    CopyText(out.data(), text.data(), text.size());
}

/// Sets `out` to `parts` joined by `separator`; no part may point into `out`. The whole is sized
/// once and the parts copied in:
/// the row fragments and records of every frame are joined here, and this costs a good deal
/// less than an append per part.
inline void JoinInto(std::string& out, std::span<const std::string_view> parts, char separator) {
    std::size_t length = parts.empty() ? 0 : parts.size() - 1;
    for (const std::string_view part : parts) {
        length += part.size();
    }
    out.resize(length);
    char* cursor = out.data();
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            *cursor++ = separator;
        }
        CopyText(cursor, parts[i].data(), parts[i].size());
        cursor += parts[i].size();
    }
}

}  // namespace ao07
