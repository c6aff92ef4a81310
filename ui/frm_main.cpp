#include "ui/frm_main.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include "core/program_identity.h"
#include "decoder/channel_equations.h"
#include "decoder/csv_record.h"
#include "ui/file_chooser.h"
#include "ui/frm_about.h"
#include "ui/last_log_folder.h"
#include "ui/message_boxes.h"
#include "ui/program_icons.h"
#include "ui/screen_reader_names.h"
#include "ui/windows1252.h"

namespace ao07::ui {
namespace {

constexpr int kAutoIntervalMs = 200;
const QString kAutoCaption = QStringLiteral("Auto");
const QString kStopCaption = QStringLiteral("Stop");
const QString kLogFilter = QStringLiteral("Text Files (*.txt)|*.txt|All files *.*|*.*");

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

FrmMain::FrmMain(std::unique_ptr<FileChooser> chooser, std::unique_ptr<MessageBoxes> boxes)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_chooser(chooser ? std::move(chooser) : std::make_unique<QtFileChooser>()),
      m_boxes(boxes ? std::move(boxes) : std::make_unique<QtMessageBoxes>()),
      CommonDialog1(*m_chooser) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromLatin1(kProgramTitle));
    setWindowIcon(DishAntennaIcon());

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("clientArea"));
    client->setFixedSize(kClientWidthPx, kClientHeightPx);
    setCentralWidget(client);
    m_controls = BuildMainWindowControls(client);
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

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    // Auto mode steps every 200 ms without drifting, as a coarse timer would.
    m_timer1->setTimerType(Qt::PreciseTimer);
    m_timer1->setInterval(0);

    connect(m_timer1, &QTimer::timeout, this, &FrmMain::Timer1_Timer);
    connect(m_controls.butNext, &QPushButton::clicked, this, &FrmMain::butNext_Click);
    connect(m_controls.butAutoStop, &QPushButton::clicked, this, &FrmMain::butAutoStop_Click);
    connect(m_controls.butExit, &QPushButton::clicked, this, &FrmMain::butExit_Click);
    // toggled, not clicked: the reaction also runs when the end of the log clears the box.
    connect(m_controls.chkEnableCSVFile, &QCheckBox::toggled, this,
            &FrmMain::chkEnableCSVFile_Click);
    connect(m_mnuFileOpen, &QAction::triggered, this, &FrmMain::mnuFileOpen_Click);
    connect(m_mnuFileExit, &QAction::triggered, this, &FrmMain::mnuFileExit_Click);
    connect(m_mnuAbout, &QAction::triggered, this, &FrmMain::mnuAbout_Click);

    Form_Load();
}

FrmMain::~FrmMain() = default;

void FrmMain::BuildMenus() {
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
    m_mnuFileExit = mnuFile->addAction(QStringLiteral("&Exit"));
    m_mnuFileExit->setObjectName(QStringLiteral("mnuFileExit"));
    // About acts on a single click: an action of the bar itself, with no drop-down.
    m_mnuAbout = bar->addAction(QStringLiteral("&About"));
    m_mnuAbout->setObjectName(QStringLiteral("mnuAbout"));
}

void FrmMain::Form_Load() {
    m_controls.butAutoStop->setEnabled(false);
    m_controls.butNext->setEnabled(false);
}

void FrmMain::Form_Unload() {
    m_timer1->stop();
    m_module.CloseAllFiles();
}

void FrmMain::mnuFileOpen_Click() {
    // CSV output, if on, goes off with the log it was collecting (the check box clears).
    m_module.CloseCurrentLog();
    // Ticks that arrive while the dialog is open would read the log just closed.
    m_fileDialogOpen = true;
    CommonDialog1.SetFilter(kLogFilter);
    CommonDialog1.SetInitDir(LastLogFolder());
    CommonDialog1.ShowOpen(this);
    m_fileDialogOpen = false;

    const QString name = CommonDialog1.FileName();
    if (name.isEmpty()) {
        return;
    }
    OpenNamedLog(name);
}

void FrmMain::OpenLogFile(const QString& name) {
    m_module.CloseCurrentLog();
    CommonDialog1.SetFileName(name);
    OpenNamedLog(name);
}

void FrmMain::OpenNamedLog(const QString& name) {
    const std::string error = m_module.OpenLog(QFile::encodeName(name).toStdString());
    if (!error.empty()) {
        // No input: nothing to step through, so Auto mode stops and both buttons go grey.
        if (m_controls.butAutoStop->text() != kAutoCaption) {
            butAutoStop_Click();
        }
        DisableStepButtons();
        ShowErrorText(QStringLiteral("The log \"%1\" could not be opened: %2.")
                          .arg(name, FromSystemText(error)));
        return;
    }
    RememberLogFolder(name);
    m_controls.butAutoStop->setEnabled(true);
    m_controls.butNext->setEnabled(true);
    RunStep();
}

void FrmMain::mnuFileExit_Click() {
    close();
}

void FrmMain::mnuAbout_Click() {
    FrmAbout::ShowAbout();
}

void FrmMain::butNext_Click() {
    // The step itself does nothing while no log is open or once its end has been reached.
    RunStep();
}

void FrmMain::butAutoStop_Click() {
    // The caption is the Auto mode.
    if (m_controls.butAutoStop->text() == kAutoCaption) {
        m_controls.butAutoStop->setText(kStopCaption);
        m_timer1->setInterval(kAutoIntervalMs);
        m_timer1->start();
    } else {
        m_timer1->stop();
        m_controls.butAutoStop->setText(kAutoCaption);
    }
}

void FrmMain::butExit_Click() {
    close();
}

void FrmMain::chkEnableCSVFile_Click() {
    if (m_controls.chkEnableCSVFile->isChecked()) {
        const std::string error = m_module.StartCsvOutput(kCsvFileName);
        if (!error.empty()) {
            // Clearing the box runs this reaction again, which finds CSV output already off.
            m_controls.chkEnableCSVFile->setChecked(false);
            ShowErrorText(
                QStringLiteral("The CSV file \"%1\" could not be created: %2. "
                               "CSV output stays off.")
                    .arg(QDir::current().absoluteFilePath(QString::fromLatin1(kCsvFileName)),
                         FromSystemText(error)));
        }
        return;
    }
    const std::string error = m_module.StopCsvOutput();
    if (!error.empty()) {
        ShowErrorText(QStringLiteral("The CSV file \"%1\" could not be closed cleanly: %2.")
                          .arg(QString::fromLatin1(kCsvFileName), FromSystemText(error)));
    }
}

void FrmMain::Timer1_Timer() {
    if (m_fileDialogOpen) {
        return;
    }
    butNext_Click();
}

void FrmMain::RunStep() {
    try {
        m_module.AdvanceOneLine();
    } catch (const ConversionError& error) {
        ShowErrorText(QStringLiteral("A channel could not be converted: %1.")
                          .arg(FromWindows1252(error.what())));
    }
}

void FrmMain::ShowRawLine(std::string_view line) {
    m_controls.txtRawData->setText(FromWindows1252(line));
    // A long line shows its start, where the row digit and the keywords stand.
    m_controls.txtRawData->setCursorPosition(0);
}

void FrmMain::ShowOrbit(std::string_view text) {
    m_controls.lblOrbit->setText(FromWindows1252(text));
}

void FrmMain::ShowTime(std::string_view text) {
    m_controls.lblTime->setText(FromWindows1252(text));
}

void FrmMain::ShowDate(std::string_view text) {
    m_controls.lblDate->setText(FromWindows1252(text));
}

void FrmMain::ShowOutputData(std::string_view text) {
    m_controls.txtOutputData->setPlainText(FromWindows1252(text));
}

void FrmMain::ShowRawValue(int channel, std::string_view text) {
    m_controls.rawValue.at(static_cast<std::size_t>(channel - 1))->setText(FromWindows1252(text));
}

void FrmMain::ShowChannelText(int channel, std::string_view text) {
    m_controls.channelValue.at(static_cast<std::size_t>(channel - 1))
        ->setText(FromWindows1252(text));
}

void FrmMain::UncheckCsvSwitch() {
    m_controls.chkEnableCSVFile->setChecked(false);
}

std::string FrmMain::AutoStopCaption() const {
    return m_controls.butAutoStop->text().toStdString();
}

void FrmMain::ClickAutoStop() {
    butAutoStop_Click();
}

void FrmMain::DisableStepButtons() {
    m_controls.butAutoStop->setEnabled(false);
    m_controls.butNext->setEnabled(false);
}

void FrmMain::ShowEndOfFileMessage(std::string_view text) {
    m_boxes->ShowMessage(this, FromWindows1252(text));
}

void FrmMain::ShowError(std::string_view message) {
    // Error messages carry file names and the system's reasons, not text from the log.
    ShowErrorText(FromSystemText(message));
}

void FrmMain::ShowErrorText(const QString& message) {
    m_boxes->ShowError(this, message);
}

void FrmMain::showEvent(QShowEvent* event) {
    if (!m_shownOnce) {
        m_shownOnce = true;
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect placed = frameGeometry();
            placed.moveCenter(screen->availableGeometry().center());
            move(placed.topLeft());
        }
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

void FrmMain::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void FrmMain::dragEnterEvent(QDragEnterEvent* event) {
    // Ignored, the cursor shows that several files or anything but a file cannot be dropped.
    if (!DraggedLogFile(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void FrmMain::dropEvent(QDropEvent* event) {
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
