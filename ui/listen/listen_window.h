#pragma once

#include <QWidget>

#include <vector>

#include "ui/listen/listen_controls.h"
#include "ui/listen/listen_request.h"

namespace ao07::audio {
struct SignalEstimate;
}

namespace ao07::ui {

class ListenRun;
class LogKeeping;
class SoundInputs;
struct HeardDigit;

/// The Listen window: copies the beacon from a sound input or a recording into a log, shows the
/// band as a waterfall with the tracked tone, and lets the operator type or correct the log in
/// the copy pad. The log on disk holds every complete line at every moment.
class ListenWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ListenWindow)
    Q_PROPERTY(QString logPath READ LogPath NOTIFY logPathChanged)

public:
    explicit ListenWindow(const ListenRequest& request, QWidget* parent = nullptr);
    ~ListenWindow() override;

    /// The log being made.
    QString LogPath() const;

    /// The name a new log takes: the UTC date and time in the last log folder.
    static QString DefaultLogName();

public slots:
    /// Starts listening to the chosen source, keeping the log first.
    void onStartClicked();
    /// Stops listening; the log stays as it is.
    void onStopClicked();

signals:
    /// The log being made is now `path`.
    void logPathChanged(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ConnectControls();
    void ListInputs();
    void ApplyRequest(const ListenRequest& request);
    bool KeepLog();
    void ShowState();
    void Say(const QString& text, bool problem);
    void onSourceChanged();
    void onChooseRecordingClicked();
    void onChooseLogClicked();
    void onOrbitEdited();
    void onLinesChanged();
    void onLineHeard(const QString& line, const std::vector<HeardDigit>& digits);
    void onSignalChanged(const audio::SignalEstimate& signal);
    void onSpectrumRow(std::vector<float> powerDb, double firstBinHz, double binHz);
    void onToneChosen(double toneHz);
    void onRowCompleted(const QString& spoken);
    void onWriteFailed(const QString& reason);
    void onRunFinished(const QString& reason);

    SoundInputs* m_inputs = nullptr;
    ListenRun* m_run = nullptr;
    LogKeeping* m_keeping = nullptr;

    ListenControls m_controls;

    QString m_wantedDevice;  ///< the input asked for on the command line, until it is listed
    bool m_startWhenListed = false;
};

}  // namespace ao07::ui
