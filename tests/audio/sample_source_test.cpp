#include "audio/sample_source.h"

#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <cmath>
#include <vector>

#include "support/temp_dir.h"

namespace ao07::audio {
namespace {

/// Sample `i` of channel `channel` in the recordings written here: a different slow ramp on
/// each channel, exact in 16 bits.
float Written(int i, int channel) {
    return static_cast<float>((i % 200) * (channel + 1)) / 1024.0f;
}

/// Reads the whole source in blocks of `blockSize`.
std::vector<float> ReadAll(SampleSource& source, std::size_t blockSize) {
    std::vector<float> all;
    std::vector<float> block(blockSize);
    while (const std::size_t got = source.Read(block)) {
        all.insert(all.end(), block.begin(), block.begin() + static_cast<long>(got));
    }
    return all;
}

TEST(SampleSource, RecordingsAreReadAsMonoAtTheirRate) {
    const struct {
        int format;
        int channels;
        int rateHz;
        int frames;
    } cases[] = {
        {SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 8000, 20000},
        {SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 44100, 9001},
        {SF_FORMAT_WAV | SF_FORMAT_FLOAT, 3, 192000, 5000},
        {SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 2, 96000, 12345},
    };
    const test::TempDir dir;
    for (const auto& c : cases) {
        const std::string path = dir.File("sound" + std::to_string(c.format) + ".rec");
        SF_INFO info{};
        info.samplerate = c.rateHz;
        info.channels = c.channels;
        info.format = c.format;
        SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
        ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
        std::vector<float> frames;
        for (int i = 0; i < c.frames; ++i) {
            for (int channel = 0; channel < c.channels; ++channel) {
                frames.push_back(Written(i, channel));
            }
        }
        ASSERT_EQ(sf_writef_float(file, frames.data(), c.frames), c.frames);
        sf_close(file);

        std::string error;
        const auto source = OpenRecording(path, error);
        ASSERT_NE(source, nullptr) << error;
        EXPECT_EQ(source->RateHz(), c.rateHz);
        const std::vector<float> mono = ReadAll(*source, 1000);
        EXPECT_EQ(source->Error(), "");
        EXPECT_EQ(source->FractionRead(), 1.0);
        ASSERT_EQ(mono.size(), static_cast<std::size_t>(c.frames)) << c.format;
        for (int i = 0; i < c.frames; ++i) {
            float mix = 0;
            for (int channel = 0; channel < c.channels; ++channel) {
                mix += Written(i, channel);
            }
            ASSERT_NEAR(mono[static_cast<std::size_t>(i)], mix / static_cast<float>(c.channels),
                        1e-6f)
                << "sample " << i << " of format " << c.format;
        }
    }
}

TEST(SampleSource, RawSamplesArriveInAnyPieces) {
    // Little-endian 16-bit samples 0, 1, -1, full scale negative, 16384, cut inside samples.
    const unsigned char bytes[] = {0x00, 0x00, 0x01, 0x00, 0xFF, 0xFF, 0x00, 0x80, 0x00, 0x40};
    const std::vector<float> expected = {0.0f, 1 / 32768.0f, -1 / 32768.0f, -1.0f, 0.5f};
    for (const std::size_t cut : {std::size_t{2}, std::size_t{3}, std::size_t{9}}) {
        int pipeEnds[2];
        ASSERT_EQ(::pipe(pipeEnds), 0);
        const auto source = RawSamplesFrom(pipeEnds[0], 8000);
        std::vector<float> got;
        std::vector<float> block(64);
        ASSERT_EQ(::write(pipeEnds[1], bytes, cut), static_cast<ssize_t>(cut));
        // What has arrived is given before the rest is written: a pipe is read as it fills.
        const std::size_t first = source->Read(block);
        EXPECT_EQ(first, cut / 2);
        got.insert(got.end(), block.begin(), block.begin() + static_cast<long>(first));
        ASSERT_EQ(::write(pipeEnds[1], bytes + cut, sizeof bytes - cut),
                  static_cast<ssize_t>(sizeof bytes - cut));
        ::close(pipeEnds[1]);
        const std::vector<float> rest = ReadAll(*source, 64);
        got.insert(got.end(), rest.begin(), rest.end());
        ::close(pipeEnds[0]);
        EXPECT_EQ(got, expected) << "cut after byte " << cut;
        EXPECT_EQ(source->Error(), "");
    }
}

}  // namespace
}  // namespace ao07::audio
