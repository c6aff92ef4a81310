#pragma once

#include <QMainWindow>

#include <memory>
#include <string>
#include <string_view>

#include "core/front_panel.h"
#include "decoder/main_module.h"
#include "ui/common_dialog.h"
#include "ui/file_chooser.h"
#include "ui/main_window_controls.h"
#include "ui/message_boxes.h"

class QAction;
class QTimer;

namespace ao07::ui {

/// The program's working window. It shows what the MainModule reads and decodes, and forwards
/// the user's clicks to it; the reactions carry the names of the program's design.
class FrmMain final : public QMainWindow, public FrontPanel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmMain)

public:
    /// The window with the toolkit's file dialog and message boxes, or with the given ones
    /// (the tests script them).
    explicit FrmMain(std::unique_ptr<FileChooser> chooser = {},
                     std::unique_ptr<MessageBoxes> boxes = {});
    ~FrmMain() override;

    MainModule& Module() { return m_module; }
    const MainWindowControls& Controls() const { return m_controls; }
    QTimer* Timer1() const { return m_timer1; }

    // The window's reactions.
    void Form_Load();
    void Form_Unload();
    void mnuFileOpen_Click();
    void mnuFileExit_Click();
    void mnuAbout_Click();
    void butNext_Click();
    void butAutoStop_Click();
    void butExit_Click();
    void chkEnableCSVFile_Click();
    void Timer1_Timer();

    /// Opens `name` exactly as File > Open does when the dialog answers with it; the dialog
    /// then starts from that name. The command line and a dropped file come this way.
    void OpenLogFile(const QString& name);

    // What the MainModule shows through the window.
    void ShowRawLine(std::string_view line) override;
    void ShowOrbit(std::string_view text) override;
    void ShowTime(std::string_view text) override;
    void ShowDate(std::string_view text) override;
    void ShowOutputData(std::string_view text) override;
    void ShowRawValue(int channel, std::string_view text) override;
    void ShowChannelText(int channel, std::string_view text) override;
    void UncheckCsvSwitch() override;
    std::string AutoStopCaption() const override;
    void ClickAutoStop() override;
    void DisableStepButtons() override;
    void ShowEndOfFileMessage(std::string_view text) override;
    void ShowError(std::string_view message) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildMenus();
    void ShowErrorText(const QString& message);
    /// Opens the log the dialog, the command line or a drop named, and shows its first line.
    void OpenNamedLog(const QString& name);
    /// Runs one step; a conversion that fails is reported and the program goes on.
    void RunStep();

    std::unique_ptr<FileChooser> m_chooser;
    std::unique_ptr<MessageBoxes> m_boxes;
    CommonDialog CommonDialog1;
    MainModule m_module{*this};
    MainWindowControls m_controls;
    QTimer* m_timer1 = nullptr;
    QAction* m_mnuFileOpen = nullptr;
    QAction* m_mnuFileExit = nullptr;
    QAction* m_mnuAbout = nullptr;
    bool m_fileDialogOpen = false;
    bool m_shownOnce = false;
};

}  // namespace ao07::ui
