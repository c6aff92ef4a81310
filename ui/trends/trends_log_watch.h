#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

#include <vector>

class QFileSystemWatcher;
class QTimer;

namespace ao07::ui {

/// Watches the logs of the Trends window on disk and says, once they have been quiet for a
/// moment, that they may have changed.
class TrendsLogWatch final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TrendsLogWatch)

public:
    /// What became of a watched log since it was last read.
    enum class State { Same, Changed, Gone };

    explicit TrendsLogWatch(QObject* parent = nullptr);

    /// Starts or renews watching log `index` at `path`, as it is on disk now.
    void Watch(std::size_t index, const QString& path);
    /// What became of log `index` since Watch.
    State StateOf(std::size_t index) const;

signals:
    /// A watched log or its folder changed, and nothing more has happened for a moment.
    void Settled();

private:
    struct Watched {
        QString path;
        QDateTime modified;
        qint64 size = -1;
    };

    QFileSystemWatcher* m_watcher = nullptr;
    QTimer* m_quiet = nullptr;
    std::vector<Watched> m_logs;
};

}  // namespace ao07::ui
