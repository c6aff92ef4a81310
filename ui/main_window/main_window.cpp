#include "ui/main_window/main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>
#include <QUrl>

#include <utility>

#include "core/program_identity.h"
#include "decoder/channel_equations.h"
#include "decoder/csv_record.h"
#include "decoder/frame.h"
#include "ui/about/about_window.h"
#include "ui/file_chooser.h"
#include "ui/last_log_folder.h"
#include "ui/listen/listen_request.h"
#include "ui/listen/listen_window_loader.h"
#include "ui/main_window/screen_reader_names.h"
#include "ui/main_window/trends_opener.h"
#include "ui/message_boxes.h"
#include "ui/program_icons.h"
#include "ui/screen_room.h"
#include "ui/windows1252.h"

namespace ao07::ui {
namespace {

constexpr int kAutoIntervalMs = 200;
const QString kAutoCaption = QStringLiteral("Auto");  // the caption while Auto mode is off
const QString kStopCaption = QStringLiteral("Stop");  // the caption while Auto mode is on
const QString kLogFilter = QStringLiteral("Text Files (*.txt)|*.txt|All files *.*|*.*");

/// Enter or Return on a focused push button presses it, as Space does. The buttons are not
/// auto-default (that would draw them with a default frame), so they ignore those keys.
class EnterPressesButton final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            auto* button = qobject_cast<QPushButton*>(watched);
            if (button && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
                if (!key->isAutoRepeat()) {
                    button->click();
                }
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

/// A file name or a reason from the system (strerror), in the system's own encoding.
QString FromSystemText(std::string_view text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

/// The local file that a drag carries, or "" unless it carries exactly one local file.
QString DraggedLogFile(const QMimeData* data) {
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.constFirst().isLocalFile()) {
        return {};
    }
    const QString name = urls.constFirst().toLocalFile();
    return QFileInfo(name).isFile() ? name : QString();
}

}  // namespace

MainWindow::MainWindow(std::unique_ptr<FileChooser> chooser, std::unique_ptr<MessageBoxes> boxes,
                       LogFiles opens)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_opens(opens),
      m_chooser(chooser ? std::move(chooser) : std::make_unique<QtFileChooser>()),
      m_boxes(boxes ? std::move(boxes) : std::make_unique<QtMessageBoxes>()),
      m_openDialog(*m_chooser) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromLatin1(kProgramTitle));
    setWindowIcon(DishAntennaIcon());

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("clientArea"));
    client->setFixedSize(kClientWidthPx, kClientHeightPx);
    setCentralWidget(client);
    m_controls = BuildMainWindowControls(client);
    m_marks = std::make_unique<ChannelMarks>(m_controls);
    BuildMenus();
    NameControlsForScreenReaders(m_controls);
    // ao-07.csv goes into the working directory, which a desktop menu makes the home folder.
    m_controls.chkEnableCSVFile->setToolTip(
        QStringLiteral("Writes %1")
            .arg(QDir::current().absoluteFilePath(QString::fromLatin1(kCsvFileName))));
    // A dropped file opens as a log; the text boxes would take its name as text instead.
    setAcceptDrops(true);
    m_controls.txtRawData->setAcceptDrops(false);
    m_controls.txtOutputData->setAcceptDrops(false);
    m_controls.txtOutputData->viewport()->setAcceptDrops(false);
    // The border is fixed: the window is exactly the menu bar over the client area.
    setFixedSize(kClientWidthPx, kClientHeightPx + menuBar()->sizeHint().height());
    FitToScreen();

    m_autoTimer = new QTimer(this);
    m_autoTimer->setObjectName(QStringLiteral("Timer1"));
    // Auto mode steps every 200 ms without drifting, as a coarse timer would.
    m_autoTimer->setTimerType(Qt::PreciseTimer);
    m_autoTimer->setInterval(0);

    auto* enterPresses = new EnterPressesButton(this);
    for (QPushButton* button : {m_controls.butNext, m_controls.butAutoStop, m_controls.butExit}) {
        button->installEventFilter(enterPresses);
    }

    connect(m_autoTimer, &QTimer::timeout, this, &MainWindow::onTimerTick);
    connect(m_controls.butNext, &QPushButton::clicked, this, &MainWindow::onNextClicked);
    connect(m_controls.butAutoStop, &QPushButton::clicked, this, &MainWindow::onAutoStopClicked);
    connect(m_controls.butExit, &QPushButton::clicked, this, &MainWindow::onExitClicked);
    // toggled, not clicked: the reaction runs however the user changes the box.
    connect(m_controls.chkEnableCSVFile, &QCheckBox::toggled, this, &MainWindow::onCsvBoxToggled);
    connect(m_mnuFileOpen, &QAction::triggered, this, &MainWindow::onOpenTriggered);
    connect(m_mnuFileListen, &QAction::triggered, this, &MainWindow::onListenTriggered);
    connect(m_mnuFileExit, &QAction::triggered, this, &MainWindow::onExitTriggered);
    connect(m_mnuAbout, &QAction::triggered, this, &MainWindow::onAboutTriggered);

    SteppingChanged(false);   // until a log is open
    new TrendsOpener(*this);  // double-click and context menu that open the Trends window
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));
    bar->setNativeMenuBar(false);
    bar->setFont(WindowFont());
    QMenu* mnuFile = bar->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFile->menuAction()->setObjectName(QStringLiteral("mnuFile"));
    mnuFile->setFont(WindowFont());
    m_mnuFileOpen = mnuFile->addAction(QStringLiteral("&Open"));
    m_mnuFileOpen->setObjectName(QStringLiteral("mnuFileOpen"));
    m_mnuFileListen = mnuFile->addAction(QStringLiteral("&Listen..."));
    m_mnuFileListen->setObjectName(QStringLiteral("mnuFileListen"));
    m_mnuFileExit = mnuFile->addAction(QStringLiteral("&Exit"));
    m_mnuFileExit->setObjectName(QStringLiteral("mnuFileExit"));
    // About acts on a single click: an action of the bar itself, with no drop-down.
    m_mnuAbout = bar->addAction(QStringLiteral("&About"));
    m_mnuAbout->setObjectName(QStringLiteral("mnuAbout"));
}

void MainWindow::FitToScreen() {
    const QSize whole = size();
    const QSize room = RoomOnScreen(whole);
    if (whole.width() <= room.width() && whole.height() <= room.height()) {
        return;  // the window as it always is
    }
    // Large scaling or a small screen: the client area keeps its size and scrolls, and the
    // window may be sized up to the whole of it.
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("clientScrollArea"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);  // Tab goes through the same six controls
    scroll->setWidget(takeCentralWidget());
    setCentralWidget(scroll);
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll);
    setMinimumSize(0, 0);
    setMaximumSize(whole + QSize(bar, bar));
    resize(maximumSize().boundedTo(room));
}

void MainWindow::closeRun() {
    m_autoTimer->stop();
    m_module.CloseAllFiles();
}

void MainWindow::onListenTriggered() {
    OpenListenWindow(ListenRequest{}, this);
}

void MainWindow::onOpenTriggered() {
    // CSV output, if on, goes off with the log it was collecting (the check box clears).
    m_module.CloseCurrentLog();
    // Ticks that arrive while the dialog is open would read the log just closed.
    m_openDialog.SetFilter(kLogFilter);
    m_openDialog.SetInitDir(LastLogFolder());
    ShowModal([this] { m_openDialog.ShowOpen(this); });

    const QString name = m_openDialog.FileName();
    if (name.isEmpty()) {
        return;
    }
    OpenNamedLog(name);
}

void MainWindow::OpenLogFile(const QString& name) {
    m_module.CloseCurrentLog();
    m_openDialog.SetFileName(name);
    OpenNamedLog(name);
}

void MainWindow::OpenNamedLog(const QString& name) {
    const std::string path = QFile::encodeName(name).toStdString();
    if (const std::string error = m_module.OpenLog(path, m_opens); !error.empty()) {
        // No input: Auto mode has stopped and both buttons are grey by now.
        ShowErrorText(FromSystemText(LogOpenMessage(path, error)));
        return;
    }
    RememberLogFolder(name);
    RunStep();
}

void MainWindow::onExitTriggered() {
    close();
}

void MainWindow::onAboutTriggered() {
    AboutWindow::ShowAbout();
}

void MainWindow::onNextClicked() {
    // The step itself does nothing while no log is open or once its end has been reached.
    RunStep();
}

void MainWindow::onAutoStopClicked() {
    m_module.SetAutoMode(!m_module.State().AutoMode);
}

void MainWindow::onExitClicked() {
    close();
}

void MainWindow::onCsvBoxToggled() {
    if (m_controls.chkEnableCSVFile->isChecked()) {
        if (m_module.State().CsvEnabled) {
            return;
        }
        const std::string error = m_module.StartCsvOutput(kCsvFileName);
        if (!error.empty()) {
            ShowErrorText(
                QStringLiteral("The CSV file \"%1\" could not be created: %2. "
                               "CSV output stays off.")
                    .arg(QDir::current().absoluteFilePath(QString::fromLatin1(kCsvFileName)),
                         FromSystemText(error)));
        }
        return;
    }
    if (!m_module.State().CsvEnabled) {
        return;
    }
    const std::string error = m_module.StopCsvOutput();
    if (!error.empty()) {
        ShowErrorText(QStringLiteral("The CSV file \"%1\" could not be closed cleanly: %2.")
                          .arg(QString::fromLatin1(kCsvFileName), FromSystemText(error)));
    }
}

void MainWindow::onTimerTick() {
    if (m_modalOpen) {
        return;
    }
    onNextClicked();
}

void MainWindow::RunStep() {
    try {
        m_module.AdvanceOneLine();
    } catch (const ConversionError& error) {
        ShowErrorText(QStringLiteral("A channel could not be converted: %1.")
                          .arg(FromWindows1252(error.what())));
    }
}

void MainWindow::ShowRawLine(std::string_view line) {
    m_controls.txtRawData->setText(ShownText(line));
    // A long line shows its start, where the row digit and the keywords stand.
    m_controls.txtRawData->setCursorPosition(0);
}

void MainWindow::ShowOrbit(std::string_view text) {
    m_controls.lblOrbit->setText(ShownText(text));
    m_marks->TextShown(m_controls.lblOrbit);
}

void MainWindow::ShowTime(std::string_view text) {
    m_controls.lblTime->setText(ShownText(text));
    m_marks->TextShown(m_controls.lblTime);
}

void MainWindow::ShowDate(std::string_view text) {
    m_controls.lblDate->setText(ShownText(text));
    m_marks->TextShown(m_controls.lblDate);
}

void MainWindow::RecordWritten(std::string_view record, bool) {
    // A record that could not be written is shown all the same, as the one that failed.
    m_controls.txtOutputData->setPlainText(ShownText(record));
    m_marks->TextShown(m_controls.txtOutputData);
}

void MainWindow::ShowRawValue(int channel, std::string_view text) {
    m_controls.rawValue.at(static_cast<std::size_t>(channel - 1))->setText(FromWindows1252(text));
}

void MainWindow::ShowChannelText(int channel, std::string_view text) {
    m_controls.channelValue.at(static_cast<std::size_t>(channel - 1))
        ->setText(FromWindows1252(text));
}

void MainWindow::ChannelReceived(int channel, Reception reception, std::string_view group) {
    m_marks->ChannelReceived(channel, reception, group);
}

void MainWindow::FrameCompleted(const Frame& frame) {
    m_marks->FrameCompleted(frame);
    emit FrameShown(m_shownLog, frame.number);
}

void MainWindow::CsvOutputChanged(bool on) {
    // The box follows CSV output; its reaction is for the user's changes only.
    const QSignalBlocker blocker(m_controls.chkEnableCSVFile);
    m_controls.chkEnableCSVFile->setChecked(on);
    if (on) {
        m_controls.txtOutputData->setPlainText(ShownText(CsvHeader()));
        m_marks->TextShown(m_controls.txtOutputData);
    }
}

void MainWindow::AutoModeChanged(bool on) {
    if (on) {
        m_controls.butAutoStop->setText(kStopCaption);
        m_autoTimer->setInterval(kAutoIntervalMs);
        m_autoTimer->start();
    } else {
        m_autoTimer->stop();
        m_controls.butAutoStop->setText(kAutoCaption);
    }
}

void MainWindow::SteppingChanged(bool possible) {
    m_controls.butAutoStop->setEnabled(possible);
    m_controls.butNext->setEnabled(possible);
}

void MainWindow::LineCut(std::int64_t, bool firstInLog, std::string_view message) {
    if (firstInLog) {
        ShowErrorText(FromSystemText(message));
    }
}

void MainWindow::LogOpened(std::string_view name) {
    // The texts stay as they were, marked as the previous log's until this one replaces them.
    if (!m_shownLog.isEmpty()) {
        m_marks->LogOpened(QFileInfo(m_shownLog).fileName());
    }
    m_shownLog = QFile::decodeName(QByteArray(name.data(), static_cast<qsizetype>(name.size())));
}

void MainWindow::LogEnded() {
    ShowModal([&] { m_boxes->ShowMessage(this, QString::fromLatin1(kEndOfFileMessage)); });
}

void MainWindow::ShowError(std::string_view message) {
    // Error messages carry file names and the system's reasons, not text from the log.
    ShowErrorText(FromSystemText(message));
}

void MainWindow::ShowErrorText(const QString& message) {
    ShowModal([&] { m_boxes->ShowError(this, message); });
}

void MainWindow::ShowModal(const std::function<void()>& show) {
    // A tick inside the box's own event loop would start a step inside the step that is
    // showing the box.
    const bool wasOpen = std::exchange(m_modalOpen, true);
    show();
    m_modalOpen = wasOpen;
}

void MainWindow::showEvent(QShowEvent* event) {
    if (!m_shownOnce) {
        m_shownOnce = true;
        PlaceOnScreen(*this);
        // The focus starts on the first control of the Tab order that is enabled: the line
        // box, since the step buttons are disabled until a log is open.
        for (QWidget* control : m_controls.tabOrder) {
            if (control->isEnabled()) {
                control->setFocus();
                break;
            }
        }
    }
    QMainWindow::showEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    closeRun();
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    // Ignored, the cursor shows that several files or anything but a file cannot be dropped.
    if (!DraggedLogFile(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString name = DraggedLogFile(event->mimeData());
    if (name.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    // Opened once the drop is over, so that a message box about the log does not hold up
    // the program the file came from.
    QTimer::singleShot(0, this, [this, name] { OpenLogFile(name); });
}

}  // namespace ao07::ui
