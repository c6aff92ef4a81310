#include "ui/listen/listen_run.h"

#include <QAudioSource>
#include <QDateTime>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <cstring>

#include "audio/beacon_listener.h"
#include "audio/heard_log.h"
#include "audio/recording_start.h"
#include "audio/sample_source.h"
#include "audio/waterfall_rows.h"

namespace ao07::ui {
namespace {

// The engine needs no more than 8 kHz for tones up to 2 kHz, and every input gives it.
constexpr int kInputRateHz = 8000;
// A recording at real time goes to the engine in blocks this long.
constexpr int kRecordingTickMs = 50;
// As fast as it goes: this many seconds of a recording per turn of the event loop, so that the
// window still answers between them.
constexpr double kFastSecondsPerTurn = 2.0;

}  // namespace

ListenRun::ListenRun(QObject* parent) : QObject(parent) {
    m_recordingTimer = new QTimer(this);
    connect(m_recordingTimer, &QTimer::timeout, this, &ListenRun::onRecordingTick);
}

ListenRun::~ListenRun() {
    Stop();
}

void ListenRun::StartEngine(double sampleRateHz, std::optional<std::int64_t> startUtcSeconds) {
    m_log = std::make_unique<audio::HeardLog>();
    m_log->SetRecordingStart(startUtcSeconds);
    audio::ListenSettings settings;
    settings.sampleRateHz = sampleRateHz;
    audio::ListenEvents& events = *this;
    m_engine = std::make_unique<audio::BeaconListener>(settings, events);
    audio::SpectrumSettings band;
    band.sampleRateHz = sampleRateHz;
    band.lowHz = kLowHz;
    band.highHz = kHighHz;
    m_spectrum = std::make_unique<audio::SpectrumRows>(band, [this](std::span<const float> row) {
        emit spectrumRow(std::vector<float>(row.begin(), row.end()), m_spectrum->FirstBinHz(),
                         m_spectrum->BinHz());
    });
    m_running = true;
}

QString ListenRun::StartInput(const QAudioDevice& device) {
    Stop();
    if (device.isNull()) {
        return tr("No sound input was chosen.");
    }
    QAudioFormat format;
    format.setSampleRate(kInputRateHz);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Float);
    if (!device.isFormatSupported(format)) {
        format = device.preferredFormat();
    }
    m_inputChannels = std::max(1, format.channelCount());
    m_source = new QAudioSource(device, format, this);
    m_input = m_source->start();
    if (m_input == nullptr || m_source->error() != QAudio::NoError) {
        delete m_source;
        m_source = nullptr;
        m_input = nullptr;
        return tr("The sound input \"%1\" could not be opened.").arg(device.description());
    }
    // Sound from an input is heard as it comes: its first sample is now.
    StartEngine(format.sampleRate(), QDateTime::currentSecsSinceEpoch());
    connect(m_input, &QIODevice::readyRead, this, &ListenRun::onInputReady);
    return {};
}

QString ListenRun::StartRecording(const QString& path, bool fast) {
    Stop();
    std::string error;
    m_recording = audio::OpenRecording(QFile::encodeName(path).toStdString(), error);
    if (!m_recording) {
        return tr("The recording \"%1\" cannot be read: %2")
            .arg(path, QString::fromStdString(error));
    }
    m_fast = fast;
    m_samplesPlayed = 0;
    // A recording's frames get TIME and DATE lines when its name says when it started, as SDR
    // programs name their recordings; otherwise the operator types them.
    StartEngine(m_recording->RateHz(),
                audio::StartFromFileName(QFile::encodeName(path).toStdString()));
    m_recordingClock.start();
    m_recordingTimer->start(fast ? 0 : kRecordingTickMs);
    return {};
}

void ListenRun::Stop() {
    if (!m_running) {
        return;
    }
    m_running = false;
    m_recordingTimer->stop();
    if (m_source != nullptr) {
        m_source->stop();
        delete m_source;
        m_source = nullptr;
        m_input = nullptr;
    }
    m_recording.reset();
    m_engine->Finish();
    m_engine.reset();
    m_spectrum.reset();
    m_log.reset();
}

void ListenRun::TuneTo(double toneHz) {
    if (m_engine) {
        m_engine->TuneTo(toneHz);
    }
}

void ListenRun::Push(std::span<const float> samples) {
    m_spectrum->Push(samples);
    m_engine->Push(samples);
}

void ListenRun::onInputReady() {
    const QByteArray bytes = m_input->readAll();
    const QAudioFormat format = m_source->format();
    const int frameBytes = format.bytesPerFrame();
    if (frameBytes <= 0) {
        return;
    }
    const qsizetype frames = bytes.size() / frameBytes;
    m_samples.resize(static_cast<std::size_t>(frames));
    for (qsizetype frame = 0; frame < frames; ++frame) {
        // Every channel of a frame is mixed into one sample.
        float sum = 0;
        const char* data = bytes.constData() + frame * frameBytes;
        for (int channel = 0; channel < m_inputChannels; ++channel) {
            sum += format.normalizedSampleValue(data + channel * format.bytesPerSample());
        }
        m_samples[static_cast<std::size_t>(frame)] = sum / static_cast<float>(m_inputChannels);
    }
    Push(m_samples);
}

void ListenRun::onRecordingTick() {
    const double rateHz = m_recording->RateHz();
    // At real time the recording keeps pace with the clock, whatever the timer's jitter.
    const auto due = m_fast ? m_samplesPlayed + static_cast<qint64>(kFastSecondsPerTurn * rateHz)
                            : static_cast<qint64>(m_recordingClock.elapsed() * rateHz / 1000.0);
    while (m_running && m_samplesPlayed < due) {
        m_samples.resize(static_cast<std::size_t>(std::min<qint64>(due - m_samplesPlayed, 8192)));
        const std::size_t read = m_recording->Read(m_samples);
        if (read == 0) {
            const QString error = QString::fromStdString(m_recording->Error());
            Stop();
            emit finished(error.isEmpty()
                              ? tr("The recording has ended.")
                              : tr("The recording could not be read on: %1").arg(error));
            return;
        }
        Push(std::span<const float>(m_samples.data(), read));
        m_samplesPlayed += static_cast<qint64>(read);
    }
}

void ListenRun::ToneFound(const audio::SignalEstimate& signal) {
    emit signalChanged(signal);
}

void ListenRun::ToneLost(const audio::SignalEstimate& signal) {
    emit signalChanged(signal);
}

void ListenRun::SignalChanged(const audio::SignalEstimate& signal) {
    emit signalChanged(signal);
}

void ListenRun::LineHeard(const audio::HeardLine& line) {
    std::vector<HeardDigit> digits;
    // Group g of a row stands at columns 4g to 4g + 2 of its line.
    for (std::size_t group = 0; group < line.groups.size(); ++group) {
        const audio::HeardGroup& heard = line.groups[group];
        for (std::size_t i = 0; i < heard.text.size() && i < heard.confidence.size(); ++i) {
            digits.push_back(
                {static_cast<int>(4 * group + i), heard.confidence[i], heard.text[i] == 'x'});
        }
    }
    std::vector<std::string> lines;
    m_log->Take(line, lines);
    for (const std::string& text : lines) {
        // The digits' marks go with the engine's own line; the log's other lines carry none.
        emit lineHeard(QString::fromLatin1(text),
                       text == line.text ? digits : std::vector<HeardDigit>{});
    }
}

}  // namespace ao07::ui
