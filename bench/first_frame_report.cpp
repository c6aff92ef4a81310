#include "bench/first_frame_report.h"

#include <time.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <string>

namespace ao07::bench {
namespace {

/// Waits for the window's first paint event; once that paint is done and the frame handed to
/// the screen (the next turn of the event loop), reports the time and quits.
class FirstFrameWatch final : public QObject {
public:
    FirstFrameWatch(QWidget& window, int fd) : QObject(&window), m_fd(fd) {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] { Report(); });
        }
        return false;
    }

private:
    void Report() {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const std::string text = std::to_string(now.tv_sec * 1000000000LL + now.tv_nsec);
        // A failed write leaves the benchmark without a first frame; the program quits anyway.
        [[maybe_unused]] const ssize_t written = ::write(m_fd, text.data(), text.size());
        ::close(m_fd);
        QCoreApplication::quit();
    }

    int m_fd;
};

}  // namespace

void ReportFirstFrame(QWidget& window) {
    bool ok = false;
    const int fd = qEnvironmentVariableIntValue("AO07_FIRST_FRAME_FD", &ok);
    if (ok && fd >= 0) {
        new FirstFrameWatch(window, fd);  // owned by the window
    }
}

}  // namespace ao07::bench
