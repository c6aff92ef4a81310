#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <span>

namespace ao07::audio {

/// The band and pace of the rows a waterfall shows.
struct SpectrumSettings {
    double sampleRateHz = 8000;
    double lowHz = 200;        ///< the first row bin is at or just below this
    double highHz = 2000;      ///< the last row bin is at or just above this
    double binHz = 8;          ///< at most this far apart; the transform's length follows from it
    double rowSeconds = 0.05;  ///< a row every this long
};

/// Turns samples into rows of power, in dB of full scale, over the settings' band: the rows a
/// waterfall scrolls through. A full-scale sine reads about 0 dB in its bin.
class SpectrumRows {
public:
    using RowSink = std::function<void(std::span<const float> powerDb)>;

    SpectrumRows(const SpectrumSettings& settings, RowSink sink);
    ~SpectrumRows();
    SpectrumRows(const SpectrumRows&) = delete;
    SpectrumRows& operator=(const SpectrumRows&) = delete;

    /// Takes the next samples, full scale +-1; hands every row completed to the sink.
    void Push(std::span<const float> samples);

    /// How many bins each row has.
    std::size_t BinCount() const;
    /// The frequency of the first bin of a row.
    double FirstBinHz() const;
    /// The distance between two bins.
    double BinHz() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace ao07::audio
