#include "decoder/frame_stream.h"

#include "decoder/front_panel.h"
#include "decoder/main_module.h"

namespace ao07 {

/// Steps a MainModule and keeps only what a stream of frames needs.
class FrameStream::Collector final : public FrontPanel {
public:
    bool ShowsEachStep() const override { return false; }
    void FrameCompleted(const Frame& frame) override { completed = &frame; }
    void LineCut(std::int64_t lineNumber, bool, std::string_view message) override {
        if (onLineCut) {
            onLineCut(lineNumber, message);
        }
    }
    void ShowError(std::string_view message) override {
        if (readError.empty()) {
            readError = message;
        }
    }

    MainModule module{*this};
    const Frame* completed = nullptr;
    std::string readError;
    std::function<void(std::int64_t, std::string_view)> onLineCut;
};

FrameStream::FrameStream() : m_collector(std::make_unique<Collector>()) {}

FrameStream::~FrameStream() = default;

std::string FrameStream::Open(const std::string& path, LogFiles accepted) {
    m_collector->readError.clear();
    return m_collector->module.OpenLog(path, accepted);
}

void FrameStream::Attach(int fd, const std::string& name) {
    m_collector->readError.clear();
    m_collector->module.OpenLogFromDescriptor(fd, name);
}

const Frame* FrameStream::Next() {
    Collector& collector = *m_collector;
    collector.completed = nullptr;
    collector.module.ReadOn();
    while (collector.completed == nullptr && !collector.module.State().AtEndOfFile &&
           !collector.module.State().InputFileName.empty()) {
        collector.module.AdvanceOneLine();
    }
    return collector.completed;
}

LogFile& FrameStream::Log() {
    return m_collector->module.Log();
}

const std::string& FrameStream::ReadError() const {
    return m_collector->readError;
}

void FrameStream::OnLineCut(std::function<void(std::int64_t, std::string_view)> report) {
    m_collector->onLineCut = std::move(report);
}

std::string DecodeLogFrames(const std::string& path, std::vector<Frame>& frames) {
    FrameStream stream;
    if (std::string error = stream.Open(path); !error.empty()) {
        return error;
    }
    while (const Frame* frame = stream.Next()) {
        frames.push_back(*frame);
    }
    return stream.ReadError();
}

}  // namespace ao07
