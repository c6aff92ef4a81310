#pragma once

#include <unistd.h>

#include <cstddef>
#include <string_view>

namespace ao07::test {

/// Writes all of `bytes` to `fd`, as a feeding pipe must; false when a write fails.
inline bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace ao07::test
