#include "cli/listen_run.h"

#include <sys/stat.h>
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
#include "cli/group_report.h"
#include "cli/listen_options.h"
#include "cli/progress_bar.h"
#include "core/output_file.h"

namespace ao07::cli {
namespace {

/// Samples handed to the listener at a time: a tenth of a second at 44.1 kHz, so that lines
/// come out promptly from a live pipe and memory stays small.
constexpr std::size_t kBlockSamples = 4096;

std::string NameOf(const std::string& recording) {
    return recording == "-" ? "standard input" : recording;
}

/// Whether the file at `path` is one of the recordings, which creating it would empty.
bool IsOneOfTheRecordings(const std::string& path, const std::vector<std::string>& recordings) {
    struct stat target {};
    if (::stat(path.c_str(), &target) != 0 || !S_ISREG(target.st_mode)) {
        return false;
    }
    for (const std::string& recording : recordings) {
        struct stat file {};
        if (recording != "-" && ::stat(recording.c_str(), &file) == 0 &&
            file.st_dev == target.st_dev && file.st_ino == target.st_ino) {
            return true;
        }
    }
    return false;
}

/// The log or the report: the named file created afresh, or standard output.
struct Output {
    std::string path;  ///< "" for standard output
    OutputFile file;

    std::string Name() const { return path.empty() ? "standard output" : path; }

    std::string Open(const std::vector<std::string>& recordings) {
        if (path.empty()) {
            file.Attach(STDOUT_FILENO);
            return {};
        }
        if (IsOneOfTheRecordings(path, recordings)) {
            return "it is one of the recordings being read";
        }
        return file.Create(path);
    }
};

class ListenRun final : public audio::ListenEvents {
public:
    ListenRun(const ListenOptions& options, std::ostream& errors)
        : m_options(options), m_errors(errors) {
        m_log.path = options.outputPath;
        m_report.path = options.reportPath;
    }

    int Run() {
        for (const std::string& recording : m_options.recordings) {
            if (!ListenTo(recording)) {
                return 1;
            }
        }
        if (m_outputsOpen) {
            for (Output* output : {&m_log, &m_report}) {
                if (const std::string error = output->file.Close(); !error.empty()) {
                    return Fail("cannot write \"" + output->Name() + "\": " + error);
                }
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
        if (!m_outputsOpen && !OpenOutputs()) {
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
        for (Output* output : {&m_log, &m_report}) {
            if (output == &m_report && m_report.path.empty()) {
                continue;
            }
            if (const std::string error = output->Open(m_options.recordings); !error.empty()) {
                Fail("cannot write \"" + output->Name() + "\": " + error);
                return false;
            }
        }
        m_outputsOpen = true;
        m_writer.emplace(m_log.file, m_log.Name(), audio::HeardLog(m_options.orbit));
        if (const std::string error = m_writer->Begin(); !error.empty()) {
            Fail(error);
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
        if (m_writeError.empty()) {
            m_writeError = m_writer->Write(line);
        }
    }

    void GroupHeard(const audio::HeardGroup& group) override {
        if (m_report.path.empty() || !m_writeError.empty()) {
            return;
        }
        if (const std::string error =
                m_report.file.WriteRecord(GroupReportLine(m_recording, group));
            !error.empty()) {
            m_writeError = "cannot write the report to \"" + m_report.Name() + "\": " + error;
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
    Output m_log;
    Output m_report;
    bool m_outputsOpen = false;
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
