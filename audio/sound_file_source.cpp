#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <string_view>
#include <vector>

#include "audio/sample_source.h"
#include "core/log_file.h"

namespace ao07::audio {
namespace {

/// Frames read from the file at a time: a few tenths of a second at the highest rate, so that
/// memory stays small whatever the length of the recording.
constexpr sf_count_t kFramesPerRead = 4096;

/// libsndfile's message without its closing full stop, to stand inside a sentence of ours.
std::string ReasonOf(const char* message) {
    std::string reason = message != nullptr ? message : "unknown error";
    while (!reason.empty() && (reason.back() == '.' || reason.back() == ' ')) {
        reason.pop_back();
    }
    return reason;
}

/// The first number after `key` in `text`, or -1.
long long NumberAfter(std::string_view text, std::string_view key) {
    const std::size_t at = text.find(key);
    if (at == std::string_view::npos) {
        return -1;
    }
    std::size_t start = at + key.size();
    while (start < text.size() && text[start] == ' ') {
        ++start;
    }
    long long value = -1;
    std::from_chars(text.data() + start, text.data() + text.size(), value);
    return value;
}

/// libsndfile reads a WAV file whose data ends before its header says up to where it ends, and
/// only notes in its log that the data length "should be" less. A recorder that stopped
/// writing in the middle leaves such a file; a header still holding its placeholder length
/// (all ones: a stream that was never finished) is not taken for one.
bool HeaderPromisesMore(SNDFILE* file) {
    std::vector<char> log(16384, '\0');
    sf_command(file, SFC_GET_LOG_INFO, log.data(), static_cast<int>(log.size()) - 1);
    const std::string_view text(log.data());
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end;
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (line.substr(0, 4) != "data" || line.find("should be") == std::string_view::npos) {
            continue;
        }
        const long long announced = NumberAfter(line, ":");
        const long long held = NumberAfter(line, "should be");
        if (announced > held && held >= 0 && announced < 0xFFFFFFFFLL) {
            return true;
        }
    }
    return false;
}

class SoundFileSource final : public SampleSource {
public:
    SoundFileSource(SNDFILE* file, const SF_INFO& info)
        : m_file(file),
          m_info(info),
          m_interleaved(static_cast<std::size_t>(kFramesPerRead * info.channels)) {
        if (HeaderPromisesMore(file)) {
            m_cutShort = true;
        }
    }
    ~SoundFileSource() override { sf_close(m_file); }
    SoundFileSource(const SoundFileSource&) = delete;
    SoundFileSource& operator=(const SoundFileSource&) = delete;

    double RateHz() const override { return m_info.samplerate; }

    std::size_t Read(std::span<float> block) override {
        if (m_ended) {
            return 0;
        }
        const sf_count_t wanted =
            std::min<sf_count_t>(kFramesPerRead, static_cast<sf_count_t>(block.size()));
        const sf_count_t got = sf_readf_float(m_file, m_interleaved.data(), wanted);
        if (got <= 0) {
            End();
            return 0;
        }
        const int channels = m_info.channels;
        for (sf_count_t frame = 0; frame < got; ++frame) {
            const float* sample = m_interleaved.data() + frame * channels;
            float sum = 0;
            for (int channel = 0; channel < channels; ++channel) {
                sum += sample[channel];
            }
            block[static_cast<std::size_t>(frame)] = sum / static_cast<float>(channels);
        }
        m_framesRead += got;
        return static_cast<std::size_t>(got);
    }

    const std::string& Error() const override { return m_error; }

    std::optional<double> FractionRead() const override {
        if (!KnowsLength()) {
            return std::nullopt;
        }
        return std::min(1.0,
                        static_cast<double>(m_framesRead) / static_cast<double>(m_info.frames));
    }

private:
    bool KnowsLength() const { return m_info.frames > 0 && m_info.frames != SF_COUNT_MAX; }

    void End() {
        m_ended = true;
        if (sf_error(m_file) != SF_ERR_NO_ERROR) {
            m_error = ReasonOf(sf_strerror(m_file));
        } else if (m_cutShort || (KnowsLength() && m_framesRead < m_info.frames)) {
            m_error = "the file is cut short: its header announces more sound than it holds";
        }
    }

    SNDFILE* m_file = nullptr;
    SF_INFO m_info{};
    std::vector<float> m_interleaved;
    sf_count_t m_framesRead = 0;
    bool m_cutShort = false;
    bool m_ended = false;
    std::string m_error;
};

/// Opens `path` as every file the program reads is opened, and checks that it has something
/// in it. Returns the descriptor, or -1 with `error` set.
int OpenRegularFile(const std::string& path, std::string& error) {
    const int fd = OpenLogDescriptor(path, LogFiles::RegularOnly, error);
    if (fd < 0) {
        return -1;
    }
    struct stat file {};
    if (::fstat(fd, &file) != 0) {
        error = std::strerror(errno);
    } else if (file.st_size == 0) {
        error = "the file is empty";
    }
    if (!error.empty()) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

std::unique_ptr<SampleSource> OpenRecording(const std::string& path, std::string& error) {
    error.clear();
    const int fd = OpenRegularFile(path, error);
    if (fd < 0) {
        return nullptr;
    }
    SF_INFO info{};
    SNDFILE* file = sf_open_fd(fd, SFM_READ, &info, SF_TRUE);
    if (file == nullptr) {
        error =
            "it is not sound in a format libsndfile reads (" + ReasonOf(sf_strerror(nullptr)) + ")";
        ::close(fd);
        return nullptr;
    }
    if (info.channels < 1 || info.frames == 0) {
        error = "it holds no sound";
    } else if (info.samplerate < kLowestRateHz || info.samplerate > kHighestRateHz) {
        error = "its sample rate of " + std::to_string(info.samplerate) +
                " Hz is outside 8000 to 192000 Hz";
    }
    if (!error.empty()) {
        sf_close(file);
        return nullptr;
    }
    return std::make_unique<SoundFileSource>(file, info);
}

}  // namespace ao07::audio
