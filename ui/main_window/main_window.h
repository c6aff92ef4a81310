#pragma once

#include <QMainWindow>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "decoder/front_panel.h"
#include "decoder/main_module.h"
#include "ui/file_chooser.h"
#include "ui/main_window/channel_marks.h"
#include "ui/main_window/main_window_controls.h"
#include "ui/main_window/open_file_dialog.h"
#include "ui/message_boxes.h"

class QAction;
class QTimer;

namespace ao07::ui {

/// The message shown once the whole log has been read, blank-padded so that its words stand
/// in the middle of the message box.
inline constexpr const char* kEndOfFileMessage = "          End of file reached.          ";

/// The program's working window. It shows what the MainModule reads, decodes and decides, and
/// forwards the user's clicks to it.
class MainWindow final : public QMainWindow, public FrontPanel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainWindow)

public:
    /// The window with the toolkit's file dialog and message boxes, or with the given ones
    /// (the tests script them). File > Open takes ordinary files only, unless a test that feeds
    /// the log through a named pipe, line by line, says otherwise.
    explicit MainWindow(std::unique_ptr<FileChooser> chooser = {},
                        std::unique_ptr<MessageBoxes> boxes = {},
                        LogFiles opens = LogFiles::RegularOnly);
    ~MainWindow() override;

    const MainWindowControls& Controls() const { return m_controls; }
    /// The log open, or the one whose end was reached last; "" before any log was opened.
    const QString& ShownLog() const { return m_shownLog; }

    // The window's reactions.
    void onOpenTriggered();
    /// File > Listen...: opens the Listen window, loading its module the first time.
    void onListenTriggered();
    void onExitTriggered();
    void onAboutTriggered();
    void onNextClicked();
    void onAutoStopClicked();
    void onExitClicked();
    void onCsvBoxToggled();
    void onTimerTick();

    /// Opens `name` exactly as File > Open does when the dialog answers with it; the dialog
    /// then starts from that name. The command line and a dropped file come this way.
    void OpenLogFile(const QString& name);

    // What the MainModule shows through the window.
    void ShowRawLine(std::string_view line) override;
    void ShowOrbit(std::string_view text) override;
    void ShowTime(std::string_view text) override;
    void ShowDate(std::string_view text) override;
    void RecordWritten(std::string_view record, bool written) override;
    void ShowRawValue(int channel, std::string_view text) override;
    void ShowChannelText(int channel, std::string_view text) override;
    void ChannelReceived(int channel, Reception reception, std::string_view group) override;
    void FrameCompleted(const Frame& frame) override;
    void CsvOutputChanged(bool on) override;
    void AutoModeChanged(bool on) override;
    void SteppingChanged(bool possible) override;
    void LineCut(std::int64_t lineNumber, bool firstInLog, std::string_view message) override;
    void LogOpened(std::string_view name) override;
    void LogEnded() override;
    void ShowError(std::string_view message) override;

signals:
    /// Frame `frameNumber` of the log at `logPath` has been completed and is shown.
    void FrameShown(const QString& logPath, int frameNumber);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildMenus();
    /// Stops Auto mode and closes the log and the CSV file, as the window closes.
    void closeRun();
    /// Puts the client area into a scroll area when the window would not fit the screen.
    void FitToScreen();
    void ShowErrorText(const QString& message);
    /// Shows a modal message box; Auto ticks that arrive meanwhile are ignored.
    void ShowModal(const std::function<void()>& show);
    /// Opens the log the dialog, the command line or a drop named, and shows its first line.
    void OpenNamedLog(const QString& name);
    /// Runs one step; a conversion that fails is reported and the program goes on.
    void RunStep();

    LogFiles m_opens;  ///< what File > Open takes
    std::unique_ptr<FileChooser> m_chooser;
    std::unique_ptr<MessageBoxes> m_boxes;
    OpenFileDialog m_openDialog;
    MainWindowControls m_controls;
    std::unique_ptr<ChannelMarks> m_marks;  ///< greys and colours the values not to trust
    QTimer* m_autoTimer = nullptr;
    QAction* m_mnuFileOpen = nullptr;
    QAction* m_mnuFileListen = nullptr;
    QAction* m_mnuFileExit = nullptr;
    QAction* m_mnuAbout = nullptr;
    bool m_modalOpen = false;  ///< the file dialog or a message box is open
    bool m_shownOnce = false;
    QString m_shownLog;
    MainModule m_module{*this};  ///< last: it tells the window what to show from the start
};

}  // namespace ao07::ui
