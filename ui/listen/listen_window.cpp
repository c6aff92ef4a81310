#include "ui/listen/listen_window.h"

#include <QAccessible>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>

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

// The level bar spans this range of input level; the noise of a quiet input sits low in it.
constexpr int kLowestLevelDb = -60;
// Tones the tuning box takes, as wide as the waterfall.
constexpr int kLowestToneHz = 200;
constexpr int kHighestToneHz = 2000;
// How long the sound server is given to list its inputs before a device named on the command
// line is said to be missing.
constexpr int kInputListWaitMs = 3000;

QLabel* Caption(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

}  // namespace

ListenWindow::ListenWindow(const ListenRequest& request, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ListenWindow"));
    setWindowTitle(tr("Listen"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_inputs = new SoundInputs(this);
    m_run = new ListenRun(this);
    m_keeping = new LogKeeping(this);
    BuildControls();
    ListInputs();

    connect(m_inputs, &SoundInputs::inputsChanged, this, &ListenWindow::ListInputs);
    connect(m_run, &ListenRun::spectrumRow, this, &ListenWindow::onSpectrumRow);
    connect(m_run, &ListenRun::signalChanged, this, &ListenWindow::onSignalChanged);
    connect(m_run, &ListenRun::lineHeard, this, &ListenWindow::onLineHeard);
    connect(m_run, &ListenRun::finished, this, &ListenWindow::onRunFinished);
    connect(m_keeping, &LogKeeping::writeFailed, this, &ListenWindow::onWriteFailed);
    connect(m_keeping, &LogKeeping::writeRecovered, this,
            [this] { Say(tr("The log holds every complete line."), false); });
    connect(m_pad, &CopyPad::completeLinesChanged, this, &ListenWindow::onLinesChanged);
    connect(m_pad, &CopyPad::rowCompleted, this, &ListenWindow::onRowCompleted);
    connect(m_waterfall, &Waterfall::toneChosen, this, &ListenWindow::onToneChosen);
    ApplyRequest(request);
    ShowState();
}

ListenWindow::~ListenWindow() = default;

void ListenWindow::BuildControls() {
    auto* sourceRow = new QHBoxLayout;
    m_source = new QComboBox(this);
    m_source->setObjectName(QStringLiteral("source"));
    m_source->setAccessibleName(tr("Source"));
    m_recording = new QLineEdit(this);
    m_recording->setObjectName(QStringLiteral("recording"));
    m_recording->setAccessibleName(tr("Recording"));
    m_chooseRecording = new QPushButton(tr("Choose &recording..."), this);
    m_chooseRecording->setObjectName(QStringLiteral("chooseRecording"));
    m_fast = new QCheckBox(tr("As &fast as it goes"), this);
    m_fast->setObjectName(QStringLiteral("fast"));
    m_fast->setAccessibleName(tr("Play the recording as fast as it goes"));
    sourceRow->addWidget(Caption(tr("&Source:"), m_source, this));
    sourceRow->addWidget(m_source, 2);
    sourceRow->addWidget(m_recording, 3);
    sourceRow->addWidget(m_chooseRecording);
    sourceRow->addWidget(m_fast);

    auto* logRow = new QHBoxLayout;
    m_orbit = new QLineEdit(this);
    m_orbit->setObjectName(QStringLiteral("orbit"));
    m_orbit->setAccessibleName(tr("Orbit"));
    m_orbit->setValidator(new QIntValidator(0, 9999999, m_orbit));
    m_orbit->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00000000")) + 12);
    m_log = new QLineEdit(this);
    m_log->setObjectName(QStringLiteral("log"));
    m_log->setAccessibleName(tr("Log file"));
    m_chooseLog = new QPushButton(tr("Choose &log..."), this);
    m_chooseLog->setObjectName(QStringLiteral("chooseLog"));
    m_start = new QPushButton(tr("S&tart"), this);
    m_start->setObjectName(QStringLiteral("start"));
    m_stop = new QPushButton(tr("Sto&p"), this);
    m_stop->setObjectName(QStringLiteral("stop"));
    logRow->addWidget(Caption(tr("&Orbit:"), m_orbit, this));
    logRow->addWidget(m_orbit);
    logRow->addWidget(Caption(tr("Lo&g:"), m_log, this));
    logRow->addWidget(m_log, 1);
    logRow->addWidget(m_chooseLog);
    logRow->addWidget(m_start);
    logRow->addWidget(m_stop);

    auto* signalRow = new QHBoxLayout;
    m_level = new QProgressBar(this);
    m_level->setObjectName(QStringLiteral("level"));
    m_level->setAccessibleName(tr("Input level"));
    m_level->setRange(kLowestLevelDb, 0);
    m_level->setValue(kLowestLevelDb);
    m_level->setFormat(tr("%v dBFS"));
    m_clipping = new QLabel(this);
    m_clipping->setObjectName(QStringLiteral("clipping"));
    m_clipping->setAccessibleName(tr("Clipping"));
    m_tone = new QLabel(this);
    m_tone->setObjectName(QStringLiteral("tone"));
    m_speed = new QLabel(this);
    m_speed->setObjectName(QStringLiteral("speed"));
    m_snr = new QLabel(this);
    m_snr->setObjectName(QStringLiteral("snr"));
    m_tuneTone = new QSpinBox(this);
    m_tuneTone->setObjectName(QStringLiteral("tuneTone"));
    m_tuneTone->setAccessibleName(tr("Tone to tune to, in hertz"));
    m_tuneTone->setRange(kLowestToneHz, kHighestToneHz);
    m_tuneTone->setSuffix(tr(" Hz"));
    m_tuneTone->setValue(800);
    m_tune = new QPushButton(tr("T&une"), this);
    m_tune->setObjectName(QStringLiteral("tune"));
    m_tune->setAccessibleName(tr("Tune to this tone"));
    signalRow->addWidget(Caption(tr("Level:"), m_level, this));
    signalRow->addWidget(m_level, 1);
    signalRow->addWidget(m_clipping);
    signalRow->addWidget(m_tone);
    signalRow->addWidget(m_speed);
    signalRow->addWidget(m_snr);
    signalRow->addWidget(m_tuneTone);
    signalRow->addWidget(m_tune);

    m_waterfall = new Waterfall(ListenRun::kLowHz, ListenRun::kHighHz, this);
    m_pad = new CopyPad(this);

    auto* statusRow = new QHBoxLayout;
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setAccessibleName(tr("Status"));
    m_status->setWordWrap(true);
    m_announce = new QCheckBox(tr("&Announce rows"), this);
    m_announce->setObjectName(QStringLiteral("announce"));
    m_announce->setAccessibleName(tr("Announce each completed row"));
    // A screen reader hears each announcement as a change of this label's name; it stays out of
    // sight.
    m_announcement = new QLabel(this);
    m_announcement->setObjectName(QStringLiteral("announcement"));
    m_announcement->setAccessibleName(tr("Announcement"));
    m_announcement->setFixedSize(1, 1);
    statusRow->addWidget(m_status, 1);
    statusRow->addWidget(m_announce);
    statusRow->addWidget(m_announcement);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sourceRow);
    layout->addLayout(logRow);
    layout->addLayout(signalRow);
    layout->addWidget(m_waterfall, 2);
    layout->addWidget(m_pad, 3);
    layout->addLayout(statusRow);
    // The window's first size, within the screen however large its scaling.
    QSize size(780, 560);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableGeometry().size() - QSize(16, 40));
    }
    resize(size);

    connect(m_source, &QComboBox::currentIndexChanged, this, &ListenWindow::onSourceChanged);
    connect(m_chooseRecording, &QPushButton::clicked, this,
            &ListenWindow::onChooseRecordingClicked);
    connect(m_chooseLog, &QPushButton::clicked, this, &ListenWindow::onChooseLogClicked);
    connect(m_start, &QPushButton::clicked, this, &ListenWindow::onStartClicked);
    connect(m_stop, &QPushButton::clicked, this, &ListenWindow::onStopClicked);
    connect(m_orbit, &QLineEdit::editingFinished, this, &ListenWindow::onOrbitEdited);
    connect(m_tune, &QPushButton::clicked, this, [this] { onToneChosen(m_tuneTone->value()); });
    onSignalChanged(audio::SignalEstimate{});
}

void ListenWindow::ListInputs() {
    const QVariant chosen = m_source->currentData();
    QSignalBlocker blocker(m_source);
    m_source->clear();
    for (const QAudioDevice& device : m_inputs->Inputs()) {
        m_source->addItem(device.description(), QString::fromUtf8(device.id()));
    }
    m_source->addItem(tr("Recording file"), QString());
    const int again = m_source->findData(chosen);
    m_source->setCurrentIndex(again >= 0 ? again : 0);
    if (!m_wantedDevice.isEmpty()) {
        const QAudioDevice wanted = m_inputs->Find(m_wantedDevice);
        if (!wanted.isNull()) {
            m_source->setCurrentIndex(m_source->findData(QString::fromUtf8(wanted.id())));
            m_wantedDevice.clear();
            if (m_startWhenListed) {
                m_startWhenListed = false;
                QMetaObject::invokeMethod(this, &ListenWindow::onStartClicked, Qt::QueuedConnection);
            }
        }
    }
    blocker.unblock();
    onSourceChanged();
}

void ListenWindow::ApplyRequest(const ListenRequest& request) {
    m_log->setText(request.log.isEmpty() ? DefaultLogName() : request.log);
    m_fast->setChecked(request.fast);
    if (!request.recording.isEmpty()) {
        m_recording->setText(request.recording);
        m_source->setCurrentIndex(m_source->count() - 1);
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
    const QString path = m_log->text().trimmed();
    if (path.isEmpty()) {
        Say(tr("Choose the log file first."), true);
        return false;
    }
    if (m_keeping->Path() == path) {
        return m_keeping->Keep(m_pad->CompleteLines());
    }
    if (!m_keeping->Start(path, m_pad->CompleteLines())) {
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
    const QString deviceId = m_source->currentData().toString();
    QString error;
    if (deviceId.isEmpty()) {
        error = m_run->StartRecording(m_recording->text(), m_fast->isChecked());
    } else {
        const QAudioDevice device = m_inputs->Find(deviceId);
        error = m_run->StartInput(device);
    }
    if (!error.isEmpty()) {
        Say(error, true);
    } else {
        Say(tr("Listening to %1")
                .arg(deviceId.isEmpty() ? QFileInfo(m_recording->text()).fileName()
                                        : m_source->currentText()),
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
    m_keeping->Keep(m_pad->CompleteLines());
    m_keeping->Stop();
    event->accept();
}

void ListenWindow::ShowState() {
    const bool running = m_run->IsRunning();
    const bool recording = m_source->currentData().toString().isEmpty();
    m_start->setEnabled(!running);
    m_stop->setEnabled(running);
    m_source->setEnabled(!running);
    m_recording->setEnabled(!running && recording);
    m_chooseRecording->setEnabled(!running && recording);
    m_fast->setEnabled(!running && recording);
    m_log->setEnabled(!running);
    m_chooseLog->setEnabled(!running);
}

void ListenWindow::Say(const QString& text, bool problem) {
    m_status->setText(text);
    m_status->setStyleSheet(problem ? QStringLiteral("color: #b00020; font-weight: bold;")
                                    : QString());
    if (problem) {
        QAccessibleEvent alert(m_status, QAccessible::Alert);
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
        m_recording->setText(path);
    }
}

void ListenWindow::onChooseLogClicked() {
    const QString path = QFileDialog::getSaveFileName(this, tr("Choose the log file"),
                                                      m_log->text(), tr("Logs (*.txt);;All files (*)"));
    if (!path.isEmpty()) {
        m_log->setText(path);
        if (!m_keeping->Path().isEmpty()) {
            KeepLog();
        }
    }
}

void ListenWindow::onOrbitEdited() {
    const QString orbit = m_orbit->text().trimmed();
    if (orbit.isEmpty()) {
        return;
    }
    const QString line = QStringLiteral("ORBIT %1").arg(orbit);
    QTextCursor cursor(m_pad->document()->firstBlock());
    cursor.beginEditBlock();
    if (m_pad->document()->firstBlock().text().contains(QStringLiteral("ORBIT"), Qt::CaseInsensitive)) {
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
        m_keeping->Keep(m_pad->CompleteLines());
    }
}

void ListenWindow::onLineHeard(const QString& line, const std::vector<HeardDigit>& digits) {
    m_pad->AddHeardLine(line, digits);
}

void ListenWindow::onSignalChanged(const audio::SignalEstimate& signal) {
    const bool tone = signal.toneHz > 0;
    m_level->setValue(std::clamp(static_cast<int>(std::lround(signal.levelDbfs)), kLowestLevelDb, 0));
    m_clipping->setText(signal.clipping ? tr("CLIPPING: turn the level down") : QString());
    m_clipping->setStyleSheet(signal.clipping ? QStringLiteral("color: #b00020; font-weight: bold;")
                                              : QString());
    m_tone->setText(tone ? tr("Tone: %1 Hz").arg(std::lround(signal.toneHz)) : tr("Tone: none"));
    m_speed->setText(tone && signal.wordsPerMinute > 0
                         ? tr("Speed: %1 wpm").arg(std::lround(signal.wordsPerMinute))
                         : tr("Speed: -"));
    m_snr->setText(tone ? tr("SNR: %1 dB").arg(std::lround(signal.snrDb)) : tr("SNR: -"));
    m_waterfall->MarkTone(signal.toneHz);
}

void ListenWindow::onSpectrumRow(std::vector<float> powerDb, double firstBinHz, double binHz) {
    m_waterfall->AddRow(powerDb, firstBinHz, binHz);
}

void ListenWindow::onToneChosen(double toneHz) {
    m_tuneTone->setValue(static_cast<int>(std::lround(toneHz)));
    m_run->TuneTo(toneHz);
    m_waterfall->MarkTone(toneHz);
    Say(tr("Tuned to %1 Hz").arg(std::lround(toneHz)), false);
}

void ListenWindow::onRowCompleted(const QString& spoken) {
    if (!m_announce->isChecked()) {
        return;
    }
    // Setting the name sends AT-SPI's accessible-name change, which the screen reader speaks.
    m_announcement->setAccessibleName(spoken);
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
