// ao07-write-floor: copies a text file line by line, handing each line with its CR LF to the
// operating system in one write call, as the CSV output must so that a crash loses no record.
// Run on the CSV that ao07-decode wrote, it shows what that rule alone costs on this machine:
// the fastest any decoder can be while keeping it.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: ao07-write-floor INPUT OUTPUT\n");
        return 2;
    }
    const int in = open(argv[1], O_RDONLY | O_CLOEXEC);
    const int out = open(argv[2], O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (in < 0 || out < 0) {
        std::fprintf(stderr, "ao07-write-floor: %s\n", std::strerror(errno));
        return 1;
    }
    std::vector<char> buffer(64 * 1024);
    std::string line;  // a line that runs over the end of a block
    for (ssize_t n; (n = read(in, buffer.data(), buffer.size())) > 0;) {
        const char* cursor = buffer.data();
        const char* end = cursor + n;
        while (cursor != end) {
            const char* newline = static_cast<const char*>(std::memchr(cursor, '\n', end - cursor));
            const char* stop = newline ? newline + 1 : end;
            if (newline && line.empty()) {
                if (!WriteAll(out, cursor, static_cast<std::size_t>(stop - cursor))) {
                    std::fprintf(stderr, "ao07-write-floor: %s\n", std::strerror(errno));
                    return 1;
                }
            } else {
                line.append(cursor, stop);
                if (newline) {
                    if (!WriteAll(out, line.data(), line.size())) {
                        std::fprintf(stderr, "ao07-write-floor: %s\n", std::strerror(errno));
                        return 1;
                    }
                    line.clear();
                }
            }
            cursor = stop;
        }
    }
    if ((!line.empty() && !WriteAll(out, line.data(), line.size())) || close(out) != 0) {
        std::fprintf(stderr, "ao07-write-floor: %s\n", std::strerror(errno));
        return 1;
    }
    return 0;
}
