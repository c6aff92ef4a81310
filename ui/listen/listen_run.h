#pragma once

#include <QAudioDevice>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "audio/listen_events.h"
#include "ui/listen/copy_pad.h"

class QAudioSource;
class QIODevice;
class QTimer;

namespace ao07::audio {
class BeaconListener;
class HeardLog;
class SampleSource;
class SpectrumRows;
}  // namespace ao07::audio

namespace ao07::ui {

/// One listening run: samples from a sound input or a recording go to the engine, which copies
/// the beacon, and to the waterfall's spectrum. What they find comes out as signals, in the
/// window's thread.
class ListenRun final : public QObject, private audio::ListenEvents {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ListenRun)

public:
    explicit ListenRun(QObject* parent = nullptr);
    ~ListenRun() override;

    /// Starts listening to a sound input. Returns "" or why it could not start.
    QString StartInput(const QAudioDevice& device);
    /// Starts playing a recording through the engine, at real time or as fast as it goes.
    /// Returns "" or why it could not start.
    QString StartRecording(const QString& path, bool fast);
    /// Stops listening; what the engine still holds is reported first.
    void Stop();
    /// Whether a run is going on.
    bool IsRunning() const { return m_running; }

    /// The user chose a tone: the engine follows it from there.
    void TuneTo(double toneHz);

    /// The waterfall's band: the first bin, the distance between bins and their count.
    static constexpr double kLowHz = 200;
    static constexpr double kHighHz = 2000;

signals:
    /// A new row of power for the waterfall, in dB of full scale.
    void spectrumRow(std::vector<float> powerDb, double firstBinHz, double binHz);
    /// The estimates changed.
    void signalChanged(const ao07::audio::SignalEstimate& signal);
    /// The log got a line: one the engine completed, or a TIME or DATE line before a frame.
    void lineHeard(const QString& line, const std::vector<ao07::ui::HeardDigit>& digits);
    /// A recording ended, or the input stopped.
    void finished(const QString& reason);

private:
    void StartEngine(double sampleRateHz, std::optional<std::int64_t> startUtcSeconds);
    void Push(std::span<const float> samples);
    void onInputReady();
    void onRecordingTick();

    // The engine's events.
    void ToneFound(const audio::SignalEstimate& signal) override;
    void ToneLost(const audio::SignalEstimate& signal) override;
    void SignalChanged(const audio::SignalEstimate& signal) override;
    void LineHeard(const audio::HeardLine& line) override;

    std::unique_ptr<audio::BeaconListener> m_engine;
    std::unique_ptr<audio::SpectrumRows> m_spectrum;
    std::unique_ptr<audio::HeardLog> m_log;
    QAudioSource* m_source = nullptr;
    QIODevice* m_input = nullptr;
    int m_inputChannels = 1;
    std::unique_ptr<audio::SampleSource> m_recording;
    QTimer* m_recordingTimer = nullptr;
    QElapsedTimer m_recordingClock;
    qint64 m_samplesPlayed = 0;
    bool m_fast = false;
    bool m_running = false;
    std::vector<float> m_samples;
};

}  // namespace ao07::ui
