#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

namespace ao07 {

/// Copies `length` bytes. The texts of a log (a line, a channel's text, a header field) are
/// nearly all 4 to 16 bytes long and are copied many times per frame: four overlapping moves of
/// four bytes do that in place without a branch on the length, which would be mispredicted as
/// often as the texts' lengths change, and without the cost of calling memcpy.
inline void CopyText(char* to, const char* from, std::size_t length) {
    if (length >= 4 && length <= 16) {
        // Moves [0, 4), [n - 4, n) and, from 8 bytes on, [4, 8) and [n - 8, n - 4); 16 bytes
        // also [8, 12). All four are loaded before any is stored.
        const std::size_t inner = (length >> 3) * 4;
        std::uint32_t head = 0;
        std::uint32_t tail = 0;
        std::uint32_t nextHead = 0;
        std::uint32_t nextTail = 0;
        std::memcpy(&head, from, sizeof head);
        std::memcpy(&tail, from + length - 4, sizeof tail);
        std::memcpy(&nextHead, from + inner, sizeof nextHead);
        std::memcpy(&nextTail, from + length - 4 - inner, sizeof nextTail);
        std::memcpy(to, &head, sizeof head);
        std::memcpy(to + length - 4, &tail, sizeof tail);
        std::memcpy(to + inner, &nextHead, sizeof nextHead);
        std::memcpy(to + length - 4 - inner, &nextTail, sizeof nextTail);
    } else if (length > 16) {
        std::memcpy(to, from, length);
    } else {
        for (std::size_t i = 0; i < length; ++i) {
            to[i] = from[i];
        }
    }
}

/// Whether `text` lies in `out`'s own bytes (a view of the text being replaced).
inline bool PointsInto(const std::string& out, std::string_view text) {
    const auto begin = reinterpret_cast<std::uintptr_t>(out.data());
    const auto at = reinterpret_cast<std::uintptr_t>(text.data());
    return !text.empty() && at >= begin && at < begin + out.size();
}

/// Sets `out` to `text`, which may be a view of `out` itself.
inline void AssignText(std::string& out, std::string_view text) {
    if (PointsInto(out, text)) {
        out.assign(text);  // copes with the overlap
        return;
    }
    out.resize(text.size());
    CopyText(out.data(), text.data(), text.size());
}

/// Sets `out` to `parts` joined by `separator`; a part may be a view of `out` itself. The whole
/// is sized once and the parts copied in: the row fragments and records of every frame are
/// joined here, and this costs a good deal less than an append per part.
inline void JoinInto(std::string& out, std::span<const std::string_view> parts, char separator) {
    std::size_t length = parts.empty() ? 0 : parts.size() - 1;
    bool aliased = false;
    for (const std::string_view part : parts) {
        length += part.size();
        aliased = aliased || PointsInto(out, part);
    }
    if (aliased) {
        // Joined apart first: resizing `out` would move or overwrite the bytes a part shows.
        std::string joined;
        JoinInto(joined, parts, separator);
        out.swap(joined);
        return;
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
