#include "ui/listen/listen_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ui/listen/copy_pad.h"
#include "ui/listen/listen_run.h"
#include "ui/listen/listen_window.h"
#include "ui/listen/waterfall.h"

namespace ao07::ui {
namespace {

// The level bar spans this range of input level; the noise of a quiet input sits low in it.
constexpr int kLowestLevelDb = -60;
// Tones the tuning box takes, as wide as the waterfall.
constexpr int kLowestToneHz = 200;
constexpr int kHighestToneHz = 2000;

QLabel* Caption(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

}  // namespace

ListenControls BuildListenControls(ListenWindow* window) {
    ListenControls c;
    auto* sourceRow = new QHBoxLayout;
    c.source = new QComboBox(window);
    c.source->setObjectName(QStringLiteral("source"));
    c.source->setAccessibleName(ListenWindow::tr("Source"));
    c.recording = new QLineEdit(window);
    c.recording->setObjectName(QStringLiteral("recording"));
    c.recording->setAccessibleName(ListenWindow::tr("Recording"));
    c.chooseRecording = new QPushButton(ListenWindow::tr("Choose &recording..."), window);
    c.chooseRecording->setObjectName(QStringLiteral("chooseRecording"));
    c.fast = new QCheckBox(ListenWindow::tr("As &fast as it goes"), window);
    c.fast->setObjectName(QStringLiteral("fast"));
    c.fast->setAccessibleName(ListenWindow::tr("Play the recording as fast as it goes"));
    sourceRow->addWidget(Caption(ListenWindow::tr("&Source:"), c.source, window));
    sourceRow->addWidget(c.source, 2);
    sourceRow->addWidget(c.recording, 3);
    sourceRow->addWidget(c.chooseRecording);
    sourceRow->addWidget(c.fast);

    auto* logRow = new QHBoxLayout;
    c.orbit = new QLineEdit(window);
    c.orbit->setObjectName(QStringLiteral("orbit"));
    c.orbit->setAccessibleName(ListenWindow::tr("Orbit"));
    c.orbit->setValidator(new QIntValidator(0, 9999999, c.orbit));
    c.orbit->setMaximumWidth(window->fontMetrics().horizontalAdvance(QStringLiteral("00000000")) +
                             12);
    c.log = new QLineEdit(window);
    c.log->setObjectName(QStringLiteral("log"));
    c.log->setAccessibleName(ListenWindow::tr("Log file"));
    c.chooseLog = new QPushButton(ListenWindow::tr("Choose &log..."), window);
    c.chooseLog->setObjectName(QStringLiteral("chooseLog"));
    c.start = new QPushButton(ListenWindow::tr("S&tart"), window);
    c.start->setObjectName(QStringLiteral("start"));
    c.stop = new QPushButton(ListenWindow::tr("Sto&p"), window);
    c.stop->setObjectName(QStringLiteral("stop"));
    logRow->addWidget(Caption(ListenWindow::tr("&Orbit:"), c.orbit, window));
    logRow->addWidget(c.orbit);
    logRow->addWidget(Caption(ListenWindow::tr("Lo&g:"), c.log, window));
    logRow->addWidget(c.log, 1);
    logRow->addWidget(c.chooseLog);
    logRow->addWidget(c.start);
    logRow->addWidget(c.stop);

    auto* signalRow = new QHBoxLayout;
    c.level = new QProgressBar(window);
    c.level->setObjectName(QStringLiteral("level"));
    c.level->setAccessibleName(ListenWindow::tr("Input level"));
    c.level->setRange(kLowestLevelDb, 0);
    c.level->setValue(kLowestLevelDb);
    c.level->setFormat(ListenWindow::tr("%v dBFS"));
    c.clipping = new QLabel(window);
    c.clipping->setObjectName(QStringLiteral("clipping"));
    c.clipping->setAccessibleName(ListenWindow::tr("Clipping"));
    c.tone = new QLabel(window);
    c.tone->setObjectName(QStringLiteral("tone"));
    c.speed = new QLabel(window);
    c.speed->setObjectName(QStringLiteral("speed"));
    c.snr = new QLabel(window);
    c.snr->setObjectName(QStringLiteral("snr"));
    c.tuneTone = new QSpinBox(window);
    c.tuneTone->setObjectName(QStringLiteral("tuneTone"));
    c.tuneTone->setAccessibleName(ListenWindow::tr("Tone to tune to, in hertz"));
    c.tuneTone->setRange(kLowestToneHz, kHighestToneHz);
    c.tuneTone->setSuffix(ListenWindow::tr(" Hz"));
    c.tuneTone->setValue(800);
    c.tune = new QPushButton(ListenWindow::tr("T&une"), window);
    c.tune->setObjectName(QStringLiteral("tune"));
    c.tune->setAccessibleName(ListenWindow::tr("Tune to this tone"));
    signalRow->addWidget(Caption(ListenWindow::tr("Level:"), c.level, window));
    signalRow->addWidget(c.level, 1);
    signalRow->addWidget(c.clipping);
    signalRow->addWidget(c.tone);
    signalRow->addWidget(c.speed);
    signalRow->addWidget(c.snr);
    signalRow->addWidget(c.tuneTone);
    signalRow->addWidget(c.tune);

    c.waterfall = new Waterfall(ListenRun::kLowHz, ListenRun::kHighHz, window);
    c.pad = new CopyPad(window);

    auto* statusRow = new QHBoxLayout;
    c.status = new QLabel(window);
    c.status->setObjectName(QStringLiteral("status"));
    c.status->setAccessibleName(ListenWindow::tr("Status"));
    c.status->setWordWrap(true);
    c.announce = new QCheckBox(ListenWindow::tr("&Announce rows"), window);
    c.announce->setObjectName(QStringLiteral("announce"));
    c.announce->setAccessibleName(ListenWindow::tr("Announce each completed row"));
    // A screen reader hears each announcement as a change of this label's name; it stays out of
    // sight.
    c.announcement = new QLabel(window);
    c.announcement->setObjectName(QStringLiteral("announcement"));
    c.announcement->setAccessibleName(ListenWindow::tr("Announcement"));
    c.announcement->setFixedSize(1, 1);
    statusRow->addWidget(c.status, 1);
    statusRow->addWidget(c.announce);
    statusRow->addWidget(c.announcement);

    auto* layout = new QVBoxLayout(window);
    layout->addLayout(sourceRow);
    layout->addLayout(logRow);
    layout->addLayout(signalRow);
    layout->addWidget(c.waterfall, 2);
    layout->addWidget(c.pad, 3);
    layout->addLayout(statusRow);
    // The window's first size, within the screen however large its scaling.
    QSize size(780, 560);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableGeometry().size() - QSize(16, 40));
    }
    window->resize(size);

    return c;
}

}  // namespace ao07::ui
