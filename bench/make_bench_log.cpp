// ao07-make-bench-log: writes a large telemetry log of the kind operators type, for timing the
// decoder. Every frame has its ORBIT, TIME and DATE lines, the frame marker and six rows; about
// one value digit in ten is an "x" for a digit that was not copied. The same frame count always
// gives the same bytes, so figures from different runs and machines compare.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

/// A small generator with a fixed sequence (splitmix64), unlike the standard distributions,
/// whose results differ between library implementations.
class Sequence {
public:
    std::uint64_t Next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    /// 0 .. bound-1.
    unsigned Below(unsigned bound) { return static_cast<unsigned>(Next() % bound); }

private:
    std::uint64_t m_state = 0x0A07'0A07'0A07'0A07ull;
};

constexpr unsigned kDamagedPerMille = 100;  // about one value digit in ten
constexpr const char* kMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                   "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

char ValueDigit(Sequence& random, unsigned digit) {
    return random.Below(1000) < kDamagedPerMille ? 'x' : static_cast<char>('0' + digit);
}

void AppendFrame(std::string& out, Sequence& random, long frame) {
    // A pass of a few dozen frames shares its orbit and date; the clock moves on each frame.
    const long pass = frame / 40;
    const long minutes = (pass * 97 + (frame % 40) * 2) % (24 * 60);
    char header[96];
    std::snprintf(header, sizeof header, "ORBIT %ld\r\nTIME %02ld:%02ld\r\nDATE %02ld-%s-%02ld\r\n",
                  23000 + pass, minutes / 60, minutes % 60, pass % 28 + 1, kMonths[pass % 12],
                  (pass / 365) % 100);
    out += header;
    out += "HI HI\r\n";
    for (int row = 1; row <= 6; ++row) {
        for (int slot = 0; slot < 4; ++slot) {
            const unsigned value = random.Below(100);
            if (slot > 0) {
                out += ' ';
            }
            out += static_cast<char>('0' + row);
            out += ValueDigit(random, value / 10);
            out += ValueDigit(random, value % 10);
        }
        out += "\r\n";
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: ao07-make-bench-log FRAMES FILE\n");
        return 2;
    }
    const long frames = std::strtol(argv[1], nullptr, 10);
    std::FILE* file = std::fopen(argv[2], "wb");
    if (frames <= 0 || file == nullptr) {
        std::fprintf(stderr, "ao07-make-bench-log: bad frame count or cannot create %s\n", argv[2]);
        return 1;
    }
    Sequence random;
    std::string chunk;
    for (long frame = 0; frame < frames; ++frame) {
        AppendFrame(chunk, random, frame);
        if (chunk.size() > (1 << 20) || frame + 1 == frames) {
            if (std::fwrite(chunk.data(), 1, chunk.size(), file) != chunk.size()) {
                std::fprintf(stderr, "ao07-make-bench-log: cannot write %s\n", argv[2]);
                return 1;
            }
            chunk.clear();
        }
    }
    if (std::fclose(file) != 0) {
        std::fprintf(stderr, "ao07-make-bench-log: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
