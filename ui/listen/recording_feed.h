#pragma once

#include <QString>

#include <cstddef>
#include <memory>
#include <span>

namespace ao07::ui {

/// A recording read a block at a time, mixed to mono, for a listening run.
class RecordingFeed {
public:
    RecordingFeed();
    ~RecordingFeed();
    RecordingFeed(const RecordingFeed&) = delete;
    RecordingFeed& operator=(const RecordingFeed&) = delete;

    /// Opens the recording. Returns "" or why it cannot be read, naming the file.
    QString Open(const QString& path);
    /// Its sample rate.
    double SampleRateHz() const;
    /// Reads the next samples into `samples`; returns how many, 0 at the end. `error` is set
    /// when reading failed.
    std::size_t Read(std::span<float> samples, QString& error);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace ao07::ui
