#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include "audio/sample_source.h"

namespace ao07::audio {
namespace {

class RawSampleSource final : public SampleSource {
public:
    RawSampleSource(int fd, double rateHz) : m_fd(fd), m_rateHz(rateHz) {}

    double RateHz() const override { return m_rateHz; }

    std::size_t Read(std::span<float> block) override {
        if (m_ended || block.empty()) {
            return 0;
        }
        m_bytes.resize(block.size() * 2);
        std::size_t held = m_oddByte ? 1 : 0;
        if (m_oddByte) {
            m_bytes[0] = *m_oddByte;
            m_oddByte.reset();
        }
        // A pipe gives what has arrived; one read is enough unless it ended inside a sample.
        while (held < 2) {
            const ssize_t got = ::read(m_fd, m_bytes.data() + held, m_bytes.size() - held);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                m_error = std::strerror(errno);
            }
            if (got <= 0) {
                m_ended = true;
                return 0;  // a lone last byte is half a sample: nothing to hear in it
            }
            held += static_cast<std::size_t>(got);
        }
        const std::size_t count = held / 2;
        for (std::size_t i = 0; i < count; ++i) {
            const auto low = static_cast<std::uint16_t>(m_bytes[2 * i]);
            const auto high = static_cast<std::uint16_t>(m_bytes[2 * i + 1]);
            const auto sample = static_cast<std::int16_t>(low | high << 8);
            block[i] = static_cast<float>(sample) / 32768.0f;
        }
        if (held % 2 != 0) {
            m_oddByte = m_bytes[held - 1];
        }
        return count;
    }

    const std::string& Error() const override { return m_error; }
    std::optional<double> FractionRead() const override { return std::nullopt; }

private:
    int m_fd = -1;
    double m_rateHz = 0;
    std::vector<unsigned char> m_bytes;
    std::optional<unsigned char> m_oddByte;
    bool m_ended = false;
    std::string m_error;
};

}  // namespace

std::unique_ptr<SampleSource> RawSamplesFrom(int fd, double rateHz) {
    return std::make_unique<RawSampleSource>(fd, rateHz);
}

}  // namespace ao07::audio
