#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace ao07 {
class KeptLog;
}

namespace ao07::ui {

/// Keeps the copy pad's complete lines on disk: a line added at the end is appended, any other
/// change rewrites the log whole. A write that fails is said at once, and tried again with the
/// next change.
class LogKeeping final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LogKeeping)

public:
    explicit LogKeeping(QObject* parent = nullptr);
    ~LogKeeping() override;

    /// Keeps the log in `path` from now on; it holds `lines` at once. Returns false (and says
    /// why through writeFailed) when the log could not be written.
    bool Start(const QString& path, const QStringList& lines);

    /// Brings the log on disk to `lines`. Returns false (and says why) when a write failed.
    bool Keep(const QStringList& lines);

    /// Stops keeping the log.
    void Stop();

    /// The log kept, or "" when none.
    QString Path() const;

    /// Whether the log on disk holds every complete line.
    bool UpToDate() const { return m_upToDate; }

signals:
    /// A write failed; `reason` names the file.
    void writeFailed(const QString& reason);
    /// The log on disk holds every complete line again after a failure.
    void writeRecovered();

private:
    bool Report(const std::string& error);

    std::unique_ptr<KeptLog> m_log;
    QStringList m_onDisk;  ///< what the log on disk holds
    bool m_upToDate = true;
};

}  // namespace ao07::ui
