#include "ui/trends/trends_log_watch.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

namespace ao07::ui {
namespace {

// An operator still typing saves often, and an editor replaces a file in several steps: a log
// is read again once it has been quiet this long.
constexpr int kQuietMs = 300;

}  // namespace

TrendsLogWatch::TrendsLogWatch(QObject* parent) : QObject(parent) {
    m_watcher = new QFileSystemWatcher(this);
    m_quiet = new QTimer(this);
    m_quiet->setSingleShot(true);
    m_quiet->setInterval(kQuietMs);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, m_quiet, qOverload<>(&QTimer::start));
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, m_quiet, qOverload<>(&QTimer::start));
    connect(m_quiet, &QTimer::timeout, this, &TrendsLogWatch::Settled);
}

void TrendsLogWatch::Watch(std::size_t index, const QString& path) {
    const QFileInfo info(path);
    if (m_logs.size() <= index) {
        m_logs.resize(index + 1);
    }
    m_logs[index] = {path, info.exists() ? info.lastModified() : QDateTime(),
                     info.exists() ? info.size() : -1};
    // A file replaced by an editor drops out of the watch: it is added again each time.
    if (info.exists()) {
        m_watcher->addPath(path);
    }
    // The folder too: an editor that saves by renaming, or a log that comes back.
    const QString folder = info.absolutePath();
    if (!m_watcher->directories().contains(folder)) {
        m_watcher->addPath(folder);
    }
}

TrendsLogWatch::State TrendsLogWatch::StateOf(std::size_t index) const {
    const Watched& log = m_logs.at(index);
    const QFileInfo info(log.path);
    if (!info.exists()) {
        return State::Gone;
    }
    return info.lastModified() == log.modified && info.size() == log.size ? State::Same
                                                                          : State::Changed;
}

}  // namespace ao07::ui
