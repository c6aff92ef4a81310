#include "cli/listen_run.h"

#include <unistd.h>

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "audio/beacon_listener.h"
#include "audio/log_writer.h"
#include "audio/recording_start.h"
#include "audio/sample_source.h"
#include "cli/decode_output.h"
#include "cli/group_report.h"
#include "cli/listen_options.h"
#include "cli/progress_bar.h"

namespace ao07::cli {
namespace {

/// Samples handed to the listener at a time: a tenth of a second at 44.1 kHz, so that lines
/// come out promptly from a live pipe and memory stays small.
constexpr std::size_t kBlockSamples = 4096;

/// Why the log or the report may not be a file that is read: creating it would empty it.
constexpr std::string_view kIsARecording = "it is one of the recordings being read";

std::string NameOf(const std::string& recording) {
    return recording == "-" ? "standard input" : recording;
}

class ListenRun final : public audio::ListenEvents {
public:
    ListenRun(const ListenOptions& options, std::ostream& errors)
        : m_options(options),
          m_errors(errors),
          m_log(options.outputPath),
          m_report(options.reportPath) {}

    int Run() {
        for (const std::string& recording : m_options.recordings) {
            if (!ListenTo(recording)) {
                return 1;
            }
        }
        for (tool::DecodeOutput* output : {&m_log, &m_report}) {
            if (const std::string error = output->File().Close(); !error.empty()) {
                return Fail(output->NotClosed(error));
            }
        }
        return m_status;
    }

private:
    /// Copies one recording; false when the run must stop because an output failed.
    bool ListenTo(const std::string& recording) {
        const std::string name = NameOf(recording);
        std::string error;
        // The recording is opened before the outputs are created, so that a wrong name never
        // empties an existing log.
        const std::unique_ptr<audio::SampleSource> source =
            recording == "-" ? audio::RawSamplesFrom(STDIN_FILENO, m_options.rateHz)
                             : audio::OpenRecording(recording, error);
        if (!source) {
            Fail("cannot read recording \"" + name + "\": " + error);
            return true;
        }
        if (!m_log.IsOpen() && !OpenOutputs()) {
            return false;
        }
        m_recording = name;
        m_framesHeard = 0;
        m_writer->SetRecordingStart(m_options.startUtc ? m_options.startUtc
                                    : recording == "-" ? std::nullopt
                                                       : audio::StartFromFileName(recording));
        audio::ListenSettings settings;
        settings.sampleRateHz = source->RateHz();
        settings.toneHintHz = m_options.toneHintHz;
        settings.wordsPerMinuteHint = m_options.wordsPerMinuteHint;
        settings.confidenceThreshold = m_options.confidenceThreshold;
        audio::BeaconListener listener(settings, *this);
        m_progress.emplace(name, recording != "-" && source->FractionRead().has_value());
        std::vector<float> block(kBlockSamples);
        while (m_writeError.empty()) {
            const std::size_t count = source->Read(block);
            if (count == 0) {
                listener.Finish();
                break;
            }
            listener.Push(std::span<const float>(block.data(), count));
            m_progress->Show(source->FractionRead().value_or(0), m_signal.toneHz,
                             m_signal.wordsPerMinute);
        }
        m_progress.reset();
        if (!m_writeError.empty()) {
            Fail(m_writeError);
            return false;
        }
        if (!source->Error().empty()) {
            Fail("cannot read all of recording \"" + name + "\": " + source->Error());
        } else if (m_framesHeard == 0) {
            Fail("no beacon frame heard in recording \"" + name + "\"");
        }
        return true;
    }

    bool OpenOutputs() {
        const tool::LogIdentities recordings = tool::IdentitiesOf(m_options.recordings);
        for (tool::DecodeOutput* output : {&m_log, &m_report}) {
            if (output == &m_report && m_options.reportPath.empty()) {
                continue;
            }
            // Others follow the log and the report while they grow: each line goes out whole
            // as soon as it is complete.
            std::string error = output->Open(recordings, kIsARecording);
            if (error.empty()) {
                error = output->File().SetBatched(false);
            }
            if (!error.empty()) {
                Fail("cannot write \"" + output->Name() + "\": " + error);
                return false;
            }
        }
        m_writer.emplace(m_log.File(), audio::HeardLog(m_options.orbit));
        if (const std::string error = m_writer->Begin(); !error.empty()) {
            Fail(m_log.RecordNotWritten(error));
            return false;
        }
        return true;
    }

    void LineHeard(const audio::HeardLine& line) override {
        if (line.kind != audio::HeardLineKind::Other) {
            ++m_framesHeard;
        }
        if (m_progress) {
            m_progress->Clear();  // the log may be shown on the same terminal
        }
        if (!m_writeError.empty()) {
            return;
        }
        if (const std::string error = m_writer->Write(line); !error.empty()) {
            m_writeError = m_log.RecordNotWritten(error);
        }
    }

    void GroupHeard(const audio::HeardGroup& group) override {
        if (!m_report.IsOpen() || !m_writeError.empty()) {
            return;
        }
        if (const std::string error =
                m_report.File().WriteRecord(GroupReportLine(m_recording, group));
            !error.empty()) {
            m_writeError = m_report.RecordNotWritten(error);
        }
    }

    void SignalChanged(const audio::SignalEstimate& signal) override { m_signal = signal; }
    void ToneFound(const audio::SignalEstimate& signal) override { m_signal = signal; }
    void ToneLost(const audio::SignalEstimate& signal) override { m_signal = signal; }

    int Fail(const std::string& message) {
        m_errors << "ao07-listen: " << message << '\n';
        m_status = 1;
        return 1;
    }

    const ListenOptions& m_options;
    std::ostream& m_errors;
    tool::DecodeOutput m_log;
    tool::DecodeOutput m_report;
    std::optional<audio::LogWriter> m_writer;
    std::optional<ProgressBar> m_progress;
    std::string m_recording;
    std::string m_writeError;  ///< the first write that failed; the run stops at it
    int m_framesHeard = 0;
    audio::SignalEstimate m_signal;
    int m_status = 0;
};

}  // namespace

int ListenToRecordings(const ListenOptions& options, std::ostream& errors) {
    return ListenRun(options, errors).Run();
}

}  // namespace ao07::cli
