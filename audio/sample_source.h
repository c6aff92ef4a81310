#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace ao07::audio {

/// The sound that the listener hears: a recording read in blocks, or raw samples as they
/// arrive. Memory stays the same however long the sound is.
class SampleSource {
public:
    virtual ~SampleSource() = default;

    /// Samples per second of every sample Read gives.
    virtual double RateHz() const = 0;

    /// Fills the front of `block` with the next mono samples, full scale +-1, and returns how
    /// many; 0 at the end or after an error. Waits for samples that have not arrived yet.
    virtual std::size_t Read(std::span<float> block) = 0;

    /// "" or why the sound ended before its end (a read error, a file cut short).
    virtual const std::string& Error() const = 0;

    /// How much of the sound has been read, 0..1; nullopt where the length is not known.
    virtual std::optional<double> FractionRead() const = 0;
};

/// The lowest and highest sample rates the listener takes.
inline constexpr double kLowestRateHz = 8000;
inline constexpr double kHighestRateHz = 192000;

/// Opens the recording at `path` in any format libsndfile reads; stereo and multichannel sound
/// is mixed to mono. Returns nullptr and sets `error` to the reason (for the user, without the
/// file's name) when it cannot be read.
std::unique_ptr<SampleSource> OpenRecording(const std::string& path, std::string& error);

/// Raw 16-bit little-endian mono samples at `rateHz` from the open descriptor `fd` (standard
/// input), each block given as soon as it arrives. The descriptor stays open.
std::unique_ptr<SampleSource> RawSamplesFrom(int fd, double rateHz);

}  // namespace ao07::audio
