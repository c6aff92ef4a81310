#include "ui/listen/listen_window.h"

#include <QAccessible>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTextBlock>
#include <QTimer>

#include <algorithm>
#include <cmath>

#include "audio/listen_events.h"
#include "ui/last_log_folder.h"
#include "ui/listen/copy_pad.h"
#include "ui/listen/listen_run.h"
#include "ui/listen/log_keeping.h"
#include "ui/listen/sound_inputs.h"
#include "ui/listen/waterfall.h"

namespace ao07::ui {
namespace {

// How long the sound server is given to list its inputs before a device named on the command
// line is said to be missing.
constexpr int kInputListWaitMs = 10000;

}  // namespace

ListenWindow::ListenWindow(const ListenRequest& request, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ListenWindow"));
    setWindowTitle(tr("Listen"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_inputs = new SoundInputs(this);
    m_run = new ListenRun(this);
    m_keeping = new LogKeeping(this);
    m_controls = BuildListenControls(this);
    ConnectControls();
    ListInputs();

    connect(m_inputs, &SoundInputs::inputsChanged, this, &ListenWindow::ListInputs);
    connect(m_run, &ListenRun::spectrumRow, this, &ListenWindow::onSpectrumRow);
    connect(m_run, &ListenRun::signalChanged, this, &ListenWindow::onSignalChanged);
    connect(m_run, &ListenRun::lineHeard, this, &ListenWindow::onLineHeard);
    connect(m_run, &ListenRun::finished, this, &ListenWindow::onRunFinished);
    connect(m_keeping, &LogKeeping::writeFailed, this, &ListenWindow::onWriteFailed);
    connect(m_keeping, &LogKeeping::writeRecovered, this,
            [this] { Say(tr("The log holds every complete line."), false); });
    connect(m_controls.pad, &CopyPad::completeLinesChanged, this, &ListenWindow::onLinesChanged);
    connect(m_controls.pad, &CopyPad::rowCompleted, this, &ListenWindow::onRowCompleted);
    connect(m_controls.waterfall, &Waterfall::toneChosen, this, &ListenWindow::onToneChosen);
    ApplyRequest(request);
    ShowState();
}

ListenWindow::~ListenWindow() = default;

void ListenWindow::ConnectControls() {
    connect(m_controls.source, &QComboBox::currentIndexChanged, this,
            &ListenWindow::onSourceChanged);
    connect(m_controls.chooseRecording, &QPushButton::clicked, this,
            &ListenWindow::onChooseRecordingClicked);
    connect(m_controls.chooseLog, &QPushButton::clicked, this, &ListenWindow::onChooseLogClicked);
    connect(m_controls.start, &QPushButton::clicked, this, &ListenWindow::onStartClicked);
    connect(m_controls.stop, &QPushButton::clicked, this, &ListenWindow::onStopClicked);
    connect(m_controls.orbit, &QLineEdit::editingFinished, this, &ListenWindow::onOrbitEdited);
    connect(m_controls.tune, &QPushButton::clicked, this,
            [this] { onToneChosen(m_controls.tuneTone->value()); });
    onSignalChanged(audio::SignalEstimate{});
}

void ListenWindow::ListInputs() {
    const QVariant chosen = m_controls.source->currentData();
    QSignalBlocker blocker(m_controls.source);
    m_controls.source->clear();
    for (const QAudioDevice& device : m_inputs->Inputs()) {
        m_controls.source->addItem(device.description(), QString::fromUtf8(device.id()));
    }
    m_controls.source->addItem(tr("Recording file"), QString());
    const int again = m_controls.source->findData(chosen);
    m_controls.source->setCurrentIndex(again >= 0 ? again : 0);
    if (!m_wantedDevice.isEmpty()) {
        const QAudioDevice wanted = m_inputs->Find(m_wantedDevice);
        if (!wanted.isNull()) {
            m_controls.source->setCurrentIndex(
                m_controls.source->findData(QString::fromUtf8(wanted.id())));
            m_wantedDevice.clear();
            if (m_startWhenListed) {
                m_startWhenListed = false;
                QMetaObject::invokeMethod(this, &ListenWindow::onStartClicked,
                                          Qt::QueuedConnection);
            }
        }
    }
    blocker.unblock();
    onSourceChanged();
}

void ListenWindow::ApplyRequest(const ListenRequest& request) {
    m_controls.log->setText(request.log.isEmpty() ? DefaultLogName() : request.log);
    m_controls.fast->setChecked(request.fast);
    if (!request.recording.isEmpty()) {
        m_controls.recording->setText(request.recording);
        m_controls.source->setCurrentIndex(m_controls.source->count() - 1);
    }
    if (!request.device.isEmpty()) {
        m_wantedDevice = request.device;
        m_startWhenListed = true;
        ListInputs();
        if (!m_wantedDevice.isEmpty()) {
            QTimer::singleShot(kInputListWaitMs, this, [this] {
                if (!m_wantedDevice.isEmpty()) {
                    m_startWhenListed = false;
                    Say(tr("No sound input is called \"%1\".").arg(m_wantedDevice), true);
                }
            });
        }
    } else if (request.StartsAtOnce()) {
        QMetaObject::invokeMethod(this, &ListenWindow::onStartClicked, Qt::QueuedConnection);
    }
}

QString ListenWindow::DefaultLogName() {
    QString folder = LastLogFolder();
    if (folder.isEmpty() || !QDir(folder).exists()) {
        folder = QDir::homePath();
    }
    const QString name = QDateTime::currentDateTimeUtc().toString(
        QStringLiteral("'ao07-'yyyy-MM-dd'-'HHmmss'Z.txt'"));
    return QDir(folder).filePath(name);
}

QString ListenWindow::LogPath() const {
    return m_keeping->Path();
}

bool ListenWindow::KeepLog() {
    const QString path = m_controls.log->text().trimmed();
    if (path.isEmpty()) {
        Say(tr("Choose the log file first."), true);
        return false;
    }
    if (m_keeping->Path() == path) {
        return m_keeping->Keep(m_controls.pad->CompleteLines());
    }
    if (!m_keeping->Start(path, m_controls.pad->CompleteLines())) {
        return false;
    }
    RememberLogFolder(path);
    Say(tr("Keeping the log in %1").arg(QDir::toNativeSeparators(path)), false);
    emit logPathChanged(path);
    return true;
}

void ListenWindow::onStartClicked() {
    if (m_run->IsRunning() || !KeepLog()) {
        return;
    }
    const QString deviceId = m_controls.source->currentData().toString();
    QString error;
    if (deviceId.isEmpty()) {
        error = m_run->StartRecording(m_controls.recording->text(), m_controls.fast->isChecked());
    } else {
        const QAudioDevice device = m_inputs->Find(deviceId);
        error = m_run->StartInput(device);
    }
    if (!error.isEmpty()) {
        Say(error, true);
    } else {
        Say(tr("Listening to %1")
                .arg(deviceId.isEmpty() ? QFileInfo(m_controls.recording->text()).fileName()
                                        : m_controls.source->currentText()),
            false);
    }
    ShowState();
}

void ListenWindow::onStopClicked() {
    m_run->Stop();
    Say(tr("Stopped."), false);
    ShowState();
}

void ListenWindow::closeEvent(QCloseEvent* event) {
    m_run->Stop();
    m_keeping->Keep(m_controls.pad->CompleteLines());
    m_keeping->Stop();
    event->accept();
}

void ListenWindow::ShowState() {
    const bool running = m_run->IsRunning();
    const bool recording = m_controls.source->currentData().toString().isEmpty();
    m_controls.start->setEnabled(!running);
    m_controls.stop->setEnabled(running);
    m_controls.source->setEnabled(!running);
    m_controls.recording->setEnabled(!running && recording);
    m_controls.chooseRecording->setEnabled(!running && recording);
    m_controls.fast->setEnabled(!running && recording);
    m_controls.log->setEnabled(!running);
    m_controls.chooseLog->setEnabled(!running);
}

void ListenWindow::Say(const QString& text, bool problem) {
    m_controls.status->setText(text);
    m_controls.status->setStyleSheet(problem ? QStringLiteral("color: #b00020; font-weight: bold;")
                                             : QString());
    if (problem) {
        QAccessibleEvent alert(m_controls.status, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    }
}

void ListenWindow::onSourceChanged() {
    ShowState();
}

void ListenWindow::onChooseRecordingClicked() {
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Choose a recording"), LastLogFolder(),
        tr("Recordings (*.wav *.flac *.ogg *.opus *.mp3);;All files (*)"));
    if (!path.isEmpty()) {
        m_controls.recording->setText(path);
    }
}

void ListenWindow::onChooseLogClicked() {
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Choose the log file"), m_controls.log->text(), tr("Logs (*.txt);;All files (*)"));
    if (!path.isEmpty()) {
        m_controls.log->setText(path);
        if (!m_keeping->Path().isEmpty()) {
            KeepLog();
        }
    }
}

void ListenWindow::onOrbitEdited() {
    const QString orbit = m_controls.orbit->text().trimmed();
    if (orbit.isEmpty()) {
        return;
    }
    const QString line = QStringLiteral("ORBIT %1").arg(orbit);
    QTextCursor cursor(m_controls.pad->document()->firstBlock());
    cursor.beginEditBlock();
    if (m_controls.pad->document()->firstBlock().text().contains(QStringLiteral("ORBIT"),
                                                                 Qt::CaseInsensitive)) {
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.insertText(line);
    } else {
        cursor.insertText(line + QLatin1Char('\n'));
    }
    cursor.endEditBlock();
}

void ListenWindow::onLinesChanged() {
    if (m_keeping->Path().isEmpty()) {
        // The first complete line starts the log, even before any listening.
        KeepLog();
    } else {
        m_keeping->Keep(m_controls.pad->CompleteLines());
    }
}

void ListenWindow::onLineHeard(const QString& line, const std::vector<HeardDigit>& digits) {
    m_controls.pad->AddHeardLine(line, digits);
}

void ListenWindow::onSignalChanged(const audio::SignalEstimate& signal) {
    const bool tone = signal.toneHz > 0;
    m_controls.level->setValue(std::clamp(static_cast<int>(std::lround(signal.levelDbfs)),
                                          m_controls.level->minimum(), 0));
    m_controls.clipping->setText(signal.clipping ? tr("CLIPPING: turn the level down") : QString());
    m_controls.clipping->setStyleSheet(
        signal.clipping ? QStringLiteral("color: #b00020; font-weight: bold;") : QString());
    m_controls.tone->setText(tone ? tr("Tone: %1 Hz").arg(std::lround(signal.toneHz))
                                  : tr("Tone: none"));
    m_controls.speed->setText(tone && signal.wordsPerMinute > 0
                                  ? tr("Speed: %1 wpm").arg(std::lround(signal.wordsPerMinute))
                                  : tr("Speed: -"));
    m_controls.snr->setText(tone ? tr("SNR: %1 dB").arg(std::lround(signal.snrDb)) : tr("SNR: -"));
    m_controls.waterfall->MarkTone(signal.toneHz);
}

void ListenWindow::onSpectrumRow(std::vector<float> powerDb, double firstBinHz, double binHz) {
    m_controls.waterfall->AddRow(powerDb, firstBinHz, binHz);
}

void ListenWindow::onToneChosen(double toneHz) {
    m_controls.tuneTone->setValue(static_cast<int>(std::lround(toneHz)));
    m_run->TuneTo(toneHz);
    m_controls.waterfall->MarkTone(toneHz);
    Say(tr("Tuned to %1 Hz").arg(std::lround(toneHz)), false);
}

void ListenWindow::onRowCompleted(const QString& spoken) {
    if (!m_controls.announce->isChecked()) {
        return;
    }
    // Setting the name sends AT-SPI's accessible-name change, which the screen reader speaks.
    m_controls.announcement->setAccessibleName(spoken);
}

void ListenWindow::onWriteFailed(const QString& reason) {
    // Listening on while nothing reaches the disk would lose the pass without a word.
    const bool wasRunning = m_run->IsRunning();
    m_run->Stop();
    Say(wasRunning ? tr("The log could not be written, and listening has stopped: %1").arg(reason)
                   : tr("The log could not be written: %1").arg(reason),
        true);
    ShowState();
}

void ListenWindow::onRunFinished(const QString& reason) {
    Say(reason, false);
    ShowState();
}

}  // namespace ao07::ui
